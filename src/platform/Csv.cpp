#include "Csv.h"

namespace vek {

QList<QStringList> Csv::parse(const QString &text, QChar separator)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    bool fieldStarted = false;
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < n && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
            continue;
        }
        if (c == '"' && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
        } else if (c == separator) {
            row << field;
            field.clear();
            fieldStarted = false;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < n && text[i + 1] == '\n')
                ++i;
            row << field;
            rows << row;
            row.clear();
            field.clear();
            fieldStarted = false;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (fieldStarted || !row.isEmpty() || !field.isEmpty()) {
        row << field;
        rows << row;
    }
    return rows;
}

QString Csv::quoteField(const QString &field, QChar separator)
{
    if (!field.contains(separator) && !field.contains('"') && !field.contains('\n') && !field.contains('\r'))
        return field;
    QString f = field;
    f.replace('"', "\"\"");
    return '"' + f + '"';
}

QString Csv::formatRow(const QStringList &fields, QChar separator)
{
    QStringList out;
    for (const QString &f : fields)
        out << quoteField(f, separator);
    return out.join(separator);
}

} // namespace vek
