#include "security/ui/TfrmLogin.h"
#include "security/ui/TfrmPassword.h"
#include "WindowInput.h"

#include "security/SecurityFixture.h"
#include "security/UserAccounts.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace vek;
using vek::test::addUser;
using vek::test::clickOn;
using vek::test::pressKey;
using vek::test::typeInto;
using Icon = Prompter::Icon;

namespace {

const QString kCannotLogin = QStringLiteral(
    "系统无法让您登录。请确定您的用户名，然后再次输入密码。密码必须使用正确的大小写。请确定是否因为疏忽而按下了Caps Lock。");
const QString kWrongUnlock =
    QStringLiteral("密码不正确，请重新输入密码。密码的字母必须使用正确的大小写。请确定是否因为疏忽而按下了Caps Lock");

// Window tests on a library file; the database rules run on both engines elsewhere.
class LoginWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateFullCatalog(lib.db());
        env = std::make_unique<test::SecurityEnv>(lib.db(), lib.dir());
        addUser(lib.db(), "bob", PasswordHash::hash("pw"), "1", QStringLiteral("教师"));
        UserAccounts(lib.db()).setPassword("admin", "adminpw");
    }

    TDModule &db() { return lib.db(); }
    AppContext &ctx() { return env->ctx; }
    ScriptedPrompter &prompter() { return env->prompter; }

    template <class T> static T *child(QWidget &w, const char *name)
    {
        T *c = w.findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QStringList logKinds()
    {
        QStringList out;
        for (const auto &r : test::logRows(db()))
            out << r.kind + "/" + r.app;
        return out;
    }

    test::CheapHashing cheap;
    test::TestDatabase lib{Engine::Sqlite};
    std::unique_ptr<test::SecurityEnv> env;
};

} // namespace

TEST_F(LoginWindowTest, NormalFormLogsInTheChosenUser)
{
    TfrmLogin dlg(ctx());
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("用户登录"));
    auto *list = child<QComboBox>(dlg, "userList");
    auto *name = child<QLineEdit>(dlg, "userName");
    auto *password = child<QLineEdit>(dlg, "password");
    EXPECT_TRUE(list->isVisible());
    EXPECT_FALSE(name->isVisible());
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    EXPECT_EQ(list->currentIndex(), -1); // the preset "系统管理员" is no account here
    EXPECT_EQ(dlg.focusWidget(), password);

    list->setCurrentIndex(list->findText("bob"));
    EXPECT_EQ(name->text(), "bob");
    typeInto(password, "pw");
    clickOn(child<QPushButton>(dlg, "okButton"));

    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(dlg.loggedIn());
    EXPECT_EQ(ctx().user.name, "bob");
    EXPECT_EQ(ctx().user.group, QStringLiteral("教师"));
    EXPECT_EQ(env->ini.value("Login", "UserName"), "bob");
    EXPECT_TRUE(prompter().shown().isEmpty());
}

TEST_F(LoginWindowTest, ThirdWrongPasswordEndsTheDialog)
{
    env->ini.setValue("vek2000", "LoginCount", "3");
    env->ini.setValue("vek2000", "UserCancel", "1");
    env->ini.setValue("vek2000", "UserList", "0");
    TfrmLogin dlg(ctx());
    dlg.show();
    auto *name = child<QLineEdit>(dlg, "userName");
    auto *password = child<QLineEdit>(dlg, "password");
    EXPECT_TRUE(name->isVisible());
    name->clear();
    typeInto(name, "bob");
    for (int attempt = 1; attempt <= 3; ++attempt) {
        EXPECT_TRUE(dlg.isVisible()) << attempt;
        password->clear();
        typeInto(password, "wrong");
        clickOn(child<QPushButton>(dlg, "okButton"));
    }
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_FALSE(dlg.loggedIn());
    EXPECT_TRUE(dlg.terminateProgram());
    EXPECT_FALSE(ctx().user.loggedIn());

    const auto &shown = prompter().shown();
    ASSERT_EQ(shown.size(), 4);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(shown[i].text, kCannotLogin);
        EXPECT_EQ(shown[i].caption, QStringLiteral("登录消息"));
        EXPECT_EQ(shown[i].icon, Icon::Warning);
    }
    EXPECT_EQ(shown[3].text, QStringLiteral("登录失败，请于管理员联系!"));
    EXPECT_EQ(shown[3].caption, QStringLiteral("登录消息"));
    EXPECT_EQ(shown[3].icon, Icon::Warning);
}

TEST_F(LoginWindowTest, CancelLogsAndTerminatesOnlyWithUserCancel)
{
    struct Case {
        const char *userCancel;
        bool byEscape;
    };
    for (const Case &c : {Case{nullptr, false}, Case{"1", false}, Case{"1", true}}) {
        if (c.userCancel)
            env->ini.setValue("vek2000", "UserCancel", c.userCancel);
        ctx().user.name = "bob";
        TfrmLogin dlg(ctx());
        dlg.show();
        if (c.byEscape)
            pressKey(&dlg, Qt::Key_Escape);
        else
            clickOn(child<QPushButton>(dlg, "cancelButton"));
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_FALSE(dlg.loggedIn());
        EXPECT_EQ(dlg.terminateProgram(), c.userCancel != nullptr);
        EXPECT_FALSE(ctx().user.loggedIn());
    }
    EXPECT_EQ(logKinds(), QStringList(3, QStringLiteral("取消登录/")));
}

TEST_F(LoginWindowTest, UnlockFormOpensOnlyToTheCurrentUsersPassword)
{
    ctx().user = CurrentUser{"bob", 1, QStringLiteral("教师"), true};
    TfrmLogin dlg(ctx());
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("解除应用锁定"));
    EXPECT_EQ(child<QGroupBox>(dlg, "groupBox")->title(), QStringLiteral("只能由bob来解除琐定"));
    EXPECT_TRUE(child<QLabel>(dlg, "picture")->property("locked").toBool());
    auto *list = child<QComboBox>(dlg, "userList");
    auto *name = child<QLineEdit>(dlg, "userName");
    EXPECT_FALSE(list->isEnabled());
    EXPECT_EQ(list->currentText(), "bob");
    EXPECT_FALSE(name->isEnabled());
    EXPECT_EQ(name->text(), "bob");
    auto *cancel = child<QPushButton>(dlg, "cancelButton");
    EXPECT_FALSE(cancel->isEnabled());
    EXPECT_FALSE(child<QPushButton>(dlg, "changePasswordButton")->isVisible());

    // No way out but the password.
    clickOn(cancel);
    pressKey(&dlg, Qt::Key_Escape);
    dlg.close();
    EXPECT_TRUE(dlg.isVisible());

    auto *password = child<QLineEdit>(dlg, "password");
    auto *ok = child<QPushButton>(dlg, "okButton");
    typeInto(password, "adminpw"); // the administrator's password does not unlock bob's session
    clickOn(ok);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(password->text().isEmpty());
    ASSERT_EQ(prompter().shown().size(), 1);
    EXPECT_EQ(prompter().shown()[0].text, kWrongUnlock);
    EXPECT_EQ(prompter().shown()[0].caption, QStringLiteral("应用已琐定"));
    EXPECT_EQ(prompter().shown()[0].icon, Icon::Error);

    // Any number of tries: the unlock form never gives up.
    for (int i = 0; i < 4; ++i) {
        typeInto(password, "nope");
        clickOn(ok);
    }
    EXPECT_TRUE(dlg.isVisible());

    typeInto(password, "pw");
    clickOn(ok);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(dlg.loggedIn());
    EXPECT_EQ(ctx().user.name, "bob");
    EXPECT_TRUE(logKinds().isEmpty());
}

TEST_F(LoginWindowTest, LockNeedsALoggedInUnlockedUser)
{
    EXPECT_FALSE(TfrmLogin::lock(ctx()));
    ctx().user = CurrentUser{"bob", 1, {}, true};
    EXPECT_FALSE(TfrmLogin::lock(ctx()));
    EXPECT_TRUE(ctx().user.locked);
}

TEST_F(LoginWindowTest, ChangePasswordButtonChecksTheName)
{
    struct Case {
        const char *userList;
        const char *name;   // typed, or chosen in the list (nullptr: none chosen)
        QString message;    // empty: the change-password dialog opens
    };
    const QList<Case> cases = {
        {"1", nullptr, QStringLiteral("选择用户名!")},
        {"0", "", QStringLiteral("输入用户名!")},
        {"0", "ghost", QStringLiteral("非法用户名或口令!")},
        {"1", "bob", {}},
        {"0", "bob", {}},
    };
    for (const Case &c : cases) {
        env->ini.setValue("vek2000", "UserList", c.userList);
        prompter().clear();
        TfrmLogin dlg(ctx());
        dlg.show();
        auto *name = child<QLineEdit>(dlg, "userName");
        auto *list = child<QComboBox>(dlg, "userList");
        if (QLatin1String(c.userList) == QLatin1String("1"))
            list->setCurrentIndex(c.name ? list->findText(c.name) : -1);
        else {
            name->clear();
            typeInto(name, c.name);
        }
        clickOn(child<QPushButton>(dlg, "changePasswordButton"));

        auto *pw = dlg.findChild<TfrmPassword *>();
        if (c.message.isEmpty()) {
            ASSERT_NE(pw, nullptr) << c.name;
            EXPECT_TRUE(pw->isVisible());
            EXPECT_EQ(pw->findChild<QLabel *>("userNameLabel")->text(), "bob");
            EXPECT_TRUE(prompter().shown().isEmpty());
            pw->reject();
        } else {
            EXPECT_EQ(pw, nullptr);
            ASSERT_EQ(prompter().shown().size(), 1) << c.name;
            EXPECT_EQ(prompter().shown()[0].text, c.message);
            EXPECT_EQ(prompter().shown()[0].caption, QStringLiteral("登录消息"));
            EXPECT_EQ(prompter().shown()[0].icon, Icon::Warning);
        }
        EXPECT_TRUE(dlg.isVisible());
    }
}
