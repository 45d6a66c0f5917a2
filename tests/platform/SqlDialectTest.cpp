#include "platform/DbError.h"
#include "platform/Query.h"
#include "platform/SqlDialect.h"
#include "support/TestSupport.h"

#include <QDate>

using namespace vek;
using vek::test::EngineTest;

TEST(SqlDialect, QuoteIdentRefusesNamesItCannotQuoteSafely)
{
    const auto sqlite = SqlDialect::create(Engine::Sqlite);
    const auto pg = SqlDialect::create(Engine::Postgres);
    EXPECT_EQ(sqlite->quoteIdent("学生档案"), "\"学生档案\"");
    EXPECT_EQ(sqlite->quoteIdent("AppTitle"), "\"AppTitle\"");
    // Names the system creates fold to lower case on the server, as unquoted names do.
    EXPECT_EQ(pg->quoteIdent("AppTitle"), "\"apptitle\"");
    EXPECT_EQ(pg->quoteExactIdent("AppTitle"), "\"AppTitle\"");
    for (const QString &bad : {QString(), QString("  "), QString("a\"b"), QString("x\ny"), QString("a") + QChar(0)}) {
        EXPECT_THROW(sqlite->quoteIdent(bad), DbError) << bad.toStdString();
        EXPECT_THROW(pg->quoteIdent(bad), DbError) << bad.toStdString();
    }
    EXPECT_THROW(pg->quoteIdent(QString(64, 'a')), DbError) << "would be cut silently by the server";
}

TEST(SqlDialect, LikeEscapeAndStringLiteral)
{
    EXPECT_EQ(SqlDialect::likeEscape("50%_a\\b"), "50\\%\\_a\\\\b");
    EXPECT_EQ(SqlDialect::stringLiteral("O'Brien"), "'O''Brien'");
}

class DialectOnEngine : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        const SqlDialect &d = db().dialect();
        Query::run(db(), "CREATE TABLE t (id integer PRIMARY KEY, name varchar(20), born " + d.dateType() + ", at "
                             + d.dateTimeType() + ", ok " + d.bitType() + ")");
        const QStringList names = {"50% off", "500 off", "a_b", "axb", "Zhang", "ZHANG"};
        int id = 0;
        for (const QString &n : names)
            Query::run(db(), "INSERT INTO t (id, name, born, at, ok) VALUES (:HostId, :HostName, :HostBorn, :HostAt, :HostOk)",
                       {{":HostId", ++id},
                        {":HostName", n},
                        {":HostBorn", QDate(2012, 2, 29)},
                        {":HostAt", QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58))},
                        {":HostOk", id % 2 == 0}});
    }

    QStringList namesWhere(const QString &where, Binds binds)
    {
        QStringList out;
        Query q(db(), "SELECT name FROM t WHERE " + where + " ORDER BY id", binds);
        while (q.next())
            out << q.value(0).toString();
        return out;
    }
};

TEST_P(DialectOnEngine, LikeMatchesWildcardCharactersLiterally)
{
    const SqlDialect &d = db().dialect();
    const QString like = d.likeClause("name", ":HostPattern");
    EXPECT_EQ(namesWhere(like, {{":HostPattern", "%" + SqlDialect::likeEscape("50%") + "%"}}), QStringList{"50% off"});
    EXPECT_EQ(namesWhere(like, {{":HostPattern", SqlDialect::likeEscape("a_b")}}), QStringList{"a_b"});
    EXPECT_EQ(namesWhere(like, {{":HostPattern", "zh%"}}), (QStringList{"Zhang", "ZHANG"})) << "ignores case";
}

TEST_P(DialectOnEngine, CaseInsensitiveEquality)
{
    EXPECT_EQ(namesWhere(db().dialect().ciEquals("name", ":HostName"), {{":HostName", "zhang"}}),
              (QStringList{"Zhang", "ZHANG"}));
}

TEST_P(DialectOnEngine, DatesBooleansAndDateFunctions)
{
    const SqlDialect &d = db().dialect();
    Query q(db(),
            "SELECT born, at, ok, " + d.yearOf("born") + ", " + d.monthOf("born") + ", " + d.dayOf("born") + ", "
                + d.daysBetween(d.dateLiteral(QDate(2013, 3, 1)), "born") + " FROM t WHERE ok = " + d.boolLiteral(true)
                + " ORDER BY id");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toDate(), QDate(2012, 2, 29));
    EXPECT_EQ(q.value(1).toDateTime(), QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58)));
    EXPECT_TRUE(q.value(2).toBool());
    EXPECT_EQ(q.value(3).toInt(), 2012);
    EXPECT_EQ(q.value(4).toInt(), 2);
    EXPECT_EQ(q.value(5).toInt(), 29);
    EXPECT_EQ(q.value(6).toInt(), 366);
    int rows = 1;
    while (q.next())
        ++rows;
    EXPECT_EQ(rows, 3);
    // The same date bound as a value compares equal to the stored one.
    EXPECT_EQ(namesWhere("born = :HostBorn", {{":HostBorn", QDate(2012, 2, 29)}}).size(), 6);
}

VEK_BOTH_ENGINES(DialectOnEngine);
