#include "platform/DbError.h"
#include "platform/Query.h"
#include "platform/RecordSet.h"
#include "support/TestSupport.h"

#include <stdexcept>

using namespace vek;
using vek::test::EngineTest;

class RecordSetOnEngine : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        const SqlDialect &d = db().dialect();
        Query::run(db(), "CREATE TABLE " + d.quoteIdent("学生") + " (" + d.quoteIdent("编号") + " varchar(10) PRIMARY KEY, "
                             + d.quoteIdent("姓名") + " varchar(20), " + d.quoteIdent("出生日期") + ' ' + d.dateType()
                             + ", " + d.quoteIdent("成绩") + ' ' + d.floatType() + ", " + d.quoteIdent("在校") + ' '
                             + d.bitType() + ")");
        const char *rows[][2] = {{"003", "王芳"}, {"001", "李雷"}, {"002", "韩梅梅"}};
        for (const auto &r : rows)
            Query::run(db(), "INSERT INTO " + d.quoteIdent("学生") + " VALUES (:HostId, :HostName, :HostBorn, 88.5, :HostYes)",
                       {{":HostId", r[0]}, {":HostName", r[1]}, {":HostBorn", QDate(2013, 5, 1)}, {":HostYes", true}});
    }
    QStringList names(RecordSet &rs)
    {
        QStringList out;
        for (int i = 0; i < rs.rowCount(); ++i)
            out << rs.valueAt(i, "姓名").toString();
        return out;
    }
};

TEST_P(RecordSetOnEngine, OpensWithKindsConditionAndOrder)
{
    RecordSet rs(db());
    rs.open("学生", {"编号", "姓名", "出生日期", "成绩", "在校"}, db().dialect().quoteIdent("编号") + " <> :HostSkip",
            {{":HostSkip", "002"}}, db().dialect().quoteIdent("编号"));
    EXPECT_EQ(rs.state(), RecordSet::State::Browse);
    EXPECT_FALSE(rs.readOnly());
    EXPECT_EQ(names(rs), (QStringList{"李雷", "王芳"}));
    using K = ColumnInfo::Kind;
    ASSERT_EQ(rs.columns().size(), 5);
    EXPECT_EQ(rs.columns()[2].kind, K::Date);
    EXPECT_EQ(rs.columns()[3].kind, K::Float);
    EXPECT_EQ(rs.columns()[4].kind, K::Boolean);
    EXPECT_EQ(rs.columns()[1].size, 20);
    EXPECT_EQ(rs.value("出生日期").toDate(), QDate(2013, 5, 1));
    EXPECT_THROW(rs.open("学生", {"nosuch"}), DbError);
    EXPECT_THROW(rs.open("nosuch"), DbError);
}

TEST_P(RecordSetOnEngine, EditInsertCancelAndDeleteLand)
{
    RecordSet rs(db());
    rs.open("学生", {}, {}, {}, db().dialect().quoteIdent("编号"));
    ASSERT_TRUE(rs.seek(1));
    rs.edit();
    rs.setValue("姓名", "韩梅");
    EXPECT_EQ(rs.value("姓名").toString(), "韩梅") << "the buffer shows the change";
    EXPECT_THROW(rs.next(), DbError) << "moving away with a pending edit is refused";
    rs.post();
    EXPECT_EQ(rs.state(), RecordSet::State::Browse);

    rs.insert();
    rs.setValue("编号", "004");
    rs.setValue("姓名", "O'Neil");
    rs.setValue("在校", false);
    rs.post();
    EXPECT_EQ(rs.rowCount(), 4);
    EXPECT_EQ(rs.value("姓名").toString(), "O'Neil");

    rs.first();
    rs.edit();
    rs.setValue("姓名", "不要");
    rs.cancel();
    EXPECT_EQ(rs.value("姓名").toString(), "李雷");

    rs.first();
    rs.remove();
    EXPECT_EQ(rs.rowCount(), 3);

    testDb().reopen();
    RecordSet again(db());
    again.open("学生", {}, {}, {}, db().dialect().quoteIdent("编号"));
    EXPECT_EQ(names(again), (QStringList{"韩梅", "王芳", "O'Neil"}));
    EXPECT_FALSE(again.valueAt(2, "在校").toBool());
}

TEST_P(RecordSetOnEngine, HooksRefuseOrFollowInTheSameTransaction)
{
    RecordSet rs(db());
    rs.open("学生", {}, {}, {}, db().dialect().quoteIdent("编号"));
    const QString table = db().dialect().quoteIdent("学生");
    Query::run(db(), "CREATE TABLE audit (note varchar(40))");
    rs.beforePost = [](RecordSet &r) {
        if (r.value("姓名").toString().isEmpty())
            throw std::runtime_error("姓名不能为空");
    };
    rs.afterPost = [&](RecordSet &r) {
        Query::run(db(), "INSERT INTO audit VALUES (:HostNote)", {{":HostNote", r.value("编号")}});
        if (r.value("编号").toString() == "999")
            throw DbError("after-save failed");
    };
    rs.edit();
    rs.setValue("姓名", QString());
    EXPECT_THROW(rs.post(), std::runtime_error);
    EXPECT_EQ(rs.state(), RecordSet::State::Edit) << "a refused post keeps what was typed";
    EXPECT_TRUE(rs.isModified());
    rs.setValue("姓名", "李磊");
    rs.post();
    EXPECT_EQ(Query::scalar(db(), "SELECT count(*) FROM audit").toInt(), 1);

    // A failing after-save statement takes the record with it.
    rs.insert();
    rs.setValue("编号", "999");
    rs.setValue("姓名", "X");
    EXPECT_THROW(rs.post(), DbError);
    EXPECT_EQ(Query::scalar(db(), "SELECT count(*) FROM " + table).toInt(), 3);
    EXPECT_EQ(Query::scalar(db(), "SELECT count(*) FROM audit").toInt(), 1);
    rs.cancel();

    rs.beforeDelete = [](RecordSet &) { throw std::runtime_error("no"); };
    EXPECT_THROW(rs.remove(), std::runtime_error);
    EXPECT_EQ(rs.rowCount(), 3);
}

TEST_P(RecordSetOnEngine, ATableWithoutKeyOnTheServerIsReadOnly)
{
    Query::run(db(), "CREATE TABLE nokey (a varchar(5))");
    Query::run(db(), "INSERT INTO nokey VALUES ('x')");
    RecordSet rs(db());
    rs.open("nokey");
    EXPECT_EQ(rs.rowCount(), 1);
    EXPECT_EQ(rs.value("a").toString(), "x");
    if (GetParam() == Engine::Postgres) {
        EXPECT_TRUE(rs.readOnly());
        EXPECT_THROW(rs.edit(), DbError);
    } else {
        EXPECT_FALSE(rs.readOnly()) << "SQLite rows always have a rowid";
    }
}

VEK_BOTH_ENGINES(RecordSetOnEngine);
