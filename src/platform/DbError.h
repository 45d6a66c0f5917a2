#pragma once

#include <QString>
#include <stdexcept>

namespace vek {

// A database operation failed. Carries the engine's text so the caller can show it.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &message, const QString &sql = {})
        : std::runtime_error(message.toStdString()), m_message(message), m_sql(sql) {}
    QString message() const { return m_message; }
    QString sql() const { return m_sql; }

private:
    QString m_message;
    QString m_sql;
};

} // namespace vek
