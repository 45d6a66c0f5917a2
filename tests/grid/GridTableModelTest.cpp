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

// A table with a whole-number key, more rows than the page cache holds.
class GridModelPages : public GridModelOnEngine {
protected:
    static constexpr int kRows = 1300;
    void SetUp() override
    {
        GridModelOnEngine::SetUp();
        if (IsSkipped())
            return;
        Query::run(db(), "CREATE TABLE nums (n integer PRIMARY KEY, label varchar(20))");
        Transaction tx(db());
        Query ins(db());
        ins.prepare("INSERT INTO nums VALUES (:HostN, :HostLabel)");
        for (int i = 1; i <= kRows; ++i) {
            ins.bind(":HostN", i);
            ins.bind(":HostLabel", QString("L%1").arg(i));
            ins.exec();
        }
        ins.raw().finish();
        tx.commit();
    }
    // What every row shows, with the key read back from the model.
    void expectRowsMatchKeys(GridTableModel &model, int keyColumn, int labelColumn, const QString &prefix,
                             const QVariantList &gone)
    {
        for (int r = 0; r < model.rowCount(); ++r) {
            const QVariant key = model.records().keyAt(r);
            const QVariant shown = model.data(model.index(r, labelColumn));
            if (gone.contains(key)) {
                EXPECT_TRUE(shown.isNull()) << "row " << r << " was deleted elsewhere";
                continue;
            }
            ASSERT_EQ(shown.toString(), prefix + model.data(model.index(r, keyColumn)).toString()) << "row " << r;
        }
    }
};

TEST_P(GridModelPages, RowsDeletedElsewhereShowEmptyAndTheOthersKeepTheirPlaces)
{
    struct Case {
        const char *order; // column sorted by, -1: table order
        int column;
    };
    int rows = kRows;
    for (const Case &c : {Case{"table order", -1}, Case{"label descending", 1}}) {
        SCOPED_TRACE(c.order);
        GridTableModel model(db());
        model.open("nums");
        if (c.column >= 0)
            model.sort(c.column, Qt::DescendingOrder);
        ASSERT_EQ(model.rowCount(), rows);
        model.data(model.index(0, 1)); // the first page is read before the deletes
        // One row inside the first page, one in a later page, one at the very end.
        const QVariantList gone = {model.records().keyAt(3), model.records().keyAt(70), model.records().keyAt(rows - 1)};
        rows -= int(gone.size());
        Transaction tx(db());
        for (const QVariant &k : gone)
            Query::run(db(), "DELETE FROM nums WHERE " + model.records().keyExpression() + " = :HostK", {{":HostK", k}});
        tx.commit();
        model.records().forgetRows();
        expectRowsMatchKeys(model, 0, 1, "L", gone);
        // Read again after the cache let pages go: the first rows are read anew, still right.
        EXPECT_EQ(model.data(model.index(0, 1)).toString(), "L" + model.data(model.index(0, 0)).toString());
    }
}

TEST_P(GridModelPages, TextKeysWithQuotesAndCommasReadTheirOwnRows)
{
    const SqlDialect &d = db().dialect();
    const QString table = d.quoteIdent("成绩");
    const QStringList odd = {"O'Neil", "a,b", "(x)", "S0001 "};
    for (const QString &id : odd)
        Query::run(db(), "INSERT INTO " + table + " VALUES (:HostId, :HostName, 60)", {{":HostId", id}, {":HostName", "名" + id}});
    GridTableModel model(db());
    model.open("成绩", {"编号", "姓名"});
    model.sort(0, Qt::AscendingOrder);
    Query::run(db(), "DELETE FROM " + table + " WHERE " + d.quoteIdent("编号") + " = 'S0150'");
    model.records().forgetRows();
    int deleted = 0;
    for (int r = 0; r < model.rowCount(); ++r) {
        const QVariant id = model.data(model.index(r, 0));
        const QString name = model.data(model.index(r, 1)).toString();
        if (id.isNull()) {
            ++deleted;
            EXPECT_TRUE(name.isEmpty());
            continue;
        }
        const QString expected = odd.contains(id.toString()) ? "名" + id.toString()
                                                             : "学生" + QString::number(id.toString().mid(1).toInt());
        EXPECT_EQ(name, expected) << "row " << r;
    }
    EXPECT_EQ(deleted, 1);
    if (GetParam() == Engine::Postgres) {
        EXPECT_EQ(model.records().keyAt(0).typeId(), QMetaType::QString) << "text keys stay text";
        const int at = model.records().rowOfKey(QString("O'Neil"));
        ASSERT_GE(at, 0);
        EXPECT_EQ(model.data(model.index(at, 1)).toString(), "名O'Neil");
    }
}

TEST_P(GridModelPages, SortKeepsTheCurrentRecordAndTheViewsCellsOnTheirRecords)
{
    GridTableModel model(db());
    model.open("nums");
    RecordSet &rs = model.records();
    ASSERT_TRUE(rs.seek(1000));
    const QVariant current = rs.keyAt(1000);
    const QPersistentModelIndex cell(model.index(1000, 1));
    const QPersistentModelIndex other(model.index(5, 0));
    const QString otherKey = model.data(other).toString();

    model.sort(1, Qt::DescendingOrder); // text order: "L999" before "L1000"
    EXPECT_EQ(rs.keyAt(rs.currentRow()), current);
    EXPECT_NE(rs.currentRow(), 1000) << "the record really moved";
    ASSERT_TRUE(cell.isValid());
    EXPECT_EQ(cell.row(), rs.currentRow());
    EXPECT_EQ(cell.column(), 1);
    EXPECT_EQ(model.data(other).toString(), otherKey);
    EXPECT_GE(model.data(model.index(0, 1)).toString(), model.data(model.index(1, 1)).toString());

    // A pending edit is not dropped by a sort.
    rs.edit();
    rs.setValue("label", "typed");
    const int row = rs.currentRow();
    model.sort(0, Qt::AscendingOrder);
    EXPECT_EQ(rs.state(), RecordSet::State::Edit);
    EXPECT_EQ(rs.currentRow(), row);
    EXPECT_EQ(rs.value("label").toString(), "typed");
    rs.cancel();
}

VEK_BOTH_ENGINES(GridModelPages);
