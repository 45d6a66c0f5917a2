#include "grid/SchoolMode.h"
#include "grid/ui/SchoolPanel.h"
#include "platform/Condition.h"
#include "platform/Query.h"
#include "security/Permissions.h"
#include "support/DemoFixture.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace vek;

namespace {

const QString kTestClass = QStringLiteral("测试班");

// The demo library with what the school modes need: a status field and the class table
// (added here when the demo does not have them yet), and two students of a class of their own.
class SchoolPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        f.db.openSqliteFile(f.libraryPath());
        bool hasStatus = false;
        for (const ColumnInfo &c : f.db.columns(QStringLiteral("学生档案")))
            hasStatus = hasStatus || c.name == QStringLiteral("当前状态");
        if (!hasStatus)
            Query::run(f.db, "ALTER TABLE 学生档案 ADD COLUMN 当前状态 varchar(10)");
        if (!f.db.tableExists(QStringLiteral("班级管理"))) {
            Query::run(f.db, "CREATE TABLE 班级管理 (班级名称 varchar(20))");
            for (const char *name : {"初一(1)班", "初一(2)班", "初二(1)班"})
                Query::run(f.db, "INSERT INTO 班级管理 (班级名称) VALUES (:HostName)", {{":HostName", QString(name)}});
        }
        for (const auto &[number, name] : {std::pair{"D001", "张同学"}, {"D002", "李同学"}})
            Query::run(f.db,
                       "INSERT INTO 学生档案 (编号, 姓名, 班级, 当前状态) VALUES (:HostNumber, :HostName, :HostClass, '在校')",
                       {{":HostNumber", QString(number)}, {":HostName", QString(name)}, {":HostClass", kTestClass}});
    }

    std::unique_ptr<SchoolPanel> panel(const QString &title, bool mayUpdate = true,
                                       const QString &table = QStringLiteral("学生档案"))
    {
        auto p = std::make_unique<SchoolPanel>(*f.ctx, DetectSchoolMode(title, table), table, title, mayUpdate);
        p->show();
        return p;
    }
    void showClass(SchoolPanel &p, const QString &cls, const QString &classField = QStringLiteral("班级"))
    {
        p.showStudents(Condition::compare(f.db.dialect(), classField, Condition::Op::Eq, cls), cls);
    }
    QTreeWidget *list(SchoolPanel &p) { return p.findChild<QTreeWidget *>("studentList"); }
    QPushButton *button(SchoolPanel &p, const char *name) { return p.findChild<QPushButton *>(name); }
    QString statusOf(const QVariant &key, const QString &sql = "SELECT 当前状态 FROM 学生档案 WHERE rowid = :HostKey")
    {
        return Query::scalar(f.db, sql, {{":HostKey", key}}).toString();
    }
    int inClass(const QString &cls)
    {
        return Query::scalar(f.db, "SELECT count(*) FROM 学生档案 WHERE 班级 = :HostClass", {{":HostClass", cls}})
            .toInt();
    }

    test::DemoFixture f;
};

} // namespace

TEST_F(SchoolPanelTest, ListsStudentsWithTheirRowKeysAndWithoutTheStatusColumn)
{
    auto p = panel(QStringLiteral("学生毕业"));
    QSignalSpy counts(p.get(), &SchoolPanel::countChanged);
    showClass(*p, kTestClass);
    QTreeWidget *l = list(*p);
    ASSERT_EQ(l->topLevelItemCount(), 2);
    QStringList headers;
    for (int c = 0; c < l->columnCount(); ++c)
        headers << l->headerItem()->text(c);
    EXPECT_EQ(headers.first(), "编号");
    EXPECT_FALSE(headers.contains("当前状态"));
    EXPECT_EQ(l->columnCount(), f.db.columns(QStringLiteral("学生档案")).size() - 1);
    EXPECT_EQ(l->topLevelItem(0)->text(0), "D001");
    EXPECT_NE(l->topLevelItem(0)->data(0, Qt::UserRole), l->topLevelItem(1)->data(0, Qt::UserRole));
    EXPECT_EQ(l->topLevelItem(0)->checkState(0), Qt::Unchecked);
    EXPECT_EQ(p->findChild<QLabel *>("countLabel")->text(), "学生数:2");
    ASSERT_FALSE(counts.isEmpty());
    EXPECT_EQ(counts.last().at(0).toInt(), 2);
    EXPECT_EQ(button(*p, "actionButton")->text(), "毕业处理");
}

TEST_F(SchoolPanelTest, GraduationChangesExactlyTheCheckedStudentWhateverItsNumber)
{
    // Two children under one number: the entry's row key, not the number, says which.
    Query::run(f.db, "CREATE TABLE 幼儿信息 (bh varchar(10), xm varchar(20), class varchar(20), state varchar(10))");
    for (const char *name : {"张同号", "李同号"})
        Query::run(f.db, "INSERT INTO 幼儿信息 (bh, xm, class, state) VALUES ('Y01', :HostName, '小班', '在校')",
                   {{":HostName", QString(name)}});
    const QString status = "SELECT state FROM 幼儿信息 WHERE rowid = :HostKey";
    auto p = panel(QStringLiteral("学生毕业"), true, QStringLiteral("幼儿信息"));
    showClass(*p, QStringLiteral("小班"), QStringLiteral("class"));
    QTreeWidget *l = list(*p);
    const QVariant first = l->topLevelItem(0)->data(0, Qt::UserRole);
    const QVariant second = l->topLevelItem(1)->data(0, Qt::UserRole);
    ASSERT_EQ(l->topLevelItemCount(), 2);
    EXPECT_EQ(l->topLevelItem(0)->text(0), l->topLevelItem(1)->text(0));
    l->topLevelItem(1)->setCheckState(0, Qt::Checked);

    f.prompter.answerNext(Prompter::Answer::No);
    QTest::mouseClick(button(*p, "actionButton"), Qt::LeftButton);
    EXPECT_EQ(f.prompter.lastText(), "请确认要对选中的学生做毕业处理吗？");
    EXPECT_EQ(statusOf(second, status), "在校");
    EXPECT_EQ(l->topLevelItemCount(), 2);

    QSignalSpy changed(p.get(), &SchoolPanel::studentsChanged);
    f.prompter.answerNext(Prompter::Answer::Yes);
    QTest::mouseClick(button(*p, "actionButton"), Qt::LeftButton);
    EXPECT_EQ(f.prompter.lastText(), "共处理毕业学生1名！");
    EXPECT_EQ(statusOf(second, status), "毕业");
    EXPECT_EQ(statusOf(first, status), "在校");
    ASSERT_EQ(l->topLevelItemCount(), 1);
    EXPECT_EQ(l->topLevelItem(0)->data(0, Qt::UserRole), first);
    EXPECT_EQ(p->findChild<QLabel *>("countLabel")->text(), "学生数:1");
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(SchoolPanelTest, PromotionStartsCheckedAndMovesTheClassToTheChosenOne)
{
    const QString from = QStringLiteral("初一(1)班");
    const int students = inClass(from);
    ASSERT_GT(students, 0);
    auto p = panel(QStringLiteral("学生升级"));
    QStringList offered;
    p->setClassChooser([&](const QStringList &names) {
        offered = names;
        return std::optional<QString>(QStringLiteral("初二(1)班"));
    });
    showClass(*p, from);
    QTreeWidget *l = list(*p);
    ASSERT_EQ(l->topLevelItemCount(), students);
    for (int i = 0; i < l->topLevelItemCount(); ++i)
        EXPECT_EQ(l->topLevelItem(i)->checkState(0), Qt::Checked) << i;
    EXPECT_EQ(button(*p, "actionButton")->text(), "升级处理");

    const int before = inClass(QStringLiteral("初二(1)班"));
    QTest::mouseClick(button(*p, "actionButton"), Qt::LeftButton);
    EXPECT_FALSE(offered.isEmpty());
    EXPECT_FALSE(offered.contains(from)); // the class shown is not offered
    EXPECT_EQ(f.prompter.lastText(), ClassChangeDoneText(students));
    EXPECT_EQ(inClass(from), 0);
    EXPECT_EQ(inClass(QStringLiteral("初二(1)班")), before + students);
    EXPECT_EQ(l->topLevelItemCount(), 0);
}

TEST_F(SchoolPanelTest, CancelledClassChoiceWritesNothing)
{
    auto p = panel(QStringLiteral("学生调班"));
    p->setClassChooser([](const QStringList &) { return std::optional<QString>(); });
    showClass(*p, kTestClass);
    list(*p)->topLevelItem(0)->setCheckState(0, Qt::Checked);
    QTest::mouseClick(button(*p, "actionButton"), Qt::LeftButton);
    EXPECT_EQ(inClass(kTestClass), 2);
    EXPECT_EQ(list(*p)->topLevelItemCount(), 2);
    EXPECT_TRUE(f.prompter.shown().isEmpty());
}

TEST_F(SchoolPanelTest, CheckAllTogglesTheMarksAndItsCaption)
{
    auto p = panel(QStringLiteral("学生毕业"));
    showClass(*p, kTestClass);
    QPushButton *toggle = button(*p, "checkAllButton");
    QTreeWidget *l = list(*p);
    EXPECT_EQ(toggle->text(), "全部选中");
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_EQ(toggle->text(), "全部清除");
    EXPECT_EQ(p->checkedKeys().size(), 2);
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_EQ(toggle->text(), "全部选中");
    EXPECT_TRUE(p->checkedKeys().isEmpty());
    EXPECT_EQ(l->topLevelItem(1)->checkState(0), Qt::Unchecked);
}

TEST_F(SchoolPanelTest, WithoutTheUpdateRightNothingIsWritten)
{
    auto p = panel(QStringLiteral("学生调班"), false);
    bool asked = false;
    p->setClassChooser([&](const QStringList &) {
        asked = true;
        return std::optional<QString>(QStringLiteral("初一(2)班"));
    });
    showClass(*p, kTestClass);
    list(*p)->topLevelItem(0)->setCheckState(0, Qt::Checked);
    QTest::mouseClick(button(*p, "actionButton"), Qt::LeftButton);
    EXPECT_FALSE(asked);
    ASSERT_EQ(f.prompter.shown().size(), 1);
    EXPECT_EQ(f.prompter.shown().first().icon, Prompter::Icon::Error);
    EXPECT_EQ(f.prompter.lastText(), Permissions::noRightsText());
    EXPECT_EQ(inClass(kTestClass), 2);
    EXPECT_EQ(list(*p)->topLevelItemCount(), 2);
}

TEST_F(SchoolPanelTest, AFailingBatchChangesNoneAndKeepsTheList)
{
    // The second student cannot be changed: the whole batch must stay undone.
    QSqlQuery trigger(f.db.database());
    ASSERT_TRUE(trigger.exec("CREATE TRIGGER stop_li BEFORE UPDATE ON 学生档案 WHEN OLD.姓名 = '李同学' "
                             "BEGIN SELECT RAISE(ABORT, 'locked row'); END"));
    auto p = panel(QStringLiteral("学生毕业"));
    showClass(*p, kTestClass);
    QTest::mouseClick(button(*p, "checkAllButton"), Qt::LeftButton);
    const QVariantList keys = p->checkedKeys();
    ASSERT_EQ(keys.size(), 2);
    f.prompter.answerNext(Prompter::Answer::Yes);
    QTest::mouseClick(button(*p, "actionButton"), Qt::LeftButton);
    EXPECT_EQ(f.prompter.shown().last().icon, Prompter::Icon::Error);
    EXPECT_TRUE(f.prompter.lastText().contains("locked row")) << f.prompter.lastText().toStdString();
    EXPECT_FALSE(f.prompter.texts().contains(GraduateDoneText(1)));
    for (const QVariant &k : keys)
        EXPECT_EQ(statusOf(k), "在校");
    EXPECT_EQ(list(*p)->topLevelItemCount(), 2);
}
