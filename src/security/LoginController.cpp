#include "LoginController.h"

#include "OperationLog.h"
#include "UserAccounts.h"

#include "catalog/Catalog.h"
#include "platform/AppContext.h"
#include "platform/DbError.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"

#include <algorithm>

namespace vek {

namespace {

const QString kLoginCaption = QStringLiteral("登录消息");
const QString kLockedCaption = QStringLiteral("应用已琐定");

} // namespace

LoginController::LoginController(AppContext &ctx) : m_ctx(ctx)
{
}

void LoginController::open()
{
    const IniFile &ini = m_ctx.ini;
    m_unlock = m_ctx.user.locked;
    m_result = false;
    m_terminate = false;
    m_attempts = 0;
    m_useList = ini.boolValue("vek2000", "UserList", true);
    m_userCancel = ini.boolValue("vek2000", "UserCancel", false);
    // At least one attempt, whatever the settings say.
    m_maxAttempts = std::max(1, ini.intValue("vek2000", "LoginCount", 3));

    if (m_unlock) {
        m_preset = m_ctx.user.name;
        m_users = QStringList{m_ctx.user.name};
        return;
    }

    CreateCatalogTable(m_ctx.db, CatalogTable::Users);
    if (ini.boolValue("Splash", "UserName", true)) {
        m_preset = !m_ctx.user.name.isEmpty() ? m_ctx.user.name
                                             : ini.value("Login", "UserName", QStringLiteral("系统管理员"));
    } else {
        m_preset.clear();
    }
    m_users = m_useList ? UserAccounts(m_ctx.db).userList() : QStringList();
}

QString LoginController::caption() const
{
    return m_unlock ? QStringLiteral("解除应用锁定") : QStringLiteral("用户登录");
}

QString LoginController::groupCaption() const
{
    return m_unlock ? QStringLiteral("只能由") + m_ctx.user.name + QStringLiteral("来解除琐定")
                    : QStringLiteral("用户名和密码");
}

LoginController::Step LoginController::confirm(const QString &nameIn, const QString &password)
{
    const QString name = m_unlock ? m_ctx.user.name : nameIn;
    std::optional<UserRecord> user;
    try {
        user = UserAccounts(m_ctx.db).login(name, password);
    } catch (const DbError &e) {
        m_ctx.prompter.message(Prompter::systemCaption(), e.message(), Prompter::Icon::Error);
        return Step::Stay;
    }

    if (user) {
        m_ctx.user.name = user->name;
        m_ctx.user.level = user->level;
        m_ctx.user.group = user->group;
        // Only a preset for the next time: a settings file that cannot be written
        // does not stop the login.
        m_ctx.ini.setValue("Login", "UserName", user->name);
        m_result = true;
        return Step::LoggedIn;
    }

    if (m_unlock) {
        m_ctx.prompter.message(kLockedCaption,
                               QStringLiteral("密码不正确，请重新输入密码。密码的字母必须使用正确的大小写。"
                                              "请确定是否因为疏忽而按下了Caps Lock"),
                               Prompter::Icon::Error);
        return Step::ClearPassword;
    }

    m_ctx.prompter.message(kLoginCaption,
                           QStringLiteral("系统无法让您登录。请确定您的用户名，然后再次输入密码。"
                                          "密码必须使用正确的大小写。请确定是否因为疏忽而按下了Caps Lock。"),
                           Prompter::Icon::Warning);
    if (++m_attempts < m_maxAttempts)
        return Step::Stay;
    m_ctx.prompter.message(kLoginCaption, QStringLiteral("登录失败，请于管理员联系!"), Prompter::Icon::Warning);
    leaveLoggedOut();
    m_terminate = m_userCancel;
    return Step::GaveUp;
}

LoginController::Step LoginController::cancel()
{
    if (m_unlock)
        return Step::Stay;
    try {
        OperationLog(m_ctx.db, m_ctx.clock).writeCreatingTable(LogKind::CancelLogin, QString(), m_ctx.user.name);
    } catch (const DbError &e) {
        // The cancel still goes through: a broken log must not hold the user here.
        m_ctx.prompter.message(Prompter::systemCaption(), e.message(), Prompter::Icon::Error);
    }
    leaveLoggedOut();
    m_terminate = m_userCancel;
    return Step::Cancelled;
}

std::optional<QString> LoginController::changePasswordFor(const QString &name)
{
    if (m_unlock)
        return std::nullopt;
    if (name.isEmpty()) {
        m_ctx.prompter.message(kLoginCaption, m_useList ? QStringLiteral("选择用户名!") : QStringLiteral("输入用户名!"),
                               Prompter::Icon::Warning);
        return std::nullopt;
    }
    bool exists = false;
    try {
        exists = UserAccounts(m_ctx.db).userExists(name);
    } catch (const DbError &e) {
        m_ctx.prompter.message(Prompter::systemCaption(), e.message(), Prompter::Icon::Error);
        return std::nullopt;
    }
    if (!exists) {
        m_ctx.prompter.message(kLoginCaption, QStringLiteral("非法用户名或口令!"), Prompter::Icon::Warning);
        return std::nullopt;
    }
    return name;
}

void LoginController::leaveLoggedOut()
{
    // Nobody is logged in: no name, and no level or group left from before.
    m_result = false;
    const bool locked = m_ctx.user.locked;
    m_ctx.user = CurrentUser{};
    m_ctx.user.locked = locked;
}

} // namespace vek
