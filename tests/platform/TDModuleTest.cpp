#include "platform/DbError.h"
#include "platform/Query.h"
#include "platform/TDModule.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace vek;
using vek::test::EngineTest;

TEST(TDModule, OpeningAMissingFileCreatesNothing)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("none.vek");
    TDModule db;
    EXPECT_THROW(db.openSqliteFile(path), DbError);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(db.isOpen());
}

TEST(TDModule, OpeningAFileThatIsNoDatabaseFails)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("text.vek");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    TDModule db;
    EXPECT_THROW(db.openSqliteFile(path), DbError);
    EXPECT_FALSE(db.isOpen());
}

TEST(TDModule, CreateRefusesAnExistingFile)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("a.vek");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep me");
    f.close();
    TDModule db;
    EXPECT_THROW(db.createSqliteFile(path), DbError);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "keep me");
}

TEST(TDModule, ServerParamsFromServerName)
{
    const struct {
        const char *text, *host;
        int port;
    } cases[] = {{"db.school", "db.school", 5432}, {"10.0.0.5:6543", "10.0.0.5", 6543}, {"", "localhost", 5432},
                 {"host:notaport", "host:notaport", 5432}};
    for (const auto &c : cases) {
        const ServerParams p = ServerParams::fromServerName(c.text);
        EXPECT_EQ(p.host, c.host) << c.text;
        EXPECT_EQ(p.port, c.port) << c.text;
    }
}

class TDModuleOnEngine : public EngineTest {};

TEST_P(TDModuleOnEngine, SchemaMatchesTableNamesIgnoringCaseAndReportsColumnKinds)
{
    const SqlDialect &d = db().dialect();
    Query::run(db(), "CREATE TABLE " + d.quoteIdent("Class_List") + " (id " + d.identityPrimaryKey()
                         + ", name varchar(30) NOT NULL, born " + d.dateType() + ", seen " + d.dateTimeType()
                         + ", score " + d.floatType() + ", flag " + d.bitType() + ", memo " + d.textType() + ")");
    EXPECT_TRUE(db().tableExists("class_list"));
    EXPECT_TRUE(db().tableExists("CLASS_LIST"));
    EXPECT_FALSE(db().tableExists("class"));
    EXPECT_TRUE(db().tableNames().contains("class_list", Qt::CaseInsensitive));

    const ColumnList cols = db().columns("CLASS_list");
    ASSERT_EQ(cols.size(), 7);
    using K = ColumnInfo::Kind;
    const K kinds[] = {K::Integer, K::Text, K::Date, K::DateTime, K::Float, K::Boolean, K::Memo};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(cols[i].kind, kinds[i]) << cols[i].name.toStdString() << " " << cols[i].declaredType.toStdString();
    EXPECT_TRUE(cols[0].primaryKey);
    EXPECT_TRUE(cols[0].autoIncrement);
    EXPECT_EQ(cols[1].size, 30);
    EXPECT_TRUE(cols[1].notNull);
    EXPECT_FALSE(cols[2].primaryKey);
    EXPECT_THROW(db().columns("nosuch"), DbError);
}

TEST_P(TDModuleOnEngine, TransactionsAreAllOrNothing)
{
    Query::run(db(), "CREATE TABLE t (v integer)");
    try {
        Transaction tx(db());
        Query::run(db(), "INSERT INTO t VALUES (1)");
        Query::run(db(), "INSERT INTO nosuch VALUES (2)");
        tx.commit();
        FAIL() << "the second insert should fail";
    } catch (const DbError &) {
    }
    EXPECT_EQ(Query::scalar(db(), "SELECT count(*) FROM t").toInt(), 0);

    // An inner scope that fails dooms the outer one: its commit rolls everything back.
    {
        Transaction outer(db());
        Query::run(db(), "INSERT INTO t VALUES (1)");
        {
            Transaction inner(db());
            Query::run(db(), "INSERT INTO t VALUES (2)");
        }
        EXPECT_THROW(outer.commit(), DbError);
    }
    EXPECT_EQ(Query::scalar(db(), "SELECT count(*) FROM t").toInt(), 0);

    {
        Transaction tx(db());
        Query::run(db(), "INSERT INTO t VALUES (3)");
        tx.commit();
    }
    testDb().reopen();
    EXPECT_EQ(Query::scalar(db(), "SELECT sum(v) FROM t").toInt(), 3);
}

TEST_P(TDModuleOnEngine, RepeatedNamedParameterAndReturning)
{
    const SqlDialect &d = db().dialect();
    Query::run(db(), "CREATE TABLE t (id " + d.identityPrimaryKey() + ", a varchar(10), b varchar(10))");
    const QVariant id1 = Query::scalar(db(), "INSERT INTO t (a, b) VALUES (:HostV, :HostV)" + d.returning("id"),
                                       {{":HostV", "x"}});
    const QVariant id2 = Query::scalar(db(), "INSERT INTO t (a, b) VALUES (:HostV, :HostW)" + d.returning("id"),
                                       {{":HostV", "y"}, {":HostW", "z"}});
    EXPECT_EQ(id1.toInt(), 1);
    EXPECT_EQ(id2.toInt(), 2);
    EXPECT_EQ(Query::scalar(db(), "SELECT b FROM t WHERE id = 1").toString(), "x");
}



TEST_P(TDModuleOnEngine, OneStatementATime)
{
    Query::run(db(), "CREATE TABLE t (v varchar(20))");
    Query::run(db(), "INSERT INTO t VALUES ('a;b')"); // a ';' inside a literal is text
    EXPECT_THROW(Query::run(db(), "DELETE FROM t; DROP TABLE t"), DbError);
    EXPECT_THROW(Query::scalar(db(), "SELECT v FROM t WHERE v = :HostV; DELETE FROM t", {{":HostV", "x"}}), DbError);
    EXPECT_EQ(Query::scalar(db(), "SELECT v FROM t;").toString(), "a;b") << "a final ';' is dropped";
    EXPECT_TRUE(db().tableExists("t"));
}
VEK_BOTH_ENGINES(TDModuleOnEngine);
