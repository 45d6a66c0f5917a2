#include "PasswordChange.h"

#include "OperationLog.h"
#include "UserAccounts.h"

#include "platform/AppContext.h"
#include "platform/DbError.h"
#include "platform/Prompter.h"

namespace vek {

PasswordChange::Result PasswordChange::submit(const QString &oldPassword, const QString &newPassword,
                                              const QString &confirmation)
{
    Prompter &p = m_ctx.prompter;
    try {
        UserAccounts accounts(m_ctx.db);
        if (!accounts.checkPassword(m_user, oldPassword)) {
            p.message(QStringLiteral("应用已琐定"),
                      QStringLiteral("密码不正确，请重新输入密码。密码的字母必须使用正确的大小写。"
                                     "请确定是否因为疏忽而按下了Caps Lock"),
                      Prompter::Icon::Error);
            log(LogTitle::Failed);
            return Result::WrongOldPassword;
        }
        if (newPassword != confirmation) {
            p.message(Prompter::systemCaption(), QStringLiteral("您输入的密码不匹配。请在两个文本框中输入新密码。"),
                      Prompter::Icon::Warning);
            return Result::Mismatch;
        }
        struct Busy {
            const std::function<void(bool)> &hook;
            Busy(const std::function<void(bool)> &h) : hook(h) { if (hook) hook(true); }
            ~Busy() { if (hook) hook(false); }
        } busy(m_busy);
        if (accounts.setPassword(m_user, newPassword) < 1)
            throw DbError(QStringLiteral("用户 %1 不存在，密码没有修改").arg(m_user));
    } catch (const std::runtime_error &e) {
        const auto *db = dynamic_cast<const DbError *>(&e);
        p.message(Prompter::systemCaption(), db ? db->message() : QString::fromStdString(e.what()),
                  Prompter::Icon::Error);
        return Result::Failed;
    }
    p.message(Prompter::systemCaption(), QStringLiteral("您的密码已修改"), Prompter::Icon::Information);
    log(LogTitle::Succeeded);
    return Result::Changed;
}

void PasswordChange::log(const QString &title)
{
    // The outcome stands; a log entry that cannot be written is reported.
    try {
        OperationLog(m_ctx.db, m_ctx.clock).write(LogKind::ChangePassword, title, m_user);
    } catch (const DbError &e) {
        m_ctx.prompter.message(Prompter::systemCaption(), e.message(), Prompter::Icon::Error);
    }
}

} // namespace vek
