#include "RecordRules.h"
#include "RecordValues.h"

#include "catalog/IncrementCode.h"
#include "dictionary/DictionaryKey.h"
#include "dictionary/FieldList.h"
#include "platform/Clock.h"
#include "platform/DbError.h"
#include "platform/Query.h"
#include "platform/RecordSet.h"
#include "platform/TDModule.h"
#include "security/Permissions.h"

#include <QDate>
#include <QDateTime>
#include <optional>

namespace vek {

using namespace rules;

namespace {

const char *const kSavepoint = "vek_after_save";

QString caption()
{
    return Prompter::systemCaption();
}

QString rightText(Right r)
{
    switch (r) {
    case Right::Add:
        return QStringLiteral("你没有添加的权利！");
    case Right::Delete:
        return QStringLiteral("你没有删除的权利！");
    case Right::Browse:
        return QStringLiteral("你没有浏览的权利！");
    case Right::Update:
        return QStringLiteral("你没有编辑的权利！");
    case Right::Print:
        return QStringLiteral("你没有打印的权利！");
    case Right::Export:
        break;
    }
    return QStringLiteral("你没有输出的权利！");
}

} // namespace

RecordRules::RecordRules(TDModule &db, Prompter &prompter, const Clock &clock, const CurrentUser &user,
                         RuleResource resource)
    : m_db(db), m_prompter(prompter), m_clock(clock), m_user(user), m_resource(std::move(resource))
{
}

RecordRules::RecordRules(const AppContext &ctx, RuleResource resource)
    : RecordRules(ctx.db, ctx.prompter, ctx.clock, ctx.user, std::move(resource))
{
}

void RecordRules::setUp(const RecordSet &rs)
{
    m_setUpError.clear();
    auto note = [this](const QString &what) {
        if (m_setUpError.isEmpty())
            m_setUpError = QStringLiteral("记录规则未能全部载入: ") + what;
    };
    auto guarded = [&](auto step) {
        try {
            step();
        } catch (const DbError &e) {
            note(e.message());
        } catch (const std::exception &e) {
            note(QString::fromUtf8(e.what()));
        }
    };

    // Rights first, failing closed: a user whose rights cannot be read may not write.
    m_mayUpdate = !m_user.rightsInForce();
    m_rights = RightsRecord::all(!m_user.rightsInForce());
    if (m_user.rightsInForce()) {
        guarded([&] {
            const Permissions permissions(m_db, m_user);
            const bool update = permissions.updateRight(m_resource.id).update;
            m_rights = permissions.resourceRights(m_resource.id);
            m_mayUpdate = update;
        });
    }

    m_columns = rs.columns();
    m_defaults.clear();
    m_required = {};
    m_unique.clear();
    m_autoAdd.clear();
    m_ranges.clear();
    m_snapshot.clear();
    QStringList names;
    for (const ColumnInfo &c : m_columns)
        names << c.name;
    const FieldList fields(names);
    const DictionaryKey key(m_resource.title, rs.table());
    FieldDictionary dict(m_db);
    guarded([&] { m_defaults = dict.GetDefaultValues(key, fields, m_user.name); });
    guarded([&] { m_unique = dict.GetUniqueFields(key, fields); });
    guarded([&] { m_autoAdd = dict.GetAutoAddFields(key, fields); });
    guarded([&] { m_required = dict.GetRequiredFields(key, fields); });
    guarded([&] {
        for (const ColumnInfo &c : m_columns) {
            if (c.kind == ColumnInfo::Kind::Blob)
                continue;
            const FieldInputInfo info = dict.GetFieldInputInfo(key, c.name);
            if (info.hasRange())
                m_ranges << Range{c.name, info.minValue, info.maxValue};
        }
    });
}

void RecordRules::attach(RecordSet &rs)
{
    rs.beforeInsert = [this](RecordSet &r) { onBeforeInsert(r); };
    rs.onNewRecord = [this](RecordSet &r) { onNewRecord(r); };
    rs.beforeEdit = [this](RecordSet &r) { onBeforeEdit(r); };
    rs.beforePost = [this](RecordSet &r) { onBeforePost(r); };
    rs.afterPost = [this](RecordSet &r) { onAfterPost(r); };
    rs.afterCommit = [this](RecordSet &r) { onAfterCommit(r); };
    rs.beforeDelete = [this](RecordSet &r) { onBeforeDelete(r); };
}

void RecordRules::detach(RecordSet &rs)
{
    rs.beforeInsert = nullptr;
    rs.onNewRecord = nullptr;
    rs.beforeEdit = nullptr;
    rs.beforePost = nullptr;
    rs.afterPost = nullptr;
    rs.afterCommit = nullptr;
    rs.beforeDelete = nullptr;
}

void RecordRules::refuse(const QString &text, Prompter::Icon icon)
{
    m_prompter.message(caption(), text, icon);
    throw RecordRefused(text);
}

void RecordRules::requireRight(Right right)
{
    bool allowed = false;
    switch (right) {
    case Right::Add:
        allowed = mayAdd();
        break;
    case Right::Delete:
        allowed = mayDelete();
        break;
    case Right::Update:
        allowed = m_mayUpdate;
        break;
    default:
        allowed = m_rights.get(right);
        break;
    }
    if (!allowed)
        refuse(rightText(right), Prompter::Icon::Warning);
}

QString RecordRules::afterSaveHint() const
{
    return m_resource.afterSaveHint.isEmpty() ? QStringLiteral("记录更新成功!") : m_resource.afterSaveHint;
}

void RecordRules::onBeforeInsert(RecordSet &rs)
{
    requireRight(Right::Add);
    m_groupValue = QVariant();
    const QString group = m_resource.numberingGroupField.trimmed();
    if (!m_enabled || group.isEmpty() || rs.columnIndex(group) < 0)
        return;
    try {
        m_groupValue = rs.value(group);
    } catch (const std::exception &) {
        m_groupValue = QVariant();
    }
}

void RecordRules::assign(RecordSet &rs, const QString &field, const QVariant &value)
{
    const int i = rs.columnIndex(field);
    if (i < 0)
        return;
    const std::optional<QVariant> v = columnValue(rs.columns().at(i), value);
    if (!v)
        return;
    try {
        rs.setValue(field, *v);
    } catch (const std::exception &) {
        // The field cannot take it: only this field is skipped.
    }
}

QVariant RecordRules::autoNumber(const RecordSet &rs, const ColumnInfo &column) const
{
    const QDateTime now = m_clock.now();
    if (column.kind == ColumnInfo::Kind::Date)
        return now.date();
    if (column.kind == ColumnInfo::Kind::DateTime)
        return QDateTime(now.date(), QTime(0, 0));
    if (isTimeColumn(column))
        return now.time().toString(QStringLiteral("HH:mm:ss"));
    QString group = m_resource.numberingGroupField.trimmed();
    if (rs.columnIndex(group) < 0)
        group.clear();
    const QString next = IncrementCode(GetMaxValue(m_db, rs.table(), column.name, group, m_groupValue));
    return next.isEmpty() ? QVariant() : QVariant(next);
}

void RecordRules::onNewRecord(RecordSet &rs)
{
    m_snapshot.clear();
    if (!m_enabled)
        return;
    const QDateTime now = m_clock.now();
    for (const FieldText &d : m_defaults) {
        const QString keyword = d.text.trimmed().toUpper();
        QString value = d.text;
        if (keyword == QLatin1String("TIME"))
            value = now.time().toString(QStringLiteral("HH:mm:ss"));
        else if (keyword == QLatin1String("DATETIME"))
            value = now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        else if (keyword == QLatin1String("YEAR"))
            value = QString::number(now.date().year());
        else if (keyword == QLatin1String("MONTH"))
            value = QString::number(now.date().month());
        else if (keyword == QLatin1String("DAY"))
            value = QString::number(now.date().day());
        assign(rs, d.field, value);
    }
    for (const QString &f : m_autoAdd) {
        const int i = rs.columnIndex(f);
        if (i < 0)
            continue;
        try {
            const QVariant v = autoNumber(rs, rs.columns().at(i));
            if (!v.isNull())
                assign(rs, f, v);
        } catch (const std::exception &) {
            // No number for this field; the others still get theirs.
        }
    }
    for (const auto &[field, value] : m_classification)
        assign(rs, field, value);
}

void RecordRules::onBeforeEdit(RecordSet &rs)
{
    requireRight(Right::Update);
    m_snapshot.clear();
    if (!m_enabled)
        return;
    for (const QString &f : m_unique) {
        try {
            if (rs.columnIndex(f) >= 0)
                m_snapshot.insert(f.toLower(), textOf(rs.value(f)));
        } catch (const std::exception &) {
        }
    }
}

void RecordRules::checkRequired(const RecordSet &rs)
{
    for (qsizetype i = 0; i < m_required.names.size(); ++i) {
        const QString &f = m_required.names.at(i);
        const QString c = m_required.captions.value(i, f);
        if (rs.columnIndex(f) < 0 || !isEmptyValue(rs.value(f)))
            continue;
        if (c != f)
            refuse(f + "(" + c + QStringLiteral(")字段不能为空,请检查!"), Prompter::Icon::Warning);
        refuse(QStringLiteral("【") + c + QStringLiteral("】字段不能为空,请检查!"), Prompter::Icon::Error);
    }
}

void RecordRules::checkRanges(const RecordSet &rs)
{
    for (const Range &r : m_ranges) {
        const QVariant v = rs.value(r.field);
        const QString t = textOf(v).trimmed();
        if (t.isEmpty())
            continue;
        bool ok = false;
        const double x = t.toDouble(&ok);
        if (!ok || x < r.minValue || x > r.maxValue)
            refuse(QStringLiteral("输入值非法!其范围为:") + numberText(r.minValue) + QStringLiteral("至")
                       + numberText(r.maxValue),
                   Prompter::Icon::Error);
    }
}

void RecordRules::checkUnique(RecordSet &rs)
{
    const bool editing = rs.state() == RecordSet::State::Edit;
    const QVariant key = editing ? rs.keyAt(rs.currentRow()) : QVariant();
    const QString keyExpr = editing ? rs.keyExpression() : QString();
    for (const QString &f : m_unique) {
        if (rs.columnIndex(f) < 0)
            continue;
        const QVariant v = rs.value(f);
        if (editing) {
            // A record that keeps its text passes, even where others share it.
            const auto it = m_snapshot.constFind(f.toLower());
            if (it != m_snapshot.constEnd() && *it == textOf(v))
                continue;
        }
        if (!IsValueUnique(m_db, rs.table(), f, v, key, keyExpr))
            refuse(QStringLiteral("【") + f + QStringLiteral("】字段内容不能重复,请检查!"), Prompter::Icon::Error);
    }
}

void RecordRules::onBeforePost(RecordSet &rs)
{
    m_afterSaveDone = false;
    requireRight(rs.state() == RecordSet::State::Insert ? Right::Add : Right::Update);
    if (!m_enabled)
        return;
    checkRequired(rs);
    checkRanges(rs);
    checkUnique(rs);
}

bool RecordRules::runAfterSaveStatement(RecordSet &rs)
{
    const Placeholders p = parsePlaceholders(m_resource.afterSaveSql);
    // A parameter that names no field of the record is a fault of the resource: the
    // save fails with that message rather than running the statement half bound.
    QVariantList values;
    for (const QString &name : p.names) {
        if (rs.columnIndex(name) < 0)
            throw DbError(QStringLiteral("字段不存在: %1").arg(name), m_resource.afterSaveSql);
        values << rs.value(name);
    }
    // On the server a failed statement spoils the whole transaction: run it under a
    // savepoint so that only the statement is undone and the record is still saved.
    const bool inTransaction = m_db.transactionDepth() > 0;
    const QString savepoint = QString::fromLatin1(kSavepoint);
    if (inTransaction)
        Query::run(m_db, "SAVEPOINT " + savepoint);
    try {
        Query q(m_db);
        q.prepare(p.sql);
        for (qsizetype i = 0; i < values.size(); ++i)
            q.bind(QStringLiteral(":HostP%1").arg(i), values.at(i));
        q.exec();
        q.raw().finish();
    } catch (const DbError &) {
        if (inTransaction) {
            Query::run(m_db, "ROLLBACK TO SAVEPOINT " + savepoint);
            Query::run(m_db, "RELEASE SAVEPOINT " + savepoint);
        }
        return false;
    }
    if (inTransaction)
        Query::run(m_db, "RELEASE SAVEPOINT " + savepoint);
    return true;
}

void RecordRules::onAfterPost(RecordSet &rs)
{
    m_afterSaveDone = false;
    if (!m_enabled || m_resource.afterSaveSql.trimmed().isEmpty())
        return;
    m_afterSaveDone = runAfterSaveStatement(rs);
}

void RecordRules::onAfterCommit(RecordSet &)
{
    if (!m_afterSaveDone)
        return;
    m_afterSaveDone = false;
    m_prompter.message(caption(), afterSaveHint(), Prompter::Icon::Information);
}

void RecordRules::onBeforeDelete(RecordSet &)
{
    requireRight(Right::Delete);
    if (m_quietDeletes > 0)
        return;
    const QString text = QStringLiteral("确定要删除这条数据吗?");
    if (m_prompter.question(caption(), text, Prompter::Buttons::YesNo, Prompter::Icon::Question)
        != Prompter::Answer::Yes)
        throw RecordRefused(text);
}

} // namespace vek
