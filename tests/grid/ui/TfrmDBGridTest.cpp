#include "app/CurrentResource.h"
#include "app/GridHandOver.h"
#include "grid/ui/ClassificationPane.h"
#include "grid/ui/FindBarWidget.h"
#include "grid/ui/FooterView.h"
#include "grid/ui/TfrmDBGrid.h"
#include "platform/Query.h"
#include "support/DemoFixture.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace vek;

namespace {

class GridWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        f.db.openSqliteFile(f.libraryPath());
        f.ctx->user.name = "admin";
        f.ctx->user.level = 0;
    }

    int resourceId(const QString &title)
    {
        return Query::scalar(f.db, "SELECT id FROM usys_system WHERE AppTitle = :HostTitle", {{":HostTitle", title}}).toInt();
    }

    std::unique_ptr<TfrmDBGrid> openGrid(const QString &title)
    {
        const CurrentResource r = LoadCurrentResource(*f.ctx, resourceId(title));
        auto grid = std::make_unique<TfrmDBGrid>(*f.ctx, GridResourceFor(r, false));
        grid->setAttribute(Qt::WA_DeleteOnClose, false);
        grid->open();
        grid->resize(1000, 600);
        return grid;
    }

    int count(const QString &where = {}, const QVariantMap &binds = {})
    {
        Query q(f.db);
        q.prepare("SELECT count(*) FROM " + f.db.dialect().quoteIdent("学生档案") + (where.isEmpty() ? QString() : " WHERE " + where));
        for (auto it = binds.begin(); it != binds.end(); ++it)
            q.bind(it.key(), it.value());
        q.exec();
        return q.next() ? q.value(0).toInt() : -1;
    }

    int column(TfrmDBGrid &g, const QString &field) { return g.session().model().columnOf(field); }

    test::DemoFixture f;
};

TEST_F(GridWindow, OpensWithDictionaryTitlesCountsAndFooters)
{
    auto grid = openGrid("学生档案");
    const int students = count();
    ASSERT_GT(students, 10);
    EXPECT_EQ(grid->session().model().rowCount(), students);
    EXPECT_TRUE(grid->recordLabelText().endsWith(":" + QString::number(students))) << grid->recordLabelText().toStdString();
    const FooterView *footer = grid->footer();
    ASSERT_GT(footer->rows(), 0);
    const QVariant sum = Query::scalar(f.db, "SELECT sum(" + f.db.dialect().quoteIdent("入学成绩") + ") FROM " + f.db.dialect().quoteIdent("学生档案"));
    bool found = false;
    for (int r = 0; r < footer->rows(); ++r)
        found = found || footer->cell(r, column(*grid, "入学成绩")) == FooterText(sum);
    EXPECT_TRUE(found) << "the sum of 入学成绩 is in a footer row";
    EXPECT_FALSE(grid->recordHint().isEmpty());
    EXPECT_TRUE(grid->recordHint().contains(QStringLiteral("】∶")));
}

TEST_F(GridWindow, CalculatedColumnShowsExactAge)
{
    f.ini->setInt("学生档案", "CalcFieldCount", 1);
    f.ini->setValue("学生档案", "CalcField0", "年龄:now-出生日期");
    auto grid = openGrid("学生档案");
    GridViewModel &m = grid->session().model();
    const int calc = m.calcColumn(0);
    EXPECT_EQ(m.headerData(calc, Qt::Horizontal).toString(), "年龄");
    const QDate birth = QDate::fromString(m.records().valueAt(0, "出生日期").toString().left(10), Qt::ISODate);
    ASSERT_TRUE(birth.isValid());
    EXPECT_EQ(m.data(m.index(0, calc)).toString(), QString::number(AgeOn(birth, f.clock.today())));
}

TEST_F(GridWindow, ClassificationNodeFiltersAndNewRecordsTakeItsValue)
{
    f.ini->setValue("学生档案", "ClassField", "班级");
    f.ini->setBool("学生档案", "ClassDisplay", true);
    auto grid = openGrid("学生档案");
    ClassificationPane *pane = grid->classification();
    ASSERT_FALSE(pane->rootNode().children.isEmpty());
    const ClassNode &first = pane->rootNode().children.first();
    const QString value = first.value.toString();
    ASSERT_TRUE(pane->selectValue({first.value}));
    const int expected = count(f.db.dialect().quoteIdent("班级") + " = :HostV", {{":HostV", value}});
    EXPECT_EQ(grid->session().model().rowCount(), expected);
    if (first.count >= 0)
        EXPECT_EQ(first.count, expected);

    grid->addRecord();
    RecordSet &rs = grid->session().records();
    ASSERT_EQ(rs.state(), RecordSet::State::Insert);
    EXPECT_EQ(rs.value("班级").toString(), value);
    rs.cancel();
}

TEST_F(GridWindow, FindBarFiltersByEachRelationUnderTheStandingFilter)
{
    auto grid = openGrid("学生档案");
    FindBarWidget *bar = grid->findBar();
    auto *field = bar->findChild<QComboBox *>("findField");
    auto *relation = bar->findChild<QComboBox *>("findRelation");
    auto *value = bar->findChild<QLineEdit *>("findValue");
    ASSERT_TRUE(field && relation && value);
    const int at = field->findData(QStringLiteral("入学成绩"));
    ASSERT_GE(at, 0);
    field->setCurrentIndex(at);
    const char *ops[] = {"=", ">", ">=", "<", "<=", "<>"};
    const QString score = f.db.dialect().quoteIdent("入学成绩");
    for (int r = 0; r < 6; ++r) {
        relation->setCurrentIndex(r);
        value->setText("500");
        bar->filter();
        ASSERT_TRUE(bar->filterOn());
        EXPECT_EQ(grid->session().model().rowCount(), count(score + " " + ops[r] + " 500")) << ops[r];
        bar->filter(); // off again: the standing filter alone
        EXPECT_EQ(grid->session().model().rowCount(), count());
    }
    value->setText("abc");
    f.prompter.clear();
    bar->filter();
    EXPECT_EQ(f.prompter.lastText(), QStringLiteral("筛选的内容错误!"));
    EXPECT_FALSE(bar->filterOn());
}

TEST_F(GridWindow, FindMovesToTheNextMatchAndSaysWhenThereIsNone)
{
    auto grid = openGrid("学生档案");
    FindBarWidget *bar = grid->findBar();
    auto *field = bar->findChild<QComboBox *>("findField");
    auto *value = bar->findChild<QLineEdit *>("findValue");
    field->setCurrentIndex(field->findData(QStringLiteral("姓名")));
    value->setText(QStringLiteral("不存在的名字"));
    bar->find();
    EXPECT_EQ(f.prompter.lastText(), QStringLiteral("对不起，没找到你指定的记录!"));
    const QString last = grid->session().records().valueAt(grid->session().model().rowCount() - 1, "姓名").toString();
    value->setText(last);
    bar->find();
    EXPECT_EQ(grid->session().records().value("姓名").toString(), last);
}

TEST_F(GridWindow, RequiredAndUniqueRulesKeepTheInput)
{
    auto grid = openGrid("学生档案");
    RecordSet &rs = grid->session().records();
    const QString existing = rs.valueAt(0, "编号").toString();
    grid->addRecord();
    ASSERT_EQ(rs.state(), RecordSet::State::Insert);
    rs.setValue("编号", existing);
    rs.setValue("姓名", QStringLiteral("新同学"));
    f.prompter.answerNext(Prompter::Answer::No); // do not give it up: stay with the refused record
    EXPECT_FALSE(grid->settleEdit());
    EXPECT_EQ(f.prompter.lastText(), QStringLiteral("当前记录未能保存，是否放弃修改？"));
    EXPECT_TRUE(f.prompter.texts().join("\n").contains(QStringLiteral("字段内容不能重复,请检查!")))
        << f.prompter.texts().join("\n").toStdString();
    EXPECT_EQ(rs.state(), RecordSet::State::Insert);
    EXPECT_EQ(rs.value("姓名").toString(), QStringLiteral("新同学"));
    rs.cancel();
}

TEST_F(GridWindow, AnEditSurvivesSwitchingToAnotherWindowAndBack)
{
    QMdiArea mdi;
    mdi.resize(1000, 700);
    auto *grid = openGrid("学生档案").release();
    grid->setAttribute(Qt::WA_DeleteOnClose, true);
    QMdiSubWindow *sub = mdi.addSubWindow(grid);
    QObject::connect(&mdi, &QMdiArea::subWindowActivated, grid, [grid, sub](QMdiSubWindow *w) {
        if (w == sub)
            grid->activated();
    });
    auto *other = new QWidget;
    QMdiSubWindow *otherSub = mdi.addSubWindow(other);
    mdi.show();
    sub->show();
    otherSub->show();
    mdi.setActiveSubWindow(sub);

    GridViewModel &m = grid->session().model();
    m.setEditable(true);
    const int name = m.columnOf("姓名");
    ASSERT_TRUE(m.setData(m.index(2, name), QStringLiteral("改过的名字")));
    mdi.setActiveSubWindow(otherSub);
    mdi.setActiveSubWindow(sub);
    RecordSet &rs = grid->session().records();
    EXPECT_EQ(rs.state(), RecordSet::State::Edit);
    EXPECT_EQ(m.data(m.index(2, name)).toString(), QStringLiteral("改过的名字"));
    const QVariant key = rs.keyAt(2);
    // Closing posts it through the rules.
    sub->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Query::scalar(f.db, "SELECT " + f.db.dialect().quoteIdent("姓名") + " FROM " + f.db.dialect().quoteIdent("学生档案")
                                      + " WHERE rowid = :HostK",
                            {{":HostK", key}})
                  .toString(),
              QStringLiteral("改过的名字"));
}

TEST_F(GridWindow, DeleteAsksAndMultiRowDeleteIsAllOrNothing)
{
    auto grid = openGrid("学生档案");
    const int before = count();
    f.prompter.answerNext(Prompter::Answer::No);
    grid->deleteRecord();
    EXPECT_EQ(f.prompter.lastText(), QStringLiteral("确定要删除这条数据吗?"));
    EXPECT_EQ(count(), before);

    grid->table()->selectRow(0);
    grid->table()->selectionModel()->select(grid->session().model().index(1, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    f.prompter.answerNext(Prompter::Answer::Yes);
    grid->deleteSelectedRows();
    EXPECT_EQ(f.prompter.shown().last().text, QStringLiteral("是否要删除当前选择的2条数据记录?"));
    EXPECT_EQ(count(), before - 2);
    EXPECT_EQ(grid->session().model().rowCount(), before - 2);
}

TEST_F(GridWindow, SortingByTitleKeepsTheStandingFilterAndCtrlClears)
{
    auto grid = openGrid("学生档案");
    GridViewModel &m = grid->session().model();
    const int score = m.columnOf("入学成绩");
    Q_EMIT grid->table()->horizontalHeader()->sectionClicked(score);
    double previous = -1e9;
    for (int r = 0; r < m.rowCount(); ++r) {
        const double v = m.records().valueAt(r, "入学成绩").toDouble();
        EXPECT_GE(v, previous);
        previous = v;
    }
    EXPECT_FALSE(m.records().orderBy().isEmpty());
}

TEST_F(GridWindow, AUserWithoutDeleteRightIsRefusedByTheCommandItself)
{
    f.ctx->user.name = "teacher";
    f.ctx->user.level = 1;
    f.ctx->shownResourceTitles << QStringLiteral("学生档案");
    auto grid = openGrid("学生档案");
    const int before = count();
    EXPECT_FALSE(grid->action("actDelete")->isVisible());
    f.prompter.clear();
    grid->table()->selectRow(0);
    grid->clearRecords();
    EXPECT_EQ(count(), before);
    EXPECT_FALSE(f.prompter.shown().isEmpty()) << "the refusal is said";
}

} // namespace
