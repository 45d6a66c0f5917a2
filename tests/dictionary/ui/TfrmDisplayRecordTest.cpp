#include "dictionary/RecordChoice.h"
#include "dictionary/ui/TfrmDisplayRecord.h"
#include "platform/DbError.h"
#include "platform/Query.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>

using namespace vek;
using vek::test::EngineTest;

namespace {

void doubleClick(QWidget *viewport, const QPoint &pos)
{
    const QPointF local(pos);
    const QPointF global(viewport->mapToGlobal(pos));
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, local, global, Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &e);
    }
}

} // namespace

class RecordChooser : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        Query::run(db(), "CREATE TABLE t_class (code varchar(4), name varchar(20))");
        for (const auto &[code, name] : {std::pair{"01", "一班"}, {"02", "二班"}, {"03", "三班"}})
            Query::run(db(), "INSERT INTO t_class (code, name) VALUES (:HostCode, :HostName)",
                       {{":HostCode", code}, {":HostName", name}});
    }
};

TEST_P(RecordChooser, ShowsTheRowsReadOnlyAndTinted)
{
    RecordChoice choice = RecordChoice::fromTable(db(), "T_CLASS");
    TfrmDisplayRecord w(choice);
    EXPECT_EQ(w.windowTitle(), "选择");
    EXPECT_TRUE(w.isModal());
    auto *grid = w.findChild<QTableView *>("recordGrid");
    auto *hint = w.findChild<QLabel *>("hintLabel");
    auto *button = w.findChild<QPushButton *>("chooseButton");
    ASSERT_TRUE(grid && hint && button);
    EXPECT_EQ(hint->text(), "双击选中内容");
    EXPECT_EQ(button->text(), "选中");
    EXPECT_TRUE(button->isEnabled());
    ASSERT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(grid->model()->columnCount(), 2);
    EXPECT_EQ(grid->model()->index(1, 1).data().toString(), "二班");
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), "name");
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_TRUE(grid->alternatingRowColors());
    EXPECT_EQ(grid->palette().color(QPalette::AlternateBase), QColor(0xC4, 0xC4, 0xFF));
}

TEST_P(RecordChooser, ChooseTakesTheRowTheUserIsOn)
{
    RecordChoice choice = RecordChoice::fromTable(db(), "t_class");
    TfrmDisplayRecord w(choice);
    w.show();
    auto *grid = w.findChild<QTableView *>("recordGrid");
    grid->setCurrentIndex(grid->model()->index(2, 0));
    w.findChild<QPushButton *>("chooseButton")->click();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(choice.current(), 2);
    EXPECT_EQ(choice.currentRecord().value("code").toString(), "03");
}

TEST_P(RecordChooser, DoubleClickOnARowChoosesIt)
{
    RecordChoice choice = RecordChoice::fromTable(db(), "t_class");
    TfrmDisplayRecord w(choice);
    w.show();
    QApplication::processEvents();
    auto *grid = w.findChild<QTableView *>("recordGrid");
    const QRect cell = grid->visualRect(grid->model()->index(1, 1));
    ASSERT_TRUE(cell.isValid());
    doubleClick(grid->viewport(), cell.center());
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(choice.currentRecord().value("name").toString(), "二班");
}

TEST_P(RecordChooser, NothingToChooseWithoutRows)
{
    RecordChoice choice = RecordChoice::fromQuery(db(), "select * from t_class where code = 'zz'");
    TfrmDisplayRecord w(choice);
    w.show();
    auto *button = w.findChild<QPushButton *>("chooseButton");
    EXPECT_FALSE(button->isEnabled());
    button->click();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(choice.current(), -1);
    const QSqlRecord none = choice.currentRecord();
    EXPECT_EQ(none.count(), 2);
    EXPECT_TRUE(none.value("code").isNull());
    w.reject();
    EXPECT_EQ(w.result(), QDialog::Rejected);
}

TEST_P(RecordChooser, LookupRowsFallBackToTheWholeTable)
{
    EXPECT_EQ(RecordChoice::forLookup(db(), "select code from t_class where code > '01'", "t_class").rowCount(), 2);
    EXPECT_EQ(RecordChoice::forLookup(db(), "select nosuch from t_class", "t_class").rowCount(), 3);
    EXPECT_EQ(RecordChoice::forLookup(db(), "  ", "t_class").columnCount(), 2);
    EXPECT_THROW(RecordChoice::forLookup(db(), "select nosuch from t_class", "no_such"), DbError);
    // A stored text holds one statement only.
    EXPECT_THROW(RecordChoice::fromQuery(db(), "select * from t_class; delete from t_class"), DbError);
    EXPECT_EQ(Query::scalar(db(), "SELECT count(*) FROM t_class").toInt(), 3);
}

VEK_BOTH_ENGINES(RecordChooser);
