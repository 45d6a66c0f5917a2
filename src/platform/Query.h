#pragma once

#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <initializer_list>
#include <utility>

namespace vek {

class TDModule;

using Binds = std::initializer_list<std::pair<const char *, QVariant>>;

// A prepared statement on the shared connection. Values are always bound (":HostX"),
// converted to the engine's storage form by the dialect; every failure throws DbError.
class Query {
public:
    explicit Query(TDModule &db);
    Query(TDModule &db, const QString &sql, Binds binds = {});

    Query &prepare(const QString &sql);
    Query &bind(const QString &name, const QVariant &value);
    Query &exec();

    bool next() { return m_q.next(); }
    QVariant value(int i) const { return m_q.value(i); }
    QVariant value(const QString &name) const { return m_q.value(name); }
    QSqlRecord record() const { return m_q.record(); }
    int numRowsAffected() const { return m_q.numRowsAffected(); }
    QSqlQuery &raw() { return m_q; }
    const QString &sql() const { return m_sql; }

    // Convenience: run a statement and return the first column of its first row
    // (a null QVariant when it returns no row).
    static QVariant scalar(TDModule &db, const QString &sql, Binds binds = {});
    static void run(TDModule &db, const QString &sql, Binds binds = {});

private:
    TDModule &m_db;
    QSqlQuery m_q;
    QString m_sql;
};

} // namespace vek
