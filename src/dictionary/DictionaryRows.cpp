#include "DictionaryRows.h"

#include "platform/Query.h"
#include "platform/TDModule.h"

#include <algorithm>

namespace vek {

QVariant DictionaryRow::value(const QString &column) const
{
    const int i = values.indexOf(column); // field names of a record match without regard to case
    return i >= 0 ? values.value(i) : QVariant();
}

bool DictionaryRow::flag(const QString &column) const
{
    const QVariant v = value(column);
    if (v.isNull())
        return false;
    if (v.typeId() == QMetaType::QString) {
        const QString t = v.toString().trimmed();
        return t.compare("true", Qt::CaseInsensitive) == 0 || (t.toInt() != 0);
    }
    return v.toBool() || v.toInt() != 0; // Jet's true was -1
}

DictionaryRows DictionaryRows::load(TDModule &db, const DictionaryKey &key, bool withPublic, const QString &field)
{
    const SqlDialect &d = db.dialect();
    QString sql = "SELECT * FROM usys_dict WHERE " + key.condition(d, withPublic);
    if (!field.isNull())
        sql += " AND " + d.ciEquals("TRIM(EField)", ":HostField");
    sql += " ORDER BY id";
    Query q(db);
    q.prepare(sql);
    key.bind(q);
    if (!field.isNull())
        q.bind(":HostField", field.trimmed());
    q.exec();

    DictionaryRows out;
    while (q.next()) {
        DictionaryRow row;
        row.values = q.record();
        row.level = key.levelOf(row.value("TableName"));
        row.field = row.text("EField");
        if (row.level == DictionaryKey::Level::None || row.field.isEmpty())
            continue;
        out.m_rows << row;
    }
    std::stable_sort(out.m_rows.begin(), out.m_rows.end(),
                     [](const DictionaryRow &a, const DictionaryRow &b) { return a.level < b.level; });
    return out;
}

QStringList DictionaryRows::fields() const
{
    QStringList out;
    for (const DictionaryRow &r : m_rows) {
        if (!out.contains(r.field, Qt::CaseInsensitive))
            out << r.field;
    }
    return out;
}

QList<DictionaryRow> DictionaryRows::rowsOf(const QString &field) const
{
    QList<DictionaryRow> out;
    for (const DictionaryRow &r : m_rows) {
        if (r.field.compare(field.trimmed(), Qt::CaseInsensitive) == 0)
            out << r;
    }
    return out;
}

const DictionaryRow *DictionaryRows::firstWith(const QString &field, const QString &column) const
{
    const QString f = field.trimmed();
    for (const DictionaryRow &r : m_rows) {
        if (r.field.compare(f, Qt::CaseInsensitive) == 0 && !r.text(column).isEmpty())
            return &r;
    }
    return nullptr;
}

QString DictionaryRows::firstText(const QString &field, const QString &column) const
{
    const DictionaryRow *r = firstWith(field, column);
    return r ? r->text(column) : QString();
}

bool DictionaryRows::anyFlag(const QString &field, const QString &column) const
{
    const QString f = field.trimmed();
    return std::any_of(m_rows.begin(), m_rows.end(), [&](const DictionaryRow &r) {
        return r.field.compare(f, Qt::CaseInsensitive) == 0 && r.flag(column);
    });
}

QString DictionaryRows::caption(const QString &field) const
{
    const QString c = firstText(field, "CField");
    return c.isEmpty() ? field.trimmed() : c;
}

} // namespace vek
