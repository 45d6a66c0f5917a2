#include "RecordValues.h"

#include "RecordRules.h"

#include "platform/DbError.h"
#include "platform/Query.h"
#include "platform/TDModule.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <cmath>

namespace vek::rules {

bool isTextKind(const ColumnInfo &c)
{
    return c.kind == ColumnInfo::Kind::Text || c.kind == ColumnInfo::Kind::Memo;
}

bool isTimeColumn(const ColumnInfo &c)
{
    const QString t = c.declaredType.trimmed().toLower();
    return c.kind == ColumnInfo::Kind::Other && t.startsWith(QLatin1String("time"));
}

const ColumnInfo *findColumn(const ColumnList &columns, const QString &name)
{
    for (const ColumnInfo &c : columns) {
        if (c.name.compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

std::pair<QString, ColumnInfo> schemaColumn(TDModule &db, const QString &table, const QString &field)
{
    const QString actual = db.actualTableName(table);
    if (actual.isEmpty())
        throw DbError(QStringLiteral("数据表不存在: %1").arg(table));
    const ColumnList columns = db.columns(actual);
    const ColumnInfo *c = findColumn(columns, field);
    if (!c)
        throw DbError(QStringLiteral("字段不存在: %1").arg(field));
    return {actual, *c};
}

QString textOf(const QVariant &v)
{
    if (v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime:
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    default:
        return v.toString();
    }
}

bool isEmptyValue(const QVariant &v)
{
    if (v.isNull())
        return true;
    if (v.typeId() == QMetaType::QByteArray)
        return v.toByteArray().isEmpty();
    return textOf(v).isEmpty();
}

QString numberText(double x)
{
    if (std::floor(x) == x && std::fabs(x) < 1e15)
        return QString::number(qlonglong(x));
    return QString::number(x, 'g', 15);
}

QDateTime parseDateTime(const QString &t)
{
    for (const char *f : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy/M/d H:mm:ss", "yyyy/M/d H:mm"}) {
        const QDateTime dt = QDateTime::fromString(t, QString::fromLatin1(f));
        if (dt.isValid())
            return dt;
    }
    const QDateTime iso = QDateTime::fromString(t, Qt::ISODate);
    if (iso.isValid())
        return iso;
    for (const char *f : {"yyyy-MM-dd", "yyyy/M/d"}) {
        const QDate d = QDate::fromString(t, QString::fromLatin1(f));
        if (d.isValid())
            return QDateTime(d, QTime(0, 0));
    }
    return {};
}

std::optional<QVariant> columnValue(const ColumnInfo &c, const QVariant &v)
{
    if (v.isNull())
        return v;
    const QString t = textOf(v).trimmed();
    bool ok = false;
    switch (c.kind) {
    case ColumnInfo::Kind::Integer: {
        const qlonglong n = t.toLongLong(&ok);
        return ok ? std::optional<QVariant>(n) : std::nullopt;
    }
    case ColumnInfo::Kind::Float:
    case ColumnInfo::Kind::Currency: {
        const double x = t.toDouble(&ok);
        return ok ? std::optional<QVariant>(x) : std::nullopt;
    }
    case ColumnInfo::Kind::Boolean: {
        const QString l = t.toLower();
        if (v.typeId() == QMetaType::Bool)
            return v;
        if (l == "1" || l == "-1" || l == "true" || l == "yes" || l == QStringLiteral("是"))
            return QVariant(true);
        if (l == "0" || l == "false" || l == "no" || l == QStringLiteral("否"))
            return QVariant(false);
        return std::nullopt;
    }
    case ColumnInfo::Kind::Date: {
        if (v.typeId() == QMetaType::QDate)
            return v;
        const QDateTime dt = v.typeId() == QMetaType::QDateTime ? v.toDateTime() : parseDateTime(t);
        return dt.isValid() ? std::optional<QVariant>(dt.date()) : std::nullopt;
    }
    case ColumnInfo::Kind::DateTime: {
        if (v.typeId() == QMetaType::QDateTime)
            return v;
        const QDateTime dt = v.typeId() == QMetaType::QDate ? QDateTime(v.toDate(), QTime(0, 0)) : parseDateTime(t);
        return dt.isValid() ? std::optional<QVariant>(dt) : std::nullopt;
    }
    case ColumnInfo::Kind::Text:
    case ColumnInfo::Kind::Memo: {
        const QString s = textOf(v);
        if (c.size > 0 && s.size() > c.size)
            return std::nullopt;
        return QVariant(s);
    }
    default:
        return v;
    }
}

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

Placeholders parsePlaceholders(const QString &s)
{
    Placeholders out;
    const qsizetype n = s.size();
    qsizetype i = 0;
    auto copyUntil = [&](qsizetype end) {
        out.sql += s.mid(i, end - i);
        i = end;
    };
    while (i < n) {
        const QChar c = s[i];
        const QChar next = i + 1 < n ? s[i + 1] : QChar();
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const qsizetype close = s.indexOf(c, i + 1);
            copyUntil(close < 0 ? n : close + 1); // a doubled quote reopens on the next turn
        } else if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            const qsizetype eol = s.indexOf(QLatin1Char('\n'), i);
            copyUntil(eol < 0 ? n : eol);
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const qsizetype close = s.indexOf(QLatin1String("*/"), i + 2);
            copyUntil(close < 0 ? n : close + 2);
        } else if (c == QLatin1Char(':') && next == QLatin1Char(':')) {
            copyUntil(i + 2); // a server-side cast, not a parameter
        } else if (c == QLatin1Char(':') && isNameChar(next)) {
            qsizetype end = i + 1;
            while (end < n && isNameChar(s[end]))
                ++end;
            out.sql += QStringLiteral(":HostP%1").arg(out.names.size());
            out.names << s.mid(i + 1, end - i - 1);
            i = end;
        } else {
            copyUntil(i + 1);
        }
    }
    return out;
}

} // namespace vek::rules

namespace vek {

using namespace rules;

bool IsValueUnique(TDModule &db, const QString &table, const QString &field, const QVariant &value,
                   const QVariant &exceptKey, const QString &keyExpr)
{
    if (value.isNull())
        return true; // NULL equals nothing
    const auto [actual, column] = schemaColumn(db, table, field);
    const SqlDialect &d = db.dialect();
    const QString expr = d.quoteExactIdent(column.name);
    QString sql = "SELECT 1 FROM " + d.quoteExactIdent(actual) + " WHERE ";
    QVariant bound = value;
    if (isTextKind(column)) {
        sql += d.ciEquals(expr, QStringLiteral(":HostValue"));
        bound = textOf(value);
    } else {
        sql += expr + QStringLiteral(" = :HostValue");
    }
    const bool except = !exceptKey.isNull() && !keyExpr.isEmpty();
    if (except)
        sql += " AND " + keyExpr + QStringLiteral(" <> :HostExcept");
    sql += d.limit(1);
    Query q(db);
    q.prepare(sql);
    q.bind(QStringLiteral(":HostValue"), bound);
    if (except)
        q.bind(QStringLiteral(":HostExcept"), exceptKey);
    q.exec();
    return !q.next();
}

QString GetMaxValue(TDModule &db, const QString &table, const QString &field, const QString &groupField,
                    const QVariant &groupValue)
{
    const auto [actual, column] = schemaColumn(db, table, field);
    const SqlDialect &d = db.dialect();
    const QString expr = d.quoteExactIdent(column.name);
    QStringList where;
    if (!groupField.trimmed().isEmpty()) {
        const QString group = d.quoteExactIdent(schemaColumn(db, actual, groupField).second.name);
        where << (groupValue.isNull() ? group + " IS NULL" : group + " = :HostGroup");
    }
    QString sql;
    if (isTextKind(column)) {
        // Longer first, so that "10" counts above "9" and "A100" above "A99".
        where << expr + " IS NOT NULL";
        sql = "SELECT " + expr + " FROM " + d.quoteExactIdent(actual) + " WHERE " + where.join(" AND ")
            + " ORDER BY length(" + expr + ") DESC, " + expr + " DESC" + d.limit(1);
    } else {
        sql = "SELECT max(" + expr + ") FROM " + d.quoteExactIdent(actual)
            + (where.isEmpty() ? QString() : " WHERE " + where.join(" AND "));
    }
    Query q(db);
    q.prepare(sql);
    if (!groupField.trimmed().isEmpty() && !groupValue.isNull())
        q.bind(QStringLiteral(":HostGroup"), groupValue);
    q.exec();
    if (!q.next() || q.value(0).isNull())
        return {};
    const QVariant v = q.value(0);
    if (column.isNumeric()) {
        bool ok = false;
        const double x = v.toDouble(&ok);
        if (ok)
            return numberText(x);
    }
    return textOf(v);
}

QStringList AfterSaveParameterNames(const QString &statement)
{
    QStringList out;
    for (const QString &name : parsePlaceholders(statement).names) {
        if (!out.contains(name, Qt::CaseInsensitive))
            out << name;
    }
    return out;
}

} // namespace vek
