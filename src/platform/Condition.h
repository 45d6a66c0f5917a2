#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

namespace vek {

class SqlDialect;

// A condition ready to run on one engine: SQL text with named placeholders and their
// values. Field names are quoted by the dialect, values are always bound, and every
// placeholder gets a name of its own, so conditions combine without clashes.
//
// Filters, the classification tree, the find bar, the retrieval panel and birthday lists
// all build their WHERE clauses from these pieces; the stored filter of a resource is
// read into one by StoredFilter.
class Condition {
public:
    enum class Op { Eq, Ne, Lt, Le, Gt, Ge };

    Condition() = default;
    // A rendered text with the values of its placeholders (used by readers of stored text).
    Condition(QString sql, QVariantMap binds) : m_sql(std::move(sql)), m_binds(std::move(binds)) {}

    const QString &sql() const { return m_sql; }
    const QVariantMap &binds() const { return m_binds; }
    bool isEmpty() const { return m_sql.trimmed().isEmpty(); }

    // field op value. A null value with Eq/Ne becomes IS [NOT] NULL.
    static Condition compare(const SqlDialect &d, const QString &field, Op op, const QVariant &value);
    // field op number, compared as numbers on every engine (5.5 against an integer field).
    static Condition compareNumber(const SqlDialect &d, const QString &field, Op op, double value);
    // field = value ignoring letter case (text).
    static Condition equalsIgnoringCase(const SqlDialect &d, const QString &field, const QString &value);
    static Condition isNull(const SqlDialect &d, const QString &field);
    // The field holds nothing: NULL or the empty text.
    static Condition isNullOrEmpty(const SqlDialect &d, const QString &field);
    // Text contains / starts with value, ignoring letter case; % and _ in value are literal.
    static Condition contains(const SqlDialect &d, const QString &field, const QString &value);
    static Condition startsWith(const SqlDialect &d, const QString &field, const QString &value);
    // field is one of values; one bound parameter however many values there are.
    static Condition inSet(const SqlDialect &d, const QString &field, const QStringList &values);
    // month and day of a date field equal the given ones.
    static Condition monthDay(const SqlDialect &d, const QString &field, int month, int day);
    static Condition month(const SqlDialect &d, const QString &field, int month);
    // A condition that holds for no row.
    static Condition never();

    // NOT (a); the negation of the empty condition (every row) holds for no row.
    Condition operator!() const;

    // (a) AND (b); an empty side gives the other.
    static Condition allOf(const QList<Condition> &parts);
    // (a) OR (b); empty parts are left out.
    static Condition anyOf(const QList<Condition> &parts);
    Condition operator&&(const Condition &o) const { return allOf({*this, o}); }
    Condition operator||(const Condition &o) const { return anyOf({*this, o}); }

    // A placeholder name no other condition of this process uses.
    static QString freshParam();

    // expr read as a date, for month/day/year: a date column, a date-time column, or a
    // 'yyyy-MM-dd' text column alike (an empty text is no date).
    static QString asDate(const SqlDialect &d, const QString &expr);

private:
    QString m_sql;
    QVariantMap m_binds;
};

} // namespace vek
