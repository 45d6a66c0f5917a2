#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <memory>

namespace vek {

enum class Engine { Sqlite, Postgres };

// What differs between the engines, as data and a few small functions.
// No SQL text is ever rewritten: callers build statements from these pieces and
// bind every value.
class SqlDialect {
public:
    virtual ~SqlDialect() = default;

    static std::unique_ptr<SqlDialect> create(Engine engine);

    virtual Engine engine() const = 0;
    QString name() const { return engine() == Engine::Sqlite ? "SQLite" : "PostgreSQL"; }

    // Quotes a table or field name. Throws DbError for a name that cannot be quoted
    // safely (empty, control characters, double quotes, too long). On PostgreSQL the
    // names the system creates are folded to lower case, as the engine folds unquoted
    // names, so that names match without regard to case on both engines.
    virtual QString quoteIdent(const QString &name) const = 0;
    // Quotes a name exactly as read from the engine's own schema (foreign databases).
    QString quoteExactIdent(const QString &name) const;

    // Catalog DDL column types.
    virtual QString identityPrimaryKey() const = 0; // int IDENTITY(1,1) PRIMARY KEY
    QString varcharType(int n) const { return QString("varchar(%1)").arg(n); }
    virtual QString textType() const = 0;      // Text / memo
    virtual QString bitType() const = 0;       // bit
    virtual QString dateType() const = 0;      // Date
    virtual QString dateTimeType() const = 0;  // DateTime
    virtual QString floatType() const = 0;     // float
    QString integerType() const { return "integer"; }

    // Literals for the few places where a value is part of stored text (saved
    // conditions rendered back); everything else is bound.
    virtual QString dateLiteral(const QDate &d) const = 0;
    virtual QString dateTimeLiteral(const QDateTime &dt) const = 0;
    virtual QString boolLiteral(bool b) const = 0;
    static QString stringLiteral(const QString &s);

    // Converts a value to the form bound for this engine (storage conventions:
    // dates as 'yyyy-MM-dd' text, date-times as 'yyyy-MM-dd HH:mm:ss', booleans 0/1 on
    // SQLite).
    virtual QVariant toDb(const QVariant &v) const = 0;

    // LIKE ignoring letter case, with '\' as escape character: escape the value with
    // likeEscape() and bind it (with the % wildcards the caller wants) to the parameter.
    static QString likeEscape(const QString &text);
    virtual QString likeClause(const QString &expr, const QString &param) const = 0;
    // expr = param, ignoring letter case.
    virtual QString ciEquals(const QString &expr, const QString &param) const = 0;
    // COLLATE clause (or function) used for case-insensitive ordering and keys.
    virtual QString ciKey(const QString &expr) const = 0;

    QString limit(int n) const { return QString(" LIMIT %1").arg(n); }
    // Suffix of an INSERT that returns the new identity (both engines support RETURNING).
    QString returning(const QString &column) const { return " RETURNING " + quoteIdent(column); }

    virtual QString yearOf(const QString &expr) const = 0;
    virtual QString monthOf(const QString &expr) const = 0;
    virtual QString dayOf(const QString &expr) const = 0;
    virtual QString today() const = 0;
    // Whole days from expression b to expression a (a - b).
    virtual QString daysBetween(const QString &a, const QString &b) const = 0;

protected:
    void checkIdent(const QString &name, int maxUtf8Bytes) const;
};

} // namespace vek
