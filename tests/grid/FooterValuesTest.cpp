#include "grid/FooterValues.h"
#include "platform/DbError.h"
#include "platform/Query.h"
#include "support/TestSupport.h"

using namespace vek;
using vek::test::EngineTest;

class FooterValuesOnEngine : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        const SqlDialect &d = db().dialect();
        Query::run(db(), "CREATE TABLE " + d.quoteIdent("工资") + " (id " + d.identityPrimaryKey() + ", "
                             + d.quoteIdent("部门") + " varchar(10), " + d.quoteIdent("人数") + " integer, "
                             + d.quoteIdent("金额") + " numeric(19,4), " + d.quoteIdent("系数") + " float)");
        struct Row {
            const char *dept;
            QVariant people, amount, factor;
        } rows[] = {
            {"甲", 2, 100.5, 1.5}, {"甲", QVariant(), 50.25, QVariant()}, {"乙", 4, QVariant(), 0.5},
            {"乙", 6, 9.25, QVariant()}, {"丙", QVariant(), QVariant(), QVariant()},
        };
        for (const Row &r : rows)
            Query::run(db(), "INSERT INTO " + d.quoteIdent("工资") + " (" + d.quoteIdent("部门") + ", "
                                 + d.quoteIdent("人数") + ", " + d.quoteIdent("金额") + ", " + d.quoteIdent("系数")
                                 + ") VALUES (:HostA, :HostB, :HostC, :HostD)",
                       {{":HostA", QString::fromUtf8(r.dept)}, {":HostB", r.people}, {":HostC", r.amount},
                        {":HostD", r.factor}});
    }
};

TEST_P(FooterValuesOnEngine, OneQueryGivesSumsAndAveragesAndCountsOfTheValuesPresent)
{
    const FooterRequest req{{"人数", "金额"}, {"人数", "系数"}, {"人数", "金额"}};
    const FooterResult all = ComputeFooters(db(), "工资", Condition(), req);
    EXPECT_EQ(all.sum.value("人数"), QVariant(qlonglong(12)));
    EXPECT_DOUBLE_EQ(all.sum.value("金额").toDouble(), 160.0);
    // NULLs are neither counted nor averaged in as zeros.
    EXPECT_DOUBLE_EQ(all.average.value("人数").toDouble(), 4.0);
    EXPECT_DOUBLE_EQ(all.average.value("系数").toDouble(), 1.0);
    EXPECT_EQ(all.count.value("人数").toLongLong(), 3);
    EXPECT_EQ(all.count.value("金额").toLongLong(), 3);
    EXPECT_EQ(FooterText(all.sum.value("人数")), "12");
    EXPECT_EQ(FooterText(all.sum.value("金额")), "160.00");

    // Under the record set's condition, with its bound values.
    const Condition dept = Condition::compare(db().dialect(), "部门", Condition::Op::Eq, QString("甲"));
    const FooterResult a = ComputeFooters(db(), "工资", dept, req);
    EXPECT_EQ(a.sum.value("人数").toLongLong(), 2);
    EXPECT_DOUBLE_EQ(a.sum.value("金额").toDouble(), 150.75);
    EXPECT_EQ(a.count.value("人数").toLongLong(), 1);

    // Nothing to add up: sums and averages are empty, counts zero.
    const Condition none = Condition::compare(db().dialect(), "部门", Condition::Op::Eq, QString("丙"));
    const FooterResult c = ComputeFooters(db(), "工资", none, req);
    EXPECT_TRUE(c.sum.value("人数").isNull());
    EXPECT_TRUE(c.average.value("系数").isNull());
    EXPECT_EQ(c.count.value("金额").toLongLong(), 0);
    EXPECT_EQ(FooterText(c.sum.value("人数")), "");

    EXPECT_TRUE(ComputeFooters(db(), "工资", dept, FooterRequest{}).sum.isEmpty());
    EXPECT_THROW(ComputeFooters(db(), "工资", Condition(), FooterRequest{{"没有"}, {}, {}}), DbError);
}

VEK_BOTH_ENGINES(FooterValuesOnEngine);

TEST(FooterValuesOnSqlite, EmptyTextsInNumericColumnsAreNoValues)
{
    test::TestDatabase t(Engine::Sqlite);
    Query::run(t.db(), "CREATE TABLE t (n integer)");
    Query::run(t.db(), "INSERT INTO t VALUES (2), (''), (4)");
    const FooterResult r = ComputeFooters(t.db(), "t", Condition(), FooterRequest{{"n"}, {"n"}, {"n"}});
    EXPECT_EQ(r.count.value("n").toLongLong(), 2);
    EXPECT_DOUBLE_EQ(r.average.value("n").toDouble(), 3.0);
    EXPECT_EQ(FooterText(r.sum.value("n")), "6");
}
