#include "grid/RetrievalQuery.h"
#include "platform/DbError.h"
#include "platform/Query.h"
#include "platform/RecordSet.h"
#include "support/TestSupport.h"

#include <QDate>

using namespace vek;
using vek::test::EngineTest;
using Kind = ColumnInfo::Kind;

namespace {

ColumnInfo column(const char *name, Kind kind)
{
    ColumnInfo c;
    c.name = QString::fromUtf8(name);
    c.kind = kind;
    return c;
}

} // namespace

TEST(RetrievalPlan, BoxesByKindWithRowsAndUpperBounds)
{
    const ColumnList columns{column("姓名", Kind::Text),     column("性别", Kind::Text),     column("住址", Kind::Text),
                             column("年龄", Kind::Integer),  column("说明", Kind::Memo),     column("工资", Kind::Currency),
                             column("在职", Kind::Boolean),  column("生日", Kind::Date),     column("登记", Kind::DateTime),
                             column("电话", Kind::Text),     column("照片", Kind::Blob)};
    const QList<RetrievalBox> boxes = PlanRetrieval(columns, {});
    const struct {
        const char *field;
        int row;
        int left;
        bool upper;
        const char *label;
        bool browse;
    } expected[] = {
        {"姓名", 0, 120, false, "", true}, {"性别", 0, 410, false, "", true}, {"住址", 1, 120, false, "", true},
        {"年龄", 2, 120, true, "小于等于:", false}, {"工资", 3, 120, true, "小于等于:", false},
        {"生日", 4, 120, true, "小于等于:", false}, {"登记", 5, 120, true, "至:", false},
        {"电话", 6, 120, false, "", true},
    };
    ASSERT_EQ(boxes.size(), int(std::size(expected)));
    for (int i = 0; i < boxes.size(); ++i) {
        const auto &e = expected[i];
        EXPECT_EQ(boxes[i].field, QString::fromUtf8(e.field)) << i;
        EXPECT_EQ(boxes[i].row, e.row) << e.field;
        EXPECT_EQ(boxes[i].left, e.left) << e.field;
        EXPECT_EQ(boxes[i].hasUpper, e.upper) << e.field;
        EXPECT_EQ(boxes[i].upperLabel, QString::fromUtf8(e.label)) << e.field;
        EXPECT_EQ(boxes[i].browseButton, e.browse) << e.field;
    }
}

TEST(RetrievalPlan, NamedFieldsAnyCaseInColumnOrderAndAtMostFifty)
{
    const ColumnList columns{column("Name", Kind::Text), column("memo", Kind::Memo), column("AGE", Kind::Integer),
                             column("city", Kind::Text)};
    const QList<RetrievalBox> boxes = PlanRetrieval(columns, " age, MEMO ,nosuch");
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_EQ(boxes[0].field, "memo");
    EXPECT_EQ(boxes[1].field, "AGE");
    EXPECT_EQ(boxes[1].row, 1);

    ColumnList many;
    for (int i = 0; i < 60; ++i)
        many << column(QString("n%1").arg(i).toUtf8().constData(), Kind::Integer);
    const QList<RetrievalBox> fifty = PlanRetrieval(many, {});
    ASSERT_EQ(fifty.size(), 50);
    EXPECT_EQ(fifty.last().field, "n49");
    EXPECT_EQ(fifty.last().row * 30 + 8, 49 * 30 + 8);
}

TEST(RetrievalPlan, NumberBoxesAcceptNumbersOnly)
{
    for (const char *ok : {"", "  ", "12", "-3.5", "0.25"})
        EXPECT_TRUE(IsRetrievalNumber(ok)) << ok;
    for (const char *bad : {"abc", "1,000", "12元", "inf", "1;drop"})
        EXPECT_FALSE(IsRetrievalNumber(bad)) << bad;
}

class RetrievalOnEngine : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        const SqlDialect &d = db().dialect();
        Query::run(db(), "CREATE TABLE " + d.quoteIdent("员工") + " (id integer PRIMARY KEY, " + d.quoteIdent("姓名")
                             + " varchar(20), " + d.quoteIdent("年龄") + " integer, " + d.quoteIdent("生日") + ' '
                             + d.dateType() + ", " + d.quoteIdent("登记") + ' ' + d.dateTimeType() + ")");
        const QVariantList rows[] = {
            {"张三", 30, QDate(1996, 5, 1), QDateTime(QDate(2026, 3, 1), QTime(9, 0))},
            {"100%张", 41, QDate(1985, 1, 2), QDateTime(QDate(2026, 3, 4), QTime(23, 30))},
            {"李_四", 25, QDate(2001, 5, 1), QDateTime(QDate(2026, 3, 5), QTime(0, 0))},
            {"O'Brien", 30, QDate(1996, 5, 2), QDateTime(QDate(2026, 3, 4), QTime(0, 0))},
        };
        int id = 0;
        for (const QVariantList &r : rows)
            Query::run(db(), "INSERT INTO " + d.quoteIdent("员工") + " VALUES (:HostId, :HostA, :HostB, :HostC, :HostD)",
                       {{":HostId", ++id}, {":HostA", r[0]}, {":HostB", r[1]}, {":HostC", r[2]}, {":HostD", r[3]}});
        RecordSet rs(db());
        rs.open("员工");
        m_boxes = PlanRetrieval(rs.columns(), "姓名,年龄,生日,登记");
    }

    // Ids found with the boxes filled as given (姓名, 年龄, 生日, 登记).
    QList<int> ids(const QList<RetrievalInput> &inputs)
    {
        const Condition c = RetrievalCondition(db().dialect(), m_boxes, inputs);
        RecordSet rs(db());
        rs.open("员工", {}, c.sql(), c.binds(), "id");
        QList<int> out;
        for (int i = 0; i < rs.rowCount(); ++i)
            out << rs.valueAt(i, "id").toInt();
        return out;
    }

    QList<RetrievalBox> m_boxes;
};

TEST_P(RetrievalOnEngine, BoxesBecomeBoundConditions)
{
    ASSERT_EQ(m_boxes.size(), 4);
    const struct {
        QList<RetrievalInput> inputs;
        QList<int> expected;
    } cases[] = {
        {{}, {1, 2, 3, 4}},
        {{{"张"}}, {1, 2}},
        {{{"%"}}, {2}},
        {{{"_"}}, {3}},
        {{{"o'b"}}, {4}},
        {{{}, {"30"}}, {1, 4}},
        {{{}, {"30", "41"}}, {1, 2, 4}},
        {{{}, {"", "29.5"}}, {3}},
        {{{"张"}, {"30"}}, {1}},
        {{{}, {}, {"1996-05-01"}}, {1}},
        {{{}, {}, {"1990-01-01", "1996-05-02"}}, {1, 4}},
        {{{}, {}, {}, {"2026-03-04"}}, {2, 4}},              // a lone date: the whole day
        {{{}, {}, {}, {"2026-03-02", "2026-03-04"}}, {2, 4}}, // the end day keeps its 23:30
        {{{}, {}, {}, {"", "2026-03-01"}}, {1}},
    };
    for (const auto &c : cases) {
        QString label;
        for (const RetrievalInput &in : c.inputs)
            label += "[" + in.lower + ".." + in.upper + "]";
        EXPECT_EQ(ids(c.inputs), c.expected) << label.toStdString();
    }
}

TEST_P(RetrievalOnEngine, BadNumbersAndDatesAreReported)
{
    try {
        ids({{}, {"30 or 1=1"}});
        ADD_FAILURE() << "a non-number was used";
    } catch (const DbError &e) {
        EXPECT_EQ(e.message(), "输入非法的数值！");
    }
    try {
        ids({{}, {}, {"1996-02-30"}});
        ADD_FAILURE() << "a non-date was used";
    } catch (const DbError &e) {
        EXPECT_EQ(e.message(), "输入非法的日期！");
    }
}

VEK_BOTH_ENGINES(RetrievalOnEngine);
