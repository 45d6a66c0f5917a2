#include "ColumnPlan.h"

#include "dictionary/FieldDictionary.h"

namespace vek {

namespace {

constexpr int MaxColumnWidth = 150;
constexpr int CalcColumnWidth = 70;

bool containsName(const QStringList &names, const QString &field)
{
    for (const QString &n : names) {
        if (n.trimmed().compare(field, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

const ColumnInfo *findField(const ColumnList &fields, const QString &name)
{
    for (const ColumnInfo &c : fields) {
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

// Characters a value of the kind usually needs on screen.
int valueChars(const ColumnInfo &c)
{
    switch (c.kind) {
    case ColumnInfo::Kind::Text: return c.size > 0 ? c.size : 20;
    case ColumnInfo::Kind::Integer: return 10;
    case ColumnInfo::Kind::Float:
    case ColumnInfo::Kind::Currency: return 12;
    case ColumnInfo::Kind::Boolean: return 5;
    case ColumnInfo::Kind::Date: return 10;
    case ColumnInfo::Kind::DateTime: return 19;
    default: return 20;
    }
}

int textWidth(const QString &text)
{
    int w = 0;
    for (const QChar c : text)
        w += c.unicode() >= 0x2E80 ? 14 : 7; // CJK characters are about twice as wide
    return w;
}

int widthFor(const ColumnInfo &c, const QStringList &titleLevels)
{
    int w = valueChars(c) * 7;
    for (const QString &level : titleLevels)
        w = std::max(w, textWidth(level));
    return std::min(w + 8, MaxColumnWidth);
}

// Kinds whose first column shows numbers, not the footer's row names.
bool numericFirstColumn(ColumnInfo::Kind k)
{
    return k == ColumnInfo::Kind::Integer || k == ColumnInfo::Kind::Float;
}

} // namespace

QStringList SplitFieldList(const QString &list)
{
    QStringList out;
    for (const QString &item : list.split(',', Qt::SkipEmptyParts)) {
        const QString name = item.trimmed();
        if (!name.isEmpty())
            out << name;
    }
    return out;
}

QStringList FooterLabelsFor(const ColumnPlan &plan, const PlannedColumn &first)
{
    QStringList out;
    const bool numeric = numericFirstColumn(first.kind);
    auto label = [&](bool hasValue, const QString &text) { out << ((numeric || hasValue) ? QString() : text); };
    if (plan.sumRow)
        label(first.sum, QStringLiteral("合计"));
    if (plan.averageRow)
        label(first.average, QStringLiteral("平均"));
    if (plan.countRow)
        label(first.count, QStringLiteral("记数"));
    return out;
}

ColumnPlan PlanColumns(FieldDictionary &dict, const DictionaryKey &key, const ColumnList &fields,
                       const QString &fieldListSetting, const QList<CalcDef> &calcs, bool plainTable,
                       bool rightsInForce, bool catalogMode)
{
    ColumnPlan plan;

    QList<const ColumnInfo *> chosen;
    const QStringList names = SplitFieldList(fieldListSetting);
    if (names.isEmpty()) {
        for (const ColumnInfo &c : fields)
            chosen << &c;
    } else {
        for (const QString &name : names) {
            if (const ColumnInfo *c = findField(fields, name))
                chosen << c;
            else
                plan.unknownFields << name; // skipped: the other columns still appear
        }
    }

    FooterFields lists;
    if (plainTable) {
        for (const ColumnInfo *c : chosen) {
            if (c->isNumeric()) {
                lists.sum << c->name;
                lists.average << c->name;
            }
        }
        plan.sumRow = plan.averageRow = !lists.sum.isEmpty();
    } else {
        const FooterFlags flags = dict.GetFooterFlags(key);
        plan.sumRow = flags.sum;
        plan.averageRow = flags.average;
        plan.countRow = flags.count;
        lists = dict.GetFooterFields(key);
    }

    QStringList documentTitles;
    for (const ColumnInfo *c : chosen) {
        const QString name = c->name.trimmed();
        if (name.compare(QLatin1String("ShareMemo"), Qt::CaseInsensitive) == 0)
            continue;
        if (name.size() > 3 && name.endsWith(QLatin1String("kzm"), Qt::CaseInsensitive)) {
            const QString base = name.left(name.size() - 3);
            if (findField(fields, base))
                continue; // the extension belongs to its attachment column
            plan.remark += "(\"" + base + "\"双击打开!)  ";
        }
        if (c->autoIncrement)
            continue;

        PlannedColumn col;
        col.field = name;
        col.kind = c->kind;
        col.sortable = c->kind != ColumnInfo::Kind::Blob && c->kind != ColumnInfo::Kind::Memo;
        col.title = catalogMode ? dict.GetGridTitle(key, name) : name;
        col.titleLevels = col.title.split('|');
        col.width = widthFor(*c, col.titleLevels);
        col.readOnly = rightsInForce && name.compare(QLatin1String("UserID"), Qt::CaseInsensitive) == 0;
        if (catalogMode) {
            const FieldInputInfo info = dict.GetFieldInputInfo(key, name);
            col.readOnly = col.readOnly || info.readOnly;
            if (!c->isDate())
                col.pickList = info.choices;
            if (c->kind == ColumnInfo::Kind::Text && dict.IsDocumentField(key, name)) {
                col.documentField = true;
                documentTitles << col.title;
            }
        }
        if (c->isNumeric()) {
            col.sum = plan.sumRow && containsName(lists.sum, name);
            col.average = plan.averageRow && containsName(lists.average, name);
            col.count = plan.countRow && containsName(lists.count, name);
        }
        plan.columns << col;
    }
    if (!documentTitles.isEmpty())
        plan.documentRemark = "(" + documentTitles.join(QStringLiteral("、")) + "双击打开)";

    for (int n = 0; n < calcs.size() && n < MaxCalcColumns; ++n) {
        PlannedColumn col;
        col.field = QStringLiteral("CalcField%1").arg(n);
        col.title = calcs.at(n).caption;
        col.titleLevels = QStringList{col.title};
        col.sortable = false;
        col.width = CalcColumnWidth;
        col.readOnly = true;
        col.rightAligned = true;
        col.calculated = true;
        col.calcIndex = n;
        plan.columns << col;
    }

    if (!plan.columns.isEmpty())
        plan.footerLabels = FooterLabelsFor(plan, plan.columns.first());
    return plan;
}

} // namespace vek
