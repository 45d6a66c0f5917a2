#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace vek {

// Comma-separated values as RFC 4180 has them: fields may be quoted, quotes inside a
// quoted field are doubled, and a quoted field may hold commas and line breaks.
class Csv {
public:
    static QList<QStringList> parse(const QString &text, QChar separator = ',');
    static QString quoteField(const QString &field, QChar separator = ',');
    static QString formatRow(const QStringList &fields, QChar separator = ',');
};

} // namespace vek
