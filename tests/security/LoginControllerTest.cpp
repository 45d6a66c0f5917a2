#include "security/LoginController.h"
#include "security/PasswordChange.h"
#include "security/SecurityFixture.h"
#include "security/UserAccounts.h"

using namespace vek;
using Step = LoginController::Step;
using vek::test::addUser;

namespace {

class LoginControllerTest : public test::SecurityTest {};

class LoginWithoutUsersTable : public test::SecurityTest {
protected:
    bool withCatalog() const override { return false; }
};

} // namespace

TEST_P(LoginWithoutUsersTable, OpeningMakesTheTableWithItsDefaultAccounts)
{
    LoginController c(ctx());
    c.open();
    EXPECT_EQ(c.userList(), (QStringList{"admin", "user", "guest"}));
    EXPECT_EQ(c.confirm("guest", ""), Step::Stay);
    EXPECT_EQ(c.confirm("admin", ""), Step::LoggedIn);
    EXPECT_EQ(ctx().user.name, "admin");
    EXPECT_EQ(ctx().user.level, 0);
}

TEST_P(LoginControllerTest, AnExistingUsersTableIsKept)
{
    addUser(db(), "bob", QString(""));
    LoginController c(ctx());
    c.open();
    EXPECT_EQ(c.userList(), (QStringList{"admin", "bob"}));
}

TEST_P(LoginControllerTest, PresetNameFromTheSettings)
{
    addUser(db(), "bob", QString(""));
    struct Case {
        const char *splash;    // Splash/UserName, nullptr: absent
        const char *lastName;  // Login/UserName
        const char *current;   // current user name
        QString preset;
        int index;
    };
    const QList<Case> cases = {
        {nullptr, nullptr, "", QStringLiteral("系统管理员"), -1},
        {"1", "bob", "", "bob", 1},
        {nullptr, "bob", "admin", "admin", 0},
        {"0", "bob", "admin", "", -1},
    };
    for (const Case &k : cases) {
        env->ini.removeKey("Splash", "UserName");
        env->ini.removeKey("Login", "UserName");
        if (k.splash)
            env->ini.setValue("Splash", "UserName", k.splash);
        if (k.lastName)
            env->ini.setValue("Login", "UserName", k.lastName);
        ctx().user.name = k.current;
        LoginController c(ctx());
        c.open();
        EXPECT_EQ(c.presetName(), k.preset) << k.current;
        EXPECT_EQ(c.presetIndex(), k.index) << k.current;
        EXPECT_TRUE(c.useUserList());
    }

    env->ini.setValue("vek2000", "UserList", "0");
    LoginController typed(ctx());
    typed.open();
    EXPECT_FALSE(typed.useUserList());
    EXPECT_TRUE(typed.userList().isEmpty());
}

TEST_P(LoginControllerTest, SuccessSetsTheUserAndRemembersTheName)
{
    addUser(db(), "bob", PasswordHash::hash("pw"), "2", QStringLiteral("教研组"));
    LoginController c(ctx());
    c.open();
    EXPECT_EQ(c.confirm("bob", "pw"), Step::LoggedIn);
    EXPECT_TRUE(c.result());
    EXPECT_EQ(ctx().user.name, "bob");
    EXPECT_EQ(ctx().user.level, 2);
    EXPECT_EQ(ctx().user.group, QStringLiteral("教研组"));
    EXPECT_EQ(IniFile(env->ini.path()).value("Login", "UserName"), "bob");
    EXPECT_TRUE(prompter().shown().isEmpty());
}

TEST_P(LoginControllerTest, AtLeastOneAttemptWhateverTheSetting)
{
    env->ini.setValue("vek2000", "LoginCount", "0");
    LoginController c(ctx());
    c.open();
    EXPECT_EQ(c.maxAttempts(), 1);
    EXPECT_EQ(c.confirm("admin", "wrong"), Step::GaveUp);
    EXPECT_FALSE(c.terminateProgram()); // UserCancel defaults to false
    EXPECT_EQ(prompter().lastText(), QStringLiteral("登录失败，请于管理员联系!"));
}

TEST_P(LoginControllerTest, GivingUpOrCancellingLeavesNobodyLoggedIn)
{
    for (bool cancel : {false, true}) {
        ctx().user = CurrentUser{"admin", 0, QStringLiteral("管理组"), false};
        env->ini.setValue("vek2000", "LoginCount", "1");
        LoginController c(ctx());
        c.open();
        const Step s = cancel ? c.cancel() : c.confirm("admin", "wrong");
        EXPECT_EQ(s, cancel ? Step::Cancelled : Step::GaveUp);
        EXPECT_FALSE(ctx().user.loggedIn());
        EXPECT_EQ(ctx().user.level, 1) << "cancel " << cancel;
        EXPECT_TRUE(ctx().user.group.isEmpty());
    }
    // The cancel was logged under the name the session had.
    const auto rows = test::logRows(db());
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].kind, QStringLiteral("取消登录"));
    EXPECT_EQ(rows[0].user, "admin");
}

TEST_P(LoginControllerTest, CheckingAnotherAccountsPasswordChangesNoSession)
{
    addUser(db(), "root2", PasswordHash::hash("old"), "0", QStringLiteral("管理组"));
    ctx().user = CurrentUser{"guest", 2, {}, false};
    PasswordChange change(ctx(), "root2");
    EXPECT_EQ(change.submit("old", "n1", "n2"), PasswordChange::Result::Mismatch);
    EXPECT_EQ(change.submit("old", "n1", "n1"), PasswordChange::Result::Changed);
    EXPECT_EQ(ctx().user.name, "guest");
    EXPECT_EQ(ctx().user.level, 2);
    EXPECT_TRUE(ctx().user.group.isEmpty());
    EXPECT_TRUE(UserAccounts(db()).checkPassword("root2", "n1"));
}

VEK_BOTH_ENGINES(LoginWithoutUsersTable);
VEK_BOTH_ENGINES(LoginControllerTest);
