#include "dictionary/FieldDictionary.h"
#include "grid/FindBar.h"
#include "grid/ui/BirthdayPanel.h"
#include "grid/ui/RetrievalPanel.h"
#include "grid/ui/TfrmBrowseFieldList.h"
#include "grid/ui/TfrmClassAdjust.h"
#include "grid/ui/TfrmClassDialog.h"
#include "platform/Query.h"
#include "support/DemoFixture.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace vek;

TEST(BrowseFieldList, OffersTheValuesAndHandsBackTheOneChosen)
{
    TfrmBrowseFieldList w(QStringLiteral("班级"), {"初一(1)班", "初一(2)班", "初二(1)班"});
    EXPECT_EQ(w.windowTitle(), "选择:班级");
    auto *list = w.findChild<QListWidget *>("valueList");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(w.chosen(), "初一(1)班"); // first entry selected at start

    w.show();
    QTest::mouseClick(w.findChild<QPushButton *>("okButton"), Qt::LeftButton);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(w.chosen(), "初一(1)班");

    w.setResult(QDialog::Rejected);
    w.show();
    const QPoint at = list->visualItemRect(list->item(2)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.chosen(), "初二(1)班");

    w.show();
    QTest::mouseClick(w.findChild<QPushButton *>("cancelButton"), Qt::LeftButton);
    EXPECT_EQ(w.result(), QDialog::Rejected);
}

TEST(BrowseFieldList, NothingToChooseIsNotAChoice)
{
    TfrmBrowseFieldList w(QStringLiteral("姓名"), {});
    w.show();
    QTest::mouseClick(w.findChild<QPushButton *>("okButton"), Qt::LeftButton);
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_TRUE(w.chosen().isEmpty());
}

TEST(ClassAdjust, ConfirmHandsBackTheClassAndNeedsOne)
{
    TfrmClassAdjust w({"初一(2)班", "初二(1)班"});
    EXPECT_EQ(w.windowTitle(), "班级调整处理");
    w.show();
    w.findChild<QComboBox *>("classCombo")->setCurrentIndex(1);
    QTest::mouseClick(w.findChild<QPushButton *>("okButton"), Qt::LeftButton);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(w.chosen(), "初二(1)班");

    TfrmClassAdjust none({});
    EXPECT_FALSE(none.findChild<QPushButton *>("okButton")->isEnabled());
}

namespace {

class ClassDialogTest : public ::testing::Test {
protected:
    const QString section = QStringLiteral("学生档案");
    const QStringList captions = {"编号", "姓名", "性别", "班级"};
    test::DemoFixture f;
};

} // namespace

TEST_F(ClassDialogTest, OpeningTurnsTheTreeOnAndShowsTheStoredChoice)
{
    f.ini->setValue(section, "ClassField", "班级");
    f.ini->setValue(section, "ClassField1", "性别");
    f.ini->setValue(section, "ClassDisplay", "0");
    TfrmClassDialog w(*f.ini, f.prompter, section, captions);
    w.show();
    EXPECT_EQ(w.windowTitle(), "分组显示");
    EXPECT_TRUE(f.ini->boolValue(section, "ClassDisplay", false));
    auto *c0 = w.findChild<QComboBox *>("classCombo0");
    ASSERT_TRUE(c0);
    EXPECT_EQ(c0->count(), captions.size() + 1);
    EXPECT_EQ(c0->itemText(0), "");
    EXPECT_EQ(c0->currentText(), "班级");
    EXPECT_EQ(w.findChild<QComboBox *>("classCombo1")->currentText(), "性别");
    EXPECT_EQ(w.findChild<QComboBox *>("classCombo2")->currentText(), "");

    w.setCaptions({"姓名", "班级"});
    EXPECT_EQ(c0->count(), 3);
    EXPECT_EQ(c0->currentText(), "班级");
    EXPECT_EQ(w.findChild<QComboBox *>("classCombo1")->currentText(), ""); // 性别 is gone
}

TEST_F(ClassDialogTest, ConfirmStoresTheChoiceWithoutRepeats)
{
    struct Case {
        QStringList picked;
        QStringList stored;
    };
    const QList<Case> cases = {
        {{"班级", "姓名", "性别"}, {"班级", "姓名", "性别"}},
        {{"班级", "班级", "姓名"}, {"班级", "", "姓名"}},
        {{"班级", "姓名", "班级"}, {"班级", "姓名", ""}},
        {{"班级", "姓名", "姓名"}, {"班级", "姓名", ""}},
    };
    for (const Case &c : cases) {
        TfrmClassDialog w(*f.ini, f.prompter, section, captions);
        w.show();
        QSignalSpy accepted(&w, &QDialog::accepted);
        for (int i = 0; i < 3; ++i)
            w.findChild<QComboBox *>(QStringLiteral("classCombo%1").arg(i))->setCurrentText(c.picked[i]);
        QTest::mouseClick(w.findChild<QPushButton *>("okButton"), Qt::LeftButton);
        const QStringList stored = {f.ini->value(section, "ClassField"), f.ini->value(section, "ClassField1"),
                                    f.ini->value(section, "ClassField2")};
        EXPECT_EQ(stored, c.stored) << c.picked.join(',').toStdString();
        EXPECT_EQ(accepted.count(), 1);
        EXPECT_FALSE(w.isVisible());
    }
}

TEST_F(ClassDialogTest, CancelKeepsTheStoredChoice)
{
    f.ini->setValue(section, "ClassField", "班级");
    TfrmClassDialog w(*f.ini, f.prompter, section, captions);
    w.show();
    w.findChild<QComboBox *>("classCombo0")->setCurrentText("姓名");
    QTest::mouseClick(w.findChild<QPushButton *>("cancelButton"), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(f.ini->value(section, "ClassField"), "班级");
}

TEST(BirthdayPanelTest, StartsWithTodayAndReportsTheChosenSpan)
{
    BirthdayPanel p;
    p.show();
    QList<BirthdayChoice> chosen;
    QObject::connect(&p, &BirthdayPanel::choiceChanged, [&](BirthdayChoice c) { chosen << c; });
    QSignalSpy closed(&p, &BirthdayPanel::closeRequested);
    const QStringList labels = {"今天生日", "本周生日", "下周生日", "本月生日", "下月生日"};
    for (int i = 0; i < labels.size(); ++i)
        EXPECT_EQ(p.findChild<QRadioButton *>(QStringLiteral("choice%1").arg(i))->text(), labels[i]);
    EXPECT_TRUE(p.findChild<QRadioButton *>("choice0")->isChecked());
    EXPECT_EQ(p.choice(), BirthdayChoice::Today);

    QTest::mouseClick(p.findChild<QRadioButton *>("choice4"), Qt::LeftButton);
    QTest::mouseClick(p.findChild<QRadioButton *>("choice1"), Qt::LeftButton);
    EXPECT_EQ(chosen, (QList<BirthdayChoice>{BirthdayChoice::NextMonth, BirthdayChoice::ThisWeek}));
    EXPECT_EQ(p.choice(), BirthdayChoice::ThisWeek);

    auto *print = p.findChild<QPushButton *>("printButton");
    EXPECT_FALSE(print->isEnabled());
    EXPECT_EQ(print->toolTip(), "尚未提供");
    QTest::mouseClick(p.findChild<QPushButton *>("closeButton"), Qt::LeftButton);
    EXPECT_EQ(closed.count(), 1);
}

namespace {

class RetrievalPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        f.db.openSqliteFile(f.libraryPath());
        for (const auto &[number, name] : {std::pair{"X1", "O'Brien%"}, {"X2", "O'Brienx"}})
            Query::run(f.db, "INSERT INTO 学生档案 (编号, 姓名, 班级) VALUES (:HostNumber, :HostName, '外籍班')",
                       {{":HostNumber", QString(number)}, {":HostName", QString(name)}});
        panel = std::make_unique<RetrievalPanel>(*f.ctx, table, table, f.db.columns(table), QString(), Condition());
        panel->show();
        QObject::connect(panel.get(), &RetrievalPanel::queryRequested,
                         [this](const Condition &c) { emitted << c; });
    }
    int count(const Condition &c)
    {
        Query q(f.db);
        q.prepare("SELECT count(*) FROM 学生档案" + (c.isEmpty() ? QString() : " WHERE " + c.sql()));
        for (auto it = c.binds().begin(); it != c.binds().end(); ++it)
            q.bind(it.key(), it.value());
        q.exec();
        return q.next() ? q.value(0).toInt() : -1;
    }
    int count(const QString &where) { return Query::scalar(f.db, "SELECT count(*) FROM 学生档案 WHERE " + where).toInt(); }
    QPushButton *button(const QString &name) { return panel->findChild<QPushButton *>(name); }

    const QString table = QStringLiteral("学生档案");
    test::DemoFixture f;
    std::unique_ptr<RetrievalPanel> panel;
    QList<Condition> emitted;
};

} // namespace

TEST_F(RetrievalPanelTest, PlacesEachBoxWithItsLabelAsPlanned)
{
    const QList<RetrievalBox> &plan = panel->boxes();
    ASSERT_FALSE(plan.isEmpty());
    EXPECT_EQ(panel->objectName(), "RetrievalPanel");
    FieldDictionary dict(f.db);
    int browsable = 0;
    for (const RetrievalBox &b : plan) {
        SCOPED_TRACE(b.field.toStdString());
        QLineEdit *box = panel->box(b.field);
        ASSERT_TRUE(box);
        EXPECT_EQ(box->geometry().topLeft(), QPoint(b.left, b.row * 30 + 8));
        EXPECT_EQ(box->toolTip(), b.field);
        auto *label = panel->findChild<QLabel *>("label_" + b.field);
        ASSERT_TRUE(label);
        EXPECT_EQ(label->text(), dict.GetGridTitle(DictionaryKey(table, table), b.field) + ":");
        EXPECT_EQ(label->geometry().right() + 1, b.left - 10);
        EXPECT_TRUE(label->alignment() & Qt::AlignRight);
        auto *browse = panel->findChild<QPushButton *>("browse_" + b.field);
        EXPECT_EQ(browse != nullptr, b.browseButton);
        if (browse) {
            ++browsable;
            EXPECT_EQ(browse->text(), "浏览");
            EXPECT_EQ(browse->width(), 48);
        }
        EXPECT_EQ(panel->upperBox(b.field) != nullptr, b.hasUpper);
        if (b.hasUpper) {
            EXPECT_EQ(panel->upperBox(b.field)->geometry().topLeft(), QPoint(410, b.row * 30 + 8));
        }
    }
    EXPECT_GT(browsable, 0);
    ASSERT_TRUE(panel->upperBox("入学成绩"));
    ASSERT_TRUE(panel->upperBox("出生日期"));
}

TEST_F(RetrievalPanelTest, QueryBuildsABoundConditionFromTheFilledBoxes)
{
    struct Case {
        QList<std::tuple<QString, QString, QString>> typed; // field, lower, upper
        QString expectedWhere;                              // counted independently
    };
    const QList<Case> cases = {
        {{}, "1=1"},
        {{{"姓名", "O'Brien%", ""}}, "姓名 = 'O''Brien%'"},
        {{{"入学成绩", "500", "510"}}, "入学成绩 >= 500 AND 入学成绩 <= 510"},
        {{{"入学成绩", "", "450"}}, "入学成绩 <= 450"},
        {{{"出生日期", "2013-05-11", ""}}, "出生日期 = '2013-05-11'"},
        {{{"出生日期", "2013-04-01", "2013-06-30"}, {"性别", "女", ""}},
         "出生日期 BETWEEN '2013-04-01' AND '2013-06-30' AND 性别 LIKE '%女%'"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expectedWhere.toStdString());
        QTest::mouseClick(button("clearButton"), Qt::LeftButton);
        for (const auto &[field, lower, upper] : c.typed) {
            panel->box(field)->setText(lower);
            if (!upper.isEmpty())
                panel->upperBox(field)->setText(upper);
        }
        emitted.clear();
        QTest::mouseClick(button("queryButton"), Qt::LeftButton);
        ASSERT_EQ(emitted.size(), 1);
        const Condition &cond = emitted.first();
        EXPECT_FALSE(cond.sql().contains("O'Brien"));
        EXPECT_EQ(count(cond), count(c.expectedWhere));
    }
    EXPECT_EQ(count("姓名 = 'O''Brien%'"), 1);
    EXPECT_TRUE(f.prompter.shown().isEmpty());
}

TEST_F(RetrievalPanelTest, ANumberBoxRefusesOtherText)
{
    QLineEdit *score = panel->box("入学成绩");
    score->setFocus();
    QTest::keyClicks(score, "-5");
    EXPECT_EQ(score->text(), "-5");
    EXPECT_TRUE(f.prompter.shown().isEmpty());
    QTest::keyClicks(score, "x");
    EXPECT_EQ(score->text(), "");
    ASSERT_EQ(f.prompter.shown().size(), 1);
    EXPECT_EQ(f.prompter.shown().first().caption, "系统提示");
    EXPECT_EQ(f.prompter.shown().first().text, "输入非法的数值！");
    EXPECT_EQ(f.prompter.shown().first().icon, Prompter::Icon::Warning);

    // A number left unfinished is refused by the query, which then runs nothing.
    QLineEdit *upper = panel->upperBox("入学成绩");
    QTest::keyClicks(upper, "-");
    QTest::mouseClick(button("queryButton"), Qt::LeftButton);
    EXPECT_TRUE(emitted.isEmpty());
    EXPECT_EQ(f.prompter.lastText(), "输入非法的数值！");
}

TEST_F(RetrievalPanelTest, BrowseOffersTheValuesUnderTheStandingFilter)
{
    const Condition base = Condition::compare(f.db.dialect(), "性别", Condition::Op::Eq, "女");
    panel->setBase(base);
    QString title;
    QStringList offered;
    std::optional<QString> answer = QStringLiteral("初一(2)班");
    panel->setValueBrowser([&](const QString &t, const QStringList &values) {
        title = t;
        offered = values;
        return answer;
    });
    QTest::mouseClick(panel->findChild<QPushButton *>("browse_班级"), Qt::LeftButton);
    FieldDictionary dict(f.db);
    EXPECT_EQ(title, dict.GetGridTitle(DictionaryKey(table, table), "班级"));
    EXPECT_EQ(offered, DistinctValues(f.db, table, "班级", base));
    EXPECT_FALSE(offered.contains("外籍班")); // only rows under the standing filter
    EXPECT_EQ(panel->box("班级")->text(), "初一(2)班");

    answer.reset(); // cancelled: the box keeps its text
    QTest::mouseClick(panel->findChild<QPushButton *>("browse_班级"), Qt::LeftButton);
    EXPECT_EQ(panel->box("班级")->text(), "初一(2)班");
}

TEST_F(RetrievalPanelTest, DateBoxesTakeTheDateFromTheCalendar)
{
    QLineEdit *born = panel->upperBox("出生日期");
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(born, &in);
    QCalendarWidget *picker = panel->datePicker();
    ASSERT_TRUE(picker->isVisible());
    EXPECT_EQ(picker->selectedDate(), QDate(2026, 12, 11)); // empty box: today
    Q_EMIT picker->clicked(QDate(2013, 5, 1));
    EXPECT_EQ(born->text(), "2013-05-01");
    EXPECT_FALSE(picker->isVisible());
    EXPECT_TRUE(panel->box("出生日期")->text().isEmpty());
}

TEST_F(RetrievalPanelTest, ClearCancelAndClose)
{
    QSignalSpy cancelled(panel.get(), &RetrievalPanel::queryCancelled);
    QSignalSpy closed(panel.get(), &RetrievalPanel::closeRequested);
    panel->box("姓名")->setText("王");
    panel->upperBox("入学成绩")->setText("600");
    QTest::mouseClick(button("clearButton"), Qt::LeftButton);
    EXPECT_TRUE(panel->box("姓名")->text().isEmpty());
    EXPECT_TRUE(panel->upperBox("入学成绩")->text().isEmpty());
    QTest::mouseClick(button("cancelQueryButton"), Qt::LeftButton);
    EXPECT_EQ(cancelled.count(), 1);
    QTest::mouseClick(button("closeButton"), Qt::LeftButton);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(panel->isVisible());
}
