#include "GridSession.h"

#include "BirthdayList.h"
#include "StoredFilter.h"

#include "dictionary/FieldDictionary.h"
#include "platform/Clock.h"
#include "platform/DbError.h"
#include "platform/IniFile.h"
#include "platform/TDModule.h"

namespace vek {

namespace {

bool offeredInLists(const ColumnInfo &c)
{
    using K = ColumnInfo::Kind;
    return !c.autoIncrement && c.kind != K::Memo && c.kind != K::Blob && c.kind != K::Other;
}

} // namespace

GridSession::GridSession(AppContext &ctx, GridResource resource)
    : m_ctx(ctx), m_resource(std::move(resource)), m_model(std::make_unique<GridViewModel>(ctx.db))
{
    RuleResource rr;
    rr.id = m_resource.id;
    rr.title = m_resource.title;
    rr.table = m_resource.table;
    rr.afterSaveSql = m_resource.afterSaveSql;
    rr.afterSaveHint = m_resource.afterSaveHint;
    rr.numberingGroupField = m_resource.numberingGroupField;
    m_rules = std::make_unique<RecordRules>(ctx, rr);
    m_school = DetectSchoolMode(m_resource.title, m_resource.table);
}

GridSession::~GridSession()
{
    m_rules->detach(records());
}

DictionaryKey GridSession::dictionaryKey() const
{
    return DictionaryKey(m_resource.title, m_resource.table);
}

void GridSession::open()
{
    m_birthdayField = BirthdayFieldOf(m_resource.storedFilter);
    if (m_birthdayField) {
        // The birthday list shows the whole table by the chosen birthday window.
        m_base = Condition();
    } else {
        m_base = ReadStoredFilter(m_ctx.db.dialect(), m_resource.storedFilter, m_resource.filterBinds, m_ctx.clock.today());
    }
    const QStringList fields = SplitFieldList(m_resource.fieldList);
    m_model->open(m_resource.table, fields, m_base.sql(), m_base.binds());
    m_rules->attach(records());
    m_rules->setEnabled(!specialMode());
    readFields();
}

void GridSession::readFields()
{
    m_fields.clear();
    FieldDictionary dict(m_ctx.db);
    const DictionaryKey key = dictionaryKey();
    for (const ColumnInfo &c : records().columns()) {
        if (!offeredInLists(c))
            continue;
        GridField f;
        f.name = c.name;
        f.kind = c.kind;
        f.caption = m_resource.browseMode ? c.name : dict.GetFieldCaption(key, c.name);
        if (f.caption.isEmpty())
            f.caption = c.name;
        m_fields << f;
    }
}

QString GridSession::fieldOfCaption(const QString &caption) const
{
    for (const GridField &f : m_fields) {
        if (f.caption == caption)
            return f.name;
    }
    return {};
}

void GridSession::setFilter(const Condition &extra)
{
    const Condition all = m_base && extra;
    m_model->setCondition(all.sql(), all.binds());
    m_extra = extra;
}

void GridSession::setUpRules()
{
    m_rules->setUp(records());
    m_model->setEditable(m_rules->mayUpdate() && !records().readOnly());
}

const ColumnPlan &GridSession::buildColumns()
{
    FieldDictionary dict(m_ctx.db);
    const QString section = m_resource.title;
    const QList<CalcDef> calcs = ReadCalcDefs(m_ctx.ini, section);
    const bool catalog = !m_resource.browseMode;
    m_plan = PlanColumns(dict, dictionaryKey(), records().columns(), m_ctx.ini.value(section, "FieldList"), calcs,
                         !catalog, m_ctx.user.rightsInForce(), catalog);
    m_model->setCalcDefs(calcs, m_ctx.clock.today());
    QSet<QString> readOnly, documents;
    for (const PlannedColumn &c : m_plan.columns) {
        if (c.calculated)
            continue;
        if (c.readOnly)
            readOnly << c.field.toLower();
        if (c.documentField)
            documents << c.field.toLower();
    }
    m_model->setReadOnlyFields(readOnly);
    m_model->setDocumentFields(documents);
    if (catalog)
        m_model->setDisplayFormats(dict.ApplyDisplayFormats(dictionaryKey(), records().columns()));
    return m_plan;
}

ClassFields GridSession::classFields() const
{
    const QString s = m_resource.title;
    return ResolveClassFields(m_ctx.ini.value(s, "ClassField"), m_ctx.ini.value(s, "ClassField1"),
                              m_ctx.ini.value(s, "ClassField2"),
                              [this](const QString &caption) { return fieldOfCaption(caption); });
}

ClassNode GridSession::buildClassTree(const ClassFields &f, bool countsOn)
{
    QStringList choices;
    if (!m_resource.browseMode) {
        FieldDictionary dict(m_ctx.db);
        choices = dict.GetFieldInputInfo(dictionaryKey(), f.f1).choices;
    }
    const QString root = m_resource.groupHint.trimmed().isEmpty() ? QStringLiteral("全部") : m_resource.groupHint;
    return BuildClassTree(m_ctx.db, m_resource.table, f, m_base, choices, root, countsOn,
                          !m_resource.afterSaveSql.trimmed().isEmpty());
}

void GridSession::selectClassNode(const ClassFields &f, const ClassNode &node)
{
    setFilter(ClassNodeCondition(m_ctx.db.dialect(), f, node));
    m_rules->setClassification(ClassNodeValues(f, node));
}

FooterResult GridSession::footers()
{
    FooterRequest req;
    for (const PlannedColumn &c : m_plan.columns) {
        if (c.calculated)
            continue;
        if (c.sum)
            req.sum << c.field;
        if (c.average)
            req.average << c.field;
        if (c.count)
            req.count << c.field;
    }
    if (req.isEmpty())
        return {};
    return ComputeFooters(m_ctx.db, records().table(), current(), req);
}

} // namespace vek
