#include "FindBar.h"

#include "StoredFilter.h"
#include "dictionary/PinyinInitials.h"
#include "platform/DbError.h"
#include "platform/Query.h"
#include "platform/RecordSet.h"
#include "platform/SqlDialect.h"
#include "platform/TDModule.h"

#include <QSet>
#include <algorithm>

namespace vek {

namespace {

using Kind = ColumnInfo::Kind;

bool isNumericKind(Kind k)
{
    return k == Kind::Integer || k == Kind::Float || k == Kind::Currency;
}

// A typed value read as the field's kind. wholeDay: a date typed for a date-time field.
struct Typed {
    QVariant value;
    bool wholeDay = false;
};

std::optional<bool> readBool(const QString &text)
{
    static const QStringList yes{"1", "-1", "true", "yes", "是", "真"};
    static const QStringList no{"0", "false", "no", "否", "假"};
    const QString t = text.trimmed().toLower();
    if (yes.contains(t))
        return true;
    if (no.contains(t))
        return false;
    return std::nullopt;
}

std::optional<Typed> readTyped(Kind kind, const QString &text)
{
    if (isNumericKind(kind)) {
        const auto n = ReadNumberText(text);
        if (!n)
            return std::nullopt;
        return Typed{*n};
    }
    if (kind == Kind::Date) {
        const auto d = ReadDateText(text);
        if (!d)
            return std::nullopt;
        return Typed{*d};
    }
    if (kind == Kind::DateTime) {
        if (const auto d = ReadDateText(text))
            return Typed{*d, true};
        const auto dt = ReadDateTimeText(text);
        if (!dt)
            return std::nullopt;
        return Typed{*dt};
    }
    if (kind == Kind::Boolean) {
        const auto b = readBool(text);
        if (!b)
            return std::nullopt;
        return Typed{*b};
    }
    return Typed{text};
}

Condition bound(const QString &lhs, const char *op, const QString &rhsOf, const QVariant &value)
{
    const QString p = Condition::freshParam();
    return Condition(lhs + ' ' + op + ' ' + QString(rhsOf).replace("%p", p), QVariantMap{{p, value}});
}

// The test of a non-empty, valid value, in SQL.
Condition valueCondition(const SqlDialect &d, const QString &field, Kind kind, FindRelation r, const QString &text,
                         const Typed &typed)
{
    if (r == FindRelation::Like)
        return Condition::contains(d, field, text);
    const QString f = d.quoteIdent(field);
    const bool server = d.engine() == Engine::Postgres;
    Condition c;
    if (typed.wholeDay) {
        const QDate day = typed.value.toDate();
        auto from = [&](const QDate &x) { return bound(f, ">=", "%p", x); };
        auto before = [&](const QDate &x) { return bound(f, "<", "%p", x); };
        switch (r) {
        case FindRelation::Equal: c = from(day) && before(day.addDays(1)); break;
        case FindRelation::NotEqual: c = !(from(day) && before(day.addDays(1))); break;
        case FindRelation::Greater: c = from(day.addDays(1)); break;
        case FindRelation::GreaterEqual: c = from(day); break;
        case FindRelation::Less: c = before(day); break;
        case FindRelation::LessEqual: c = before(day.addDays(1)); break;
        case FindRelation::Like: break;
        }
    } else {
        QString lhs = f;
        QString rhs = QStringLiteral("%p");
        if (server && isNumericKind(kind))
            rhs = QStringLiteral("CAST(%p AS numeric)"); // 5.5 against an integer column
        else if (server && (kind == Kind::Text || kind == Kind::Memo))
            lhs = f + " COLLATE \"C\""; // character code order, whatever the server's locale
        else if (server && (kind == Kind::Other || kind == Kind::Blob))
            lhs = "CAST(" + f + " AS text) COLLATE \"C\"";
        static const char *ops[] = {"=", ">", ">=", "<", "<=", "<>"};
        c = bound(lhs, ops[int(r)], rhs, typed.value);
    }
    if (r == FindRelation::NotEqual)
        c = c || Condition::isNull(d, field);
    return c;
}

QString cellText(const QVariant &cell)
{
    if (cell.typeId() == QMetaType::QDateTime)
        return cell.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return cell.toString();
}

bool isEmptyCell(const QVariant &cell)
{
    return !cell.isValid() || cell.isNull() || cellText(cell).isEmpty();
}

std::optional<QDateTime> cellDateTime(const QVariant &cell)
{
    if (cell.typeId() == QMetaType::QDateTime)
        return cell.toDateTime();
    if (cell.typeId() == QMetaType::QDate)
        return QDateTime(cell.toDate(), QTime(0, 0));
    return ReadDateTimeText(cell.toString());
}

template <typename T>
bool relationHolds(FindRelation r, const T &a, const T &b)
{
    switch (r) {
    case FindRelation::Equal: return a == b;
    case FindRelation::Greater: return a > b;
    case FindRelation::GreaterEqual: return a >= b;
    case FindRelation::Less: return a < b;
    case FindRelation::LessEqual: return a <= b;
    case FindRelation::NotEqual: return a != b;
    case FindRelation::Like: return false;
    }
    return false;
}

void bindAll(Query &q, const QVariantMap &binds)
{
    for (auto it = binds.begin(); it != binds.end(); ++it)
        q.bind(it.key(), it.value());
}

} // namespace

QStringList FindRelationLabels()
{
    return {QStringLiteral("等于"),   QStringLiteral("大于"),   QStringLiteral("大于等于"), QStringLiteral("小于"),
            QStringLiteral("小于等于"), QStringLiteral("不等于"), QStringLiteral("模糊")};
}

std::optional<QString> CheckFindValue(ColumnInfo::Kind kind, const QString &value, bool forFind)
{
    if (value.isEmpty() || readTyped(kind, value))
        return std::nullopt;
    return forFind ? QStringLiteral("查找的内容错误!") : QStringLiteral("筛选的内容错误!");
}

Condition FindBarFilter(const SqlDialect &d, const QString &field, ColumnInfo::Kind kind, FindRelation r,
                        const QString &value)
{
    if (value.isEmpty()) {
        if (r == FindRelation::Equal || r == FindRelation::Like)
            return Condition::isNullOrEmpty(d, field);
        if (r == FindRelation::NotEqual)
            return !Condition::isNullOrEmpty(d, field);
        return Condition::never();
    }
    const auto typed = readTyped(kind, value);
    if (!typed)
        throw DbError(QStringLiteral("筛选的内容错误!"));
    return valueCondition(d, field, kind, r, value, *typed);
}

bool FindMatches(FindRelation r, ColumnInfo::Kind kind, const QVariant &cell, const QString &typed)
{
    if (typed.isEmpty())
        return isEmptyCell(cell);
    if (r == FindRelation::Like)
        return !isEmptyCell(cell) && cellText(cell).contains(typed, Qt::CaseInsensitive);
    const auto value = readTyped(kind, typed);
    if (!value)
        return false;
    if (!cell.isValid() || cell.isNull())
        return r == FindRelation::NotEqual; // as SQL: an empty field is unequal, never ordered
    if (isNumericKind(kind)) {
        bool ok = false;
        const double n = cell.toDouble(&ok);
        return ok ? relationHolds(r, n, value->value.toDouble()) : r == FindRelation::NotEqual;
    }
    if (kind == Kind::Date || kind == Kind::DateTime) {
        const auto at = cellDateTime(cell);
        if (!at)
            return r == FindRelation::NotEqual;
        if (kind == Kind::Date || value->wholeDay)
            return relationHolds(r, at->date(), value->value.toDate());
        return relationHolds(r, *at, value->value.toDateTime());
    }
    if (kind == Kind::Boolean)
        return relationHolds(r, int(cell.toBool()), int(value->value.toBool()));
    return relationHolds(r, QString::compare(cellText(cell), typed), 0);
}

int FindNextRow(TDModule &db, RecordSet &rs, const QString &field, ColumnInfo::Kind kind, FindRelation r,
                const QString &value)
{
    const int n = rs.rowCount();
    if (n == 0)
        return -1;
    const SqlDialect &d = db.dialect();
    Condition test;
    if (value.isEmpty()) {
        test = Condition::isNullOrEmpty(d, field);
    } else {
        const auto typed = readTyped(kind, value);
        if (!typed)
            throw DbError(QStringLiteral("查找的内容错误!"));
        test = valueCondition(d, field, kind, r, value, *typed);
    }
    const Condition base(rs.condition(), rs.binds());
    const QString table = d.quoteExactIdent(rs.table());
    std::vector<bool> hit(size_t(n), false);
    if (rs.readOnly()) {
        // Rows without identity are known by position: one flag per row, in the set's order.
        Query q(db);
        q.prepare("SELECT CASE WHEN " + test.sql() + " THEN 1 ELSE 0 END FROM " + table
                  + (base.isEmpty() ? QString() : " WHERE " + base.sql())
                  + (rs.orderBy().isEmpty() ? QString() : " ORDER BY " + rs.orderBy()));
        bindAll(q, test.binds());
        bindAll(q, base.binds());
        q.exec();
        for (int row = 0; row < n && q.next(); ++row)
            hit[size_t(row)] = q.value(0).toInt() == 1;
    } else {
        const Condition all = base && test;
        Query q(db);
        q.prepare("SELECT " + rs.keyExpression() + " FROM " + table + " WHERE " + all.sql());
        bindAll(q, all.binds());
        q.exec();
        QSet<QString> keys;
        while (q.next())
            keys.insert(q.value(0).toString());
        if (keys.isEmpty())
            return -1;
        for (int row = 0; row < n; ++row)
            hit[size_t(row)] = keys.contains(rs.keyAt(row).toString());
    }
    const int start = rs.currentRow() < 0 ? -1 : rs.currentRow();
    for (int i = 1; i <= n; ++i) {
        const int row = (start + i) % n;
        if (hit[size_t(row)])
            return row;
    }
    return -1;
}

Condition InitialsFilter(const SqlDialect &d, const QString &field, const QStringList &distinctValues,
                         const QString &typed)
{
    if (typed.isEmpty())
        return {};
    const QStringList matching = itemsMatchingInitials(distinctValues, typed);
    if (matching.isEmpty())
        return {};
    return Condition::inSet(d, field, matching);
}

QStringList DistinctValues(TDModule &db, const QString &table, const QString &field, const Condition &base)
{
    const SqlDialect &d = db.dialect();
    const QString actual = db.actualTableName(table);
    if (actual.isEmpty())
        throw DbError(QStringLiteral("数据表不存在: %1").arg(table));
    const QString f = d.quoteIdent(field);
    Query q(db);
    q.prepare("SELECT DISTINCT " + f + " FROM " + d.quoteExactIdent(actual) + " WHERE " + f + " IS NOT NULL"
              + (base.isEmpty() ? QString() : " AND (" + base.sql() + ")"));
    bindAll(q, base.binds());
    q.exec();
    QStringList out;
    while (q.next())
        out << cellText(q.value(0));
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

} // namespace vek
