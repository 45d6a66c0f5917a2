#include "grid/GridTableModel.h"
#include "platform/Query.h"
#include "support/TestSupport.h"

using namespace vek;
using vek::test::EngineTest;

class GridModelOnEngine : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        const SqlDialect &d = db().dialect();
        Query::run(db(), "CREATE TABLE " + d.quoteIdent("成绩") + " (" + d.quoteIdent("编号") + " varchar(10) PRIMARY KEY, "
                             + d.quoteIdent("姓名") + " varchar(20), " + d.quoteIdent("分数") + " integer)");
        Transaction tx(db());
        for (int i = 1; i <= 300; ++i)
            Query::run(db(), "INSERT INTO " + d.quoteIdent("成绩") + " VALUES (:HostId, :HostName, :HostScore)",
                       {{":HostId", QString("S%1").arg(i, 4, 10, QChar('0'))},
                        {":HostName", QString("学生%1").arg(i)},
                        {":HostScore", (i * 37) % 101}});
        tx.commit();
    }
};

TEST_P(GridModelOnEngine, ShowsRowsOnDemandUnderTheStandingConditionAndSorts)
{
    GridTableModel model(db());
    model.open("成绩", {}, db().dialect().quoteIdent("分数") + " >= :HostMin", {{":HostMin", 50}});
    const int expected = Query::scalar(db(), "SELECT count(*) FROM " + db().dialect().quoteIdent("成绩") + " WHERE "
                                                 + db().dialect().quoteIdent("分数") + " >= 50")
                             .toInt();
    ASSERT_EQ(model.rowCount(), expected);
    ASSERT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "姓名");
    model.setTitles({"学号", "姓名", "成绩"});
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "学号");
    EXPECT_EQ(model.headerData(4, Qt::Vertical).toInt(), 5);

    model.sort(2, Qt::DescendingOrder);
    int previous = 1000;
    for (int r = 0; r < model.rowCount(); r += 17) {
        const int score = model.data(model.index(r, 2)).toInt();
        EXPECT_GE(score, 50) << "the standing condition stays under the sort";
        EXPECT_LE(score, previous);
        previous = score;
    }
    model.sort(0, Qt::AscendingOrder);
    EXPECT_EQ(model.data(model.index(0, 0)).toString().left(1), "S");
    EXPECT_LT(model.data(model.index(0, 0)).toString(), model.data(model.index(1, 0)).toString());
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::DecorationRole).isValid());
}

VEK_BOTH_ENGINES(GridModelOnEngine);
