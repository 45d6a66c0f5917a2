#include "security/RightsFixture.h"

#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "security/Permissions.h"
#include "security/ui/TfrmAppProperty.h"
#include "security/ui/TfrmRecord.h"
#include "security/ui/TfrmUserRight.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using namespace vek;
using vek::test::RightsFixture;

namespace {

template <typename T = QWidget>
T *child(QObject *parent, const QString &name)
{
    T *w = parent->findChild<T *>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
}

// Clicks near a check box's indicator (its label part may be narrower than the widget).
void click(QAbstractButton *b)
{
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(b->isVisible()) << b->objectName().toStdString();
    const QPoint at = qobject_cast<QCheckBox *>(b) ? QPoint(6, b->height() / 2) : b->rect().center();
    QTest::mouseClick(b, Qt::LeftButton, {}, at);
}

QCheckBox *box(QObject *dialog, const QString &row, const char *name)
{
    QWidget *r = child(dialog, row);
    return r ? child<QCheckBox>(r, QLatin1String(name)) : nullptr;
}

} // namespace

class RightsWindows : public RightsFixture {
protected:
    void SetUp() override
    {
        RightsFixture::SetUp();
        if (IsSkipped())
            return;
        m_ini = std::make_unique<IniFile>(QDir(testDb().dir()).filePath("vek2000.Ini"));
        addUser("bob", "1");
        addUser("carol", "1");
        addUser("dave", "1");
        form = addResource("学生档案", "学生", "0", "bob", true);
        Query::run(db(), "UPDATE usys_system SET CreateDate = :d WHERE id = :id",
                   {{":d", QDateTime(QDate(2024, 3, 5), QTime(8, 30))}, {":id", form}});
        grant(form, "carol", rights("bu"));
    }

    AppContext &as(const QString &name, int level)
    {
        m_ctx = std::make_unique<AppContext>(AppContext{db(), *m_ini, prompter, m_clock, user(name, level)});
        return *m_ctx;
    }

    void showAccessPage(TfrmAppProperty &dlg)
    {
        dlg.show();
        child<QTabWidget>(&dlg, "pages")->setCurrentIndex(1);
        QApplication::processEvents();
    }

    ScriptedPrompter prompter;
    int form = 0;

private:
    std::unique_ptr<IniFile> m_ini;
    FixedClock m_clock{QDateTime(QDate(2024, 3, 5), QTime(9, 0))};
    std::unique_ptr<AppContext> m_ctx;
};

TEST_P(RightsWindows, PropertiesConfirmWritesOnlyWhatWasTicked)
{
    TfrmAppProperty dlg(as("admin", 0));
    ASSERT_TRUE(dlg.load(form));
    showAccessPage(dlg);
    EXPECT_EQ(dlg.windowTitle(), "应用窗体属性");
    EXPECT_EQ(child<QLineEdit>(&dlg, "edtCreateDate")->text(), "2024-03-05 08:30:00");
    EXPECT_EQ(child<QLabel>(&dlg, "lblTable")->text(), "表名称:");
    EXPECT_EQ(child<QTabWidget>(&dlg, "pages")->tabText(1), "访问控制");

    EXPECT_FALSE(child(&dlg, "userRow_bob")->isEnabled()); // the owner
    EXPECT_TRUE(box(&dlg, "userRow_bob", "export")->isChecked());
    EXPECT_TRUE(box(&dlg, "userRow_dave", "browse")->isChecked());
    EXPECT_FALSE(box(&dlg, "userRow_dave", "update")->isChecked());
    EXPECT_EQ(child(child(&dlg, "userRow_dave"), "fieldRights")->toolTip(), "dave:共享字段读写设置");

    click(box(&dlg, "userRow_dave", "browse"));
    click(box(&dlg, "userRow_dave", "print"));
    EXPECT_TRUE(box(&dlg, "userRow_dave", "browse")->isChecked()); // ticked again with print

    click(child<QPushButton>(&dlg, "btnOk"));
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(rightsRows(), (QStringList{QString("%1/carol/110000").arg(form), QString("%1/dave/100010").arg(form)}));
    EXPECT_TRUE(prompter.shown().isEmpty());
}

TEST_P(RightsWindows, PropertiesConfirmedUnchangedLeaveRightsAlone)
{
    const QStringList before = rightsRows();
    TfrmAppProperty dlg(as("admin", 0));
    ASSERT_TRUE(dlg.load(form));
    dlg.show();
    click(child<QPushButton>(&dlg, "btnOk"));
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(rightsRows(), before);
}

TEST_P(RightsWindows, PropertiesOnlyInformOtherUsers)
{
    TfrmAppProperty dlg(as("carol", 1));
    ASSERT_TRUE(dlg.load(form));
    dlg.show();
    EXPECT_EQ(child<QTabWidget>(&dlg, "pages")->count(), 1);
    EXPECT_FALSE(child<QPushButton>(&dlg, "btnOk")->isVisible());
    click(child<QPushButton>(&dlg, "btnCancel"));
    EXPECT_EQ(dlg.result(), QDialog::Rejected);

    const int link = addResource("主页", "", "2", "admin", true, {}, "www.example.org");
    TfrmAppProperty info(as("admin", 0));
    ASSERT_TRUE(info.load(link));
    EXPECT_EQ(child<QLabel>(&info, "lblTable")->text(), "文件名称:");
    EXPECT_EQ(child<QLineEdit>(&info, "edtTable")->text(), "www.example.org");

    const int hidden = addResource("工资", "工资", "0", "alice", false);
    TfrmAppProperty refused(as("dave", 1));
    EXPECT_FALSE(refused.load(hidden));
    EXPECT_EQ(prompter.lastText(), Permissions::noRightsText());
}

TEST_P(RightsWindows, FieldPanelSavesAndReturnsToThePages)
{
    Query::run(db(), "CREATE TABLE " + db().dialect().quoteIdent("学生") + " (学号 varchar(10), 姓名 varchar(20))");
    TfrmAppProperty dlg(as("bob", 1));
    ASSERT_TRUE(dlg.load(form));
    showAccessPage(dlg);

    click(child<QToolButton>(child(&dlg, "userRow_carol"), "fieldRights"));
    QApplication::processEvents();
    EXPECT_EQ(dlg.windowTitle(), "字段授权:carol:共享字段读写设置");
    EXPECT_EQ(child<QStackedWidget>(&dlg, "stack")->currentWidget()->objectName(), "fieldPanel");
    EXPECT_FALSE(child<QPushButton>(&dlg, "btnOk")->isVisible());
    EXPECT_TRUE(box(&dlg, "fieldRow_学号", "read")->isChecked());
    click(box(&dlg, "fieldRow_姓名", "write"));
    click(child<QPushButton>(&dlg, "btnFieldOk"));
    QApplication::processEvents();

    EXPECT_EQ(fieldRows(), QStringList{QString("%1/carol/姓名/r-").arg(form)});
    EXPECT_EQ(dlg.windowTitle(), "应用窗体属性");
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(child<QPushButton>(&dlg, "btnOk")->isVisible());
    EXPECT_EQ(dlg.findChild<QWidget *>("fieldRow_姓名"), nullptr);
}

TEST_P(RightsWindows, PerUserDialogSelectsAllAndSaves)
{
    TfrmUserRight refused(as("bob", 1));
    EXPECT_FALSE(refused.load("carol"));
    EXPECT_EQ(prompter.lastText(), Permissions::noRightsText());

    const int staff = addResource("教师档案", "教师", "0", "alice", false);
    TfrmUserRight dlg(as("admin", 0));
    ASSERT_TRUE(dlg.load("carol"));
    dlg.show();
    QApplication::processEvents();
    EXPECT_EQ(child<QLabel>(&dlg, "lblUser")->text(), "carol");
    const QString formRow = QString("resRow_%1").arg(form);
    const QString staffRow = QString("resRow_%1").arg(staff);
    EXPECT_EQ(child(child(&dlg, formRow), "title")->toolTip(), "共享窗体");
    EXPECT_TRUE(child(child(&dlg, staffRow), "title")->toolTip().isEmpty());

    click(box(&dlg, staffRow, "export"));
    EXPECT_TRUE(box(&dlg, staffRow, "browse")->isChecked());

    auto *selectAll = child<QPushButton>(&dlg, "btnSelectAll");
    click(selectAll);
    EXPECT_EQ(selectAll->text(), "全清");
    EXPECT_TRUE(box(&dlg, formRow, "delete")->isChecked());
    EXPECT_TRUE(box(&dlg, staffRow, "all")->isChecked());
    click(box(&dlg, formRow, "all")); // the row's own box clears its six
    EXPECT_FALSE(box(&dlg, formRow, "browse")->isChecked());

    click(child<QPushButton>(&dlg, "btnSave"));
    EXPECT_EQ(prompter.lastText(), "用户carol权限设置保存完成!");
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(rightsRows(),
              (QStringList{QString("%1/carol/000000").arg(form), QString("%1/carol/111111").arg(staff)}));
}

TEST_P(RightsWindows, PickerReturnsTheTickedNames)
{
    addUser("Li", "1", "教师组");
    Query::run(db(), "INSERT INTO usys_usergroup (GroupName) VALUES ('学生组'), ('教师组')");

    TfrmRecord dlg(as("admin", 0));
    ASSERT_TRUE(dlg.load(NameList{{"li"}, {"学生组"}}));
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "选择接收消息用户");
    EXPECT_TRUE(child<QCheckBox>(&dlg, "user_Li")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(&dlg, "user_bob")->isChecked());
    click(child<QCheckBox>(&dlg, "user_bob"));
    child<QTabWidget>(&dlg, "pages")->setCurrentIndex(1);
    QApplication::processEvents();
    EXPECT_TRUE(child<QCheckBox>(&dlg, "group_学生组")->isChecked());
    click(child<QCheckBox>(&dlg, "group_教师组"));
    click(child<QPushButton>(&dlg, "btnOk"));
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    NameList got = dlg.names();
    got.groups.sort();
    EXPECT_EQ(got.users, (QStringList{"bob", "Li"}));
    EXPECT_EQ(got.groups, (QStringList{"学生组", "教师组"}));

    TfrmRecord cancelled(as("admin", 0));
    ASSERT_TRUE(cancelled.load({}));
    cancelled.show();
    click(child<QPushButton>(&cancelled, "btnCancel"));
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
}

VEK_BOTH_ENGINES(RightsWindows);
