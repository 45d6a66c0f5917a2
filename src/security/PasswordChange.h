#pragma once

#include <QString>

#include <functional>

namespace vek {

struct AppContext;

// What the change-password dialog does for one account, without its widgets. The
// check of the old password has no effect on the current user.
class PasswordChange {
public:
    enum class Result {
        Changed,          // stored; the dialog closes
        WrongOldPassword, // stays
        Mismatch,         // stays, both new fields emptied, focus on the first
        Failed,           // the database refused; stays
    };

    PasswordChange(AppContext &ctx, const QString &userName) : m_ctx(ctx), m_user(userName) {}

    QString userName() const { return m_user; }
    // Called with true before the new password is stored and with false after, also
    // when storing fails; the dialog shows the hourglass meanwhile.
    void setBusyHook(std::function<void(bool)> hook) { m_busy = std::move(hook); }
    // "确定": shows its messages and writes the log entries (for the account whose
    // password is being changed).
    Result submit(const QString &oldPassword, const QString &newPassword, const QString &confirmation);

private:
    void log(const QString &title);

    AppContext &m_ctx;
    QString m_user;
    std::function<void(bool)> m_busy;
};

} // namespace vek
