#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace vek {

struct AppContext;

// What the login dialog does, without its widgets. It also serves as the unlock dialog
// when ctx.user.locked is set: then only the current user's password closes it.
//
// Settings: Login/UserName (last name), Splash/UserName (preset the name),
// vek2000/UserList (pick from a list), vek2000/LoginCount (attempts, default 3) and
// vek2000/UserCancel (terminate the program when the login is given up or cancelled).
class LoginController {
public:
    enum class Step {
        Stay,          // the dialog stays open
        ClearPassword, // stays, with the password field emptied
        LoggedIn,      // close: the current user is set
        GaveUp,        // close: the attempts are used up
        Cancelled,     // close: the user cancelled
    };

    explicit LoginController(AppContext &ctx);

    // Prepares the dialog: in the normal form makes usys_Users when the schema says it
    // is absent (with its default accounts), reads the user list and the presets.
    // Throws DbError.
    void open();

    bool unlockMode() const { return m_unlock; }
    QString caption() const;
    // Caption of the box around the name and password.
    QString groupCaption() const;
    bool useUserList() const { return m_useList; }
    const QStringList &userList() const { return m_users; }
    QString presetName() const { return m_preset; }
    // Entry of the list equal to the preset name, -1 when there is none.
    int presetIndex() const { return m_users.indexOf(m_preset); }
    bool nameEditable() const { return !m_unlock; }
    bool canCancel() const { return !m_unlock; }
    bool canChangePassword() const { return !m_unlock; }

    int attempts() const { return m_attempts; }
    int maxAttempts() const { return m_maxAttempts; }

    // "确定" with the chosen or typed name (ignored when unlocking: it is always the
    // current user) and the password.
    Step confirm(const QString &name, const QString &password);
    // "取消"; refused (Stay) when unlocking.
    Step cancel();
    // "更改密码": the name the change-password dialog opens for, or nothing when a
    // message was shown instead. name is the chosen list entry (empty when none) or
    // the typed name.
    std::optional<QString> changePasswordFor(const QString &name);

    bool result() const { return m_result; }
    // The caller ends the program (vek2000/UserCancel after a cancel or give-up).
    bool terminateProgram() const { return m_terminate; }

private:
    void leaveLoggedOut();

    AppContext &m_ctx;
    bool m_unlock = false;
    bool m_useList = true;
    bool m_userCancel = false;
    int m_maxAttempts = 3;
    int m_attempts = 0;
    QStringList m_users;
    QString m_preset;
    bool m_result = false;
    bool m_terminate = false;
};

} // namespace vek
