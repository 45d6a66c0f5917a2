#include "security/ui/TfrmPassword.h"
#include "WindowInput.h"

#include "security/SecurityFixture.h"
#include "security/UserAccounts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace vek;
using vek::test::clickOn;
using vek::test::typeInto;

TEST(PasswordWindow, WrongOldPasswordMismatchAndSuccess)
{
    test::CheapHashing cheap;
    test::TestDatabase lib(Engine::Sqlite);
    CreateFullCatalog(lib.db());
    test::SecurityEnv env(lib.db(), lib.dir());
    test::addUser(lib.db(), "bob", PasswordHash::hash("old"));
    env.ctx.user = CurrentUser{"bob", 1, {}, false};

    TfrmPassword dlg(env.ctx, "bob");
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("更改密码"));
    EXPECT_EQ(dlg.findChild<QLabel *>("userNameLabel")->text(), "bob");
    auto *oldPw = dlg.findChild<QLineEdit *>("oldPassword");
    auto *newPw = dlg.findChild<QLineEdit *>("newPassword");
    auto *confirmPw = dlg.findChild<QLineEdit *>("confirmPassword");
    auto *ok = dlg.findChild<QPushButton *>("okButton");
    ASSERT_TRUE(oldPw && newPw && confirmPw && ok);
    for (QLineEdit *e : {oldPw, newPw, confirmPw}) {
        EXPECT_EQ(e->echoMode(), QLineEdit::Password);
        EXPECT_TRUE(e->text().isEmpty());
    }
    const auto &shown = env.prompter.shown();

    // Wrong old password.
    typeInto(oldPw, "bad");
    typeInto(newPw, "n1");
    typeInto(confirmPw, "n1");
    clickOn(ok);
    EXPECT_TRUE(dlg.isVisible());
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, QStringLiteral("密码不正确，请重新输入密码。密码的字母必须使用正确的大小写。"
                                            "请确定是否因为疏忽而按下了Caps Lock"));
    EXPECT_EQ(shown[0].caption, QStringLiteral("应用已琐定"));
    EXPECT_EQ(shown[0].icon, Prompter::Icon::Error);

    // Right old password, new entries differ.
    oldPw->clear();
    typeInto(oldPw, "old");
    newPw->clear();
    typeInto(newPw, "n1");
    confirmPw->clear();
    typeInto(confirmPw, "n2");
    clickOn(ok);
    EXPECT_TRUE(dlg.isVisible());
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[1].text, QStringLiteral("您输入的密码不匹配。请在两个文本框中输入新密码。"));
    EXPECT_EQ(shown[1].caption, QStringLiteral("系统提示"));
    EXPECT_EQ(shown[1].icon, Prompter::Icon::Warning);
    EXPECT_TRUE(newPw->text().isEmpty());
    EXPECT_TRUE(confirmPw->text().isEmpty());
    EXPECT_EQ(dlg.focusWidget(), newPw);
    EXPECT_TRUE(UserAccounts(lib.db()).checkPassword("bob", "old"));

    // Success.
    typeInto(newPw, "n1");
    typeInto(confirmPw, "n1");
    clickOn(ok);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[2].text, QStringLiteral("您的密码已修改"));
    EXPECT_EQ(shown[2].caption, QStringLiteral("系统提示"));
    EXPECT_EQ(shown[2].icon, Prompter::Icon::Information);
    UserAccounts accounts(lib.db());
    EXPECT_TRUE(accounts.checkPassword("bob", "n1"));
    EXPECT_FALSE(accounts.checkPassword("bob", "old"));

    QStringList rows;
    for (const auto &r : test::logRows(lib.db()))
        rows << r.kind + "/" + r.app + "/" + r.user;
    EXPECT_EQ(rows, (QStringList{QStringLiteral("更改密码/失败/bob"), QStringLiteral("更改密码/成功/bob")}));
}

TEST(PasswordWindow, CancelChangesNothing)
{
    test::CheapHashing cheap;
    test::TestDatabase lib(Engine::Sqlite);
    CreateFullCatalog(lib.db());
    test::SecurityEnv env(lib.db(), lib.dir());
    TfrmPassword dlg(env.ctx, "admin");
    dlg.show();
    typeInto(dlg.findChild<QLineEdit *>("newPassword"), "x");
    typeInto(dlg.findChild<QLineEdit *>("confirmPassword"), "x");
    clickOn(dlg.findChild<QPushButton *>("cancelButton"));
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_TRUE(UserAccounts(lib.db()).checkPassword("admin", ""));
    EXPECT_TRUE(test::logRows(lib.db()).isEmpty());
    EXPECT_TRUE(env.prompter.shown().isEmpty());
}
