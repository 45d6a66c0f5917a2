#include "FieldDictionary.h"

#include "DictionaryRows.h"
#include "NumberFormat.h"

#include "platform/DbError.h"
#include "platform/Query.h"
#include "platform/TDModule.h"

#include <algorithm>

namespace vek {

namespace {

// A stored list: one choice per line, CR LF between lines (LF alone is read too).
QStringList choiceLines(const QString &stored)
{
    const QString text = stored.trimmed();
    if (text.isEmpty())
        return {};
    QStringList lines = text.split('\n');
    for (QString &l : lines) {
        if (l.endsWith('\r'))
            l.chop(1);
    }
    return lines;
}

bool isLargeInteger(const ColumnInfo &c)
{
    const QString t = c.declaredType.trimmed().toLower();
    return t.startsWith("bigint") || t.startsWith("int8");
}

// Fields of rows that are members of fields and set flag, as the field list spells them.
QStringList flaggedMembers(const DictionaryRows &rows, const FieldList &fields, const QString &flag)
{
    QStringList out;
    for (const QString &f : rows.fields()) {
        if (fields.contains(f) && rows.anyFlag(f, flag))
            out << fields.spelling(f);
    }
    return out;
}

} // namespace

bool FieldDictionary::browsing() const
{
    return m_db.state().browseMode;
}

QString FieldDictionary::GetFieldCaption(const DictionaryKey &key, const QString &field)
{
    if (browsing())
        return field;
    try {
        return DictionaryRows::load(m_db, key, true, field).caption(field);
    } catch (const DbError &) {
        return field;
    }
}

QString FieldDictionary::GetGridTitle(const DictionaryKey &key, const QString &field)
{
    if (browsing())
        return field.trimmed();
    const DictionaryRows rows = DictionaryRows::load(m_db, key, true, field);
    for (const DictionaryRow &r : rows.rows()) {
        const QString title = r.text("GridTitleCaption");
        if (!title.isEmpty())
            return title;
        const QString caption = r.text("CField");
        if (!caption.isEmpty())
            return caption;
    }
    return field.trimmed();
}

QList<FieldText> FieldDictionary::GetCaptionMap(const DictionaryKey &key)
{
    QList<FieldText> out;
    if (browsing())
        return out;
    const DictionaryRows rows = DictionaryRows::load(m_db, key, false);
    for (const QString &f : rows.fields()) {
        const QString caption = rows.caption(f);
        if (caption != f)
            out << FieldText{f, caption};
    }
    return out;
}

FieldInputInfo FieldDictionary::GetFieldInputInfo(const DictionaryKey &key, const QString &field)
{
    FieldInputInfo info;
    if (browsing())
        return info;
    try {
        const DictionaryRows rows = DictionaryRows::load(m_db, key, true, field);
        info.readOnly = rows.anyFlag(field, "readonly");
        for (const DictionaryRow &r : rows.rows()) {
            bool ok = false;
            const int kind = r.value("IsDefine").toString().trimmed().toInt(&ok);
            if (!ok)
                continue;
            if (kind == 1) {
                const QStringList lines = choiceLines(r.value("Range").toString());
                if (lines.isEmpty())
                    continue;
                info.choices = lines;
            } else if (kind == 2) {
                const double max = r.value("Maxvalue").toDouble();
                const double min = r.value("Minvalue").toDouble();
                if (!(min < max))
                    continue;
                info.maxValue = max;
                info.minValue = min;
            } else if (kind == 0) {
                const QString table = r.text("FromTable");
                if (table.isEmpty())
                    continue;
                const LookupChoices lc = BuildLookupList(r.text("FromFieldName"), table,
                                                         LookupList::whereTail(r.text("FromTableSQL")),
                                                         r.flag("choosegrid"));
                info.choices = lc.lines;
                info.lookup = lc.lookup;
            } else {
                continue;
            }
            info.chooseOnly = r.flag("ChooseInput");
            if (kind != 2)
                info.asRadio = r.flag("Radio");
            break;
        }
    } catch (const DbError &) {
    }
    return info;
}

LookupChoices FieldDictionary::BuildLookupList(const QString &columns, const QString &table, const QString &tail,
                                               bool chooseGrid)
{
    return LookupList::build(m_db, columns, table, tail, chooseGrid);
}

QStringList FieldDictionary::GetFieldRange(const DictionaryKey &key, const QString &field)
{
    if (browsing())
        return {};
    return choiceLines(DictionaryRows::load(m_db, key, true, field).firstText(field, "Range"));
}

bool FieldDictionary::IsDocumentField(const DictionaryKey &key, const QString &field)
{
    if (browsing())
        return false;
    try {
        return DictionaryRows::load(m_db, key, true, field).anyFlag(field, "DocFile");
    } catch (const DbError &) {
        return false;
    }
}

std::optional<LookupPair> FieldDictionary::GetLookupPair(const DictionaryKey &key, const QString &field)
{
    if (browsing())
        return std::nullopt;
    const DictionaryRows rows = DictionaryRows::load(m_db, key, true, field);
    const DictionaryRow *r = rows.firstWith(field, "FromTable");
    if (!r)
        return std::nullopt;
    const QString columns = r->text("FromFieldName");
    const int comma = columns.indexOf(',');
    if (comma < 0)
        return std::nullopt;
    return LookupPair{r->text("FromTable"), columns.left(comma).trimmed(), columns.mid(comma + 1).trimmed()};
}

std::optional<LookupSource> FieldDictionary::GetLookupSource(const DictionaryKey &key, const QString &field)
{
    if (browsing())
        return std::nullopt;
    const DictionaryRows rows = DictionaryRows::load(m_db, key, true, field);
    for (const DictionaryRow &r : rows.rows()) {
        bool ok = false;
        const int kind = r.value("IsDefine").toString().trimmed().toInt(&ok);
        if (ok && kind == 0 && !r.text("FromTable").isEmpty())
            return LookupSource{r.text("FromTable"), r.text("FromFieldName"), r.text("FromTableSQL")};
    }
    return std::nullopt;
}

bool FieldDictionary::FillFromLookup(const QString &lookupTable, const QString &lookupColumn, const QVariant &value,
                                     QSqlRecord &target)
{
    const QString actual = m_db.actualTableName(lookupTable.trimmed());
    if (actual.isEmpty())
        throw DbError(QStringLiteral("数据表不存在: %1").arg(lookupTable));
    const ColumnList cols = m_db.columns(actual);
    const auto column = std::find_if(cols.begin(), cols.end(), [&](const ColumnInfo &c) {
        return c.name.compare(lookupColumn.trimmed(), Qt::CaseInsensitive) == 0;
    });
    if (column == cols.end())
        throw DbError(QStringLiteral("字段不存在: %1").arg(lookupColumn));
    const SqlDialect &d = m_db.dialect();
    Query q(m_db, "SELECT * FROM " + d.quoteExactIdent(actual) + " WHERE " + d.quoteExactIdent(column->name)
                      + " = :HostFieldValue",
            {{":HostFieldValue", value}});
    if (!q.next())
        return false;
    const QSqlRecord row = q.record();
    for (int i = 0; i < row.count(); ++i) {
        const QString name = row.fieldName(i);
        const bool autoNumber = std::any_of(cols.begin(), cols.end(), [&](const ColumnInfo &c) {
            return c.autoIncrement && c.name.compare(name, Qt::CaseInsensitive) == 0;
        });
        // The owner stamps belong to the record being edited, not to the lookup row.
        if (autoNumber || name.compare("UserID", Qt::CaseInsensitive) == 0
            || name.compare("ShareMemo", Qt::CaseInsensitive) == 0)
            continue;
        const int t = target.indexOf(name);
        if (t >= 0)
            target.setValue(t, row.value(i));
    }
    return true;
}

QList<FieldText> FieldDictionary::GetDefaultValues(const DictionaryKey &key, const FieldList &fields,
                                                   const QString &userId)
{
    QList<FieldText> out;
    if (browsing())
        return out;
    const DictionaryRows rows = DictionaryRows::load(m_db, key, true);
    for (const QString &f : rows.fields()) {
        if (!fields.contains(f))
            continue;
        QString value = rows.firstText(f, "DefaultValue");
        if (value.isEmpty())
            continue;
        if (value.toUpper() == QLatin1String("USERID"))
            value = userId;
        out << FieldText{fields.spelling(f), value};
    }
    return out;
}

RequiredFields FieldDictionary::GetRequiredFields(const DictionaryKey &key, const FieldList &fields)
{
    RequiredFields out;
    if (browsing())
        return out;
    const DictionaryRows rows = DictionaryRows::load(m_db, key, true);
    for (const QString &f : rows.fields()) {
        if (fields.contains(f) && rows.anyFlag(f, "IsNull")) {
            out.names << fields.spelling(f);
            out.captions << rows.caption(f);
        }
    }
    return out;
}

QStringList FieldDictionary::GetUniqueFields(const DictionaryKey &key, const FieldList &fields)
{
    if (browsing())
        return {};
    return flaggedMembers(DictionaryRows::load(m_db, key, true), fields, "isUnique");
}

QStringList FieldDictionary::GetAutoAddFields(const DictionaryKey &key, const FieldList &fields)
{
    if (browsing())
        return {};
    return flaggedMembers(DictionaryRows::load(m_db, key, true), fields, "AutoAdd");
}

bool FieldDictionary::HasDictionaryRows(const DictionaryKey &key)
{
    return !browsing() && !DictionaryRows::load(m_db, key, false).isEmpty();
}

bool FieldDictionary::HasFieldRow(const DictionaryKey &key, const QString &field)
{
    return !browsing() && !DictionaryRows::load(m_db, key, true, field).isEmpty();
}

QMap<QString, QString> FieldDictionary::ApplyDisplayFormats(const DictionaryKey &key, const ColumnList &columns)
{
    QMap<QString, QString> out;
    if (browsing())
        return out;
    const DictionaryRows rows = DictionaryRows::load(m_db, key, true);
    for (const ColumnInfo &c : columns) {
        if (!c.isNumeric() || isLargeInteger(c))
            continue;
        // Format and decimals come from the same row.
        const DictionaryRow *r = rows.firstWith(c.name, "DisplayFormat");
        if (!r)
            continue;
        const QString pattern = NumberFormat::patternForSample(r->text("DisplayFormat"), r->text("Digit"));
        if (!pattern.isEmpty())
            out.insert(c.name, pattern);
    }
    return out;
}

FooterFlags FieldDictionary::GetFooterFlags(const DictionaryKey &key)
{
    const FooterFields f = GetFooterFields(key);
    return FooterFlags{!f.sum.isEmpty(), !f.average.isEmpty(), !f.count.isEmpty()};
}

FooterFields FieldDictionary::GetFooterFields(const DictionaryKey &key)
{
    FooterFields out;
    if (browsing())
        return out;
    try {
        const DictionaryRows rows = DictionaryRows::load(m_db, key, false);
        const FieldList all;
        out.sum = flaggedMembers(rows, all, "fvtSum");
        out.average = flaggedMembers(rows, all, "fvtAvg");
        out.count = flaggedMembers(rows, all, "fvtCount");
    } catch (const DbError &) {
    }
    return out;
}

bool FieldDictionary::HasStatisticsFields(const DictionaryKey &key)
{
    try {
        return !GetStatisticsFields(key).names.isEmpty();
    } catch (const DbError &) {
        return false;
    }
}

StatisticsFields FieldDictionary::GetStatisticsFields(const DictionaryKey &key)
{
    StatisticsFields out;
    if (browsing())
        return out;
    const DictionaryRows rows = DictionaryRows::load(m_db, key, false);
    for (const QString &f : flaggedMembers(rows, FieldList(), "CountFlag")) {
        out.names << f;
        out.captions << rows.caption(f);
    }
    return out;
}

QStringList FieldDictionary::GetStatisticsDateFields(const DictionaryKey &key)
{
    QStringList out;
    if (browsing())
        return out;
    const DictionaryRows rows = DictionaryRows::load(m_db, key, false);
    for (const QString &f : flaggedMembers(rows, FieldList(), "CountFlag")) {
        if (rows.firstText(f, "Type") == QStringLiteral("日期时间") && !rows.firstText(f, "Range").isEmpty())
            out << f;
    }
    return out;
}

bool FieldDictionary::HasChoiceLists(const DictionaryKey &key)
{
    if (browsing())
        return false;
    const DictionaryRows rows = DictionaryRows::load(m_db, key, false);
    return std::any_of(rows.rows().begin(), rows.rows().end(),
                       [](const DictionaryRow &r) { return !r.text("Range").isEmpty(); });
}

bool FieldDictionary::HasLookupFields(const DictionaryKey &key)
{
    if (browsing())
        return false;
    const DictionaryRows rows = DictionaryRows::load(m_db, key, false);
    return std::any_of(rows.rows().begin(), rows.rows().end(),
                       [](const DictionaryRow &r) { return !r.text("FromTable").isEmpty(); });
}

bool FieldDictionary::HasReminders()
{
    if (browsing())
        return false;
    const SqlDialect &d = m_db.dialect();
    try {
        const QVariant n = Query::scalar(m_db, "SELECT count(*) FROM usys_dict t1, usys_system t2 WHERE "
                                                   + d.ciEquals("TRIM(t2.AppTitle)", "TRIM(t1.TableName)")
                                                   + " AND t1." + d.quoteIdent("Event") + " = "
                                                   + d.boolLiteral(true));
        return n.toLongLong() > 0;
    } catch (const DbError &) {
        return false;
    }
}

} // namespace vek
