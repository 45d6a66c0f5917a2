#include "Condition.h"

#include "SqlDialect.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <atomic>

namespace vek {

namespace {

const char *opText(Condition::Op op)
{
    switch (op) {
    case Condition::Op::Eq: return " = ";
    case Condition::Op::Ne: return " <> ";
    case Condition::Op::Lt: return " < ";
    case Condition::Op::Le: return " <= ";
    case Condition::Op::Gt: return " > ";
    case Condition::Op::Ge: return " >= ";
    }
    return " = ";
}

Condition bound(const QString &sqlWithParam, const QString &param, const QVariant &value)
{
    return Condition(sqlWithParam, QVariantMap{{param, value}});
}

} // namespace

QString Condition::freshParam()
{
    static std::atomic<unsigned> counter{0};
    return QStringLiteral(":HostC%1").arg(++counter);
}

Condition Condition::compare(const SqlDialect &d, const QString &field, Op op, const QVariant &value)
{
    const QString f = d.quoteIdent(field);
    if (value.isNull() && (op == Op::Eq || op == Op::Ne))
        return Condition(f + (op == Op::Eq ? " IS NULL" : " IS NOT NULL"), {});
    const QString p = freshParam();
    return bound(f + opText(op) + p, p, value);
}

Condition Condition::compareNumber(const SqlDialect &d, const QString &field, Op op, double value)
{
    const QString p = freshParam();
    // The server would read the value as the field's own type and refuse 5.5 for an integer.
    const QString rhs = d.engine() == Engine::Postgres ? "CAST(" + p + " AS numeric)" : p;
    return bound(d.quoteIdent(field) + opText(op) + rhs, p, value);
}

Condition Condition::equalsIgnoringCase(const SqlDialect &d, const QString &field, const QString &value)
{
    const QString p = freshParam();
    return bound(d.ciEquals(d.quoteIdent(field), p), p, value);
}

Condition Condition::isNull(const SqlDialect &d, const QString &field)
{
    return Condition(d.quoteIdent(field) + " IS NULL", {});
}

Condition Condition::isNullOrEmpty(const SqlDialect &d, const QString &field)
{
    const QString f = d.quoteIdent(field);
    const QString p = freshParam();
    // The server refuses '' as a number or a date: compare the text form there.
    const QString asText = d.engine() == Engine::Postgres ? "CAST(" + f + " AS text)" : f;
    return Condition("(" + f + " IS NULL OR " + asText + " = " + p + ")", QVariantMap{{p, QString("")}});
}

Condition Condition::contains(const SqlDialect &d, const QString &field, const QString &value)
{
    const QString p = freshParam();
    return bound(d.likeClause(d.quoteIdent(field), p), p, "%" + SqlDialect::likeEscape(value) + "%");
}

Condition Condition::startsWith(const SqlDialect &d, const QString &field, const QString &value)
{
    const QString p = freshParam();
    return bound(d.likeClause(d.quoteIdent(field), p), p, SqlDialect::likeEscape(value) + "%");
}

Condition Condition::inSet(const SqlDialect &d, const QString &field, const QStringList &values)
{
    if (values.isEmpty())
        return never();
    const QString f = d.quoteIdent(field);
    const QString p = freshParam();
    // One parameter for the whole set: a chain of OR terms fails past a thousand values.
    const QString json = QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(values)).toJson(QJsonDocument::Compact));
    if (d.engine() == Engine::Sqlite)
        return bound(f + " IN (SELECT value FROM json_each(" + p + "))", p, json);
    return bound("CAST(" + f + " AS text) IN (SELECT json_array_elements_text(CAST(" + p + " AS json)))", p, json);
}

Condition Condition::monthDay(const SqlDialect &d, const QString &field, int month, int day)
{
    const QString f = d.quoteIdent(field);
    const QString pm = freshParam();
    const QString pd = freshParam();
    const QString date = asDate(d, f);
    return Condition("(" + d.monthOf(date) + " = " + pm + " AND " + d.dayOf(date) + " = " + pd + ")",
                     QVariantMap{{pm, month}, {pd, day}});
}

Condition Condition::month(const SqlDialect &d, const QString &field, int month)
{
    const QString p = freshParam();
    return bound(d.monthOf(asDate(d, d.quoteIdent(field))) + " = " + p, p, month);
}

QString Condition::asDate(const SqlDialect &d, const QString &expr)
{
    // SQLite's date functions read the stored text directly; the server's EXTRACT takes
    // no text, so text and timestamps go through their text form to a date.
    if (d.engine() == Engine::Sqlite)
        return expr;
    return "CAST(NULLIF(CAST(" + expr + " AS text), '') AS date)";
}

Condition Condition::operator!() const
{
    if (isEmpty())
        return never();
    return Condition("NOT (" + m_sql + ")", m_binds);
}

Condition Condition::never()
{
    return Condition(QStringLiteral("1 = 0"), {});
}

Condition Condition::allOf(const QList<Condition> &parts)
{
    QStringList texts;
    QVariantMap binds;
    for (const Condition &c : parts) {
        if (c.isEmpty())
            continue;
        texts << c.m_sql;
        binds.insert(c.m_binds);
    }
    if (texts.size() == 1)
        return Condition(texts.first(), binds);
    for (QString &t : texts)
        t = "(" + t + ")";
    return Condition(texts.join(" AND "), binds);
}

Condition Condition::anyOf(const QList<Condition> &parts)
{
    QStringList texts;
    QVariantMap binds;
    for (const Condition &c : parts) {
        if (c.isEmpty())
            continue;
        texts << "(" + c.m_sql + ")";
        binds.insert(c.m_binds);
    }
    if (texts.size() == 1)
        return Condition(texts.first(), binds);
    return Condition(texts.join(" OR "), binds);
}

} // namespace vek
