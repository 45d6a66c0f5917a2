#pragma once

namespace vek {

struct AppContext;

// The steps around the login dialog that the main window runs at a re-login, after a
// successful login and at program end. The dialog itself is TfrmLogin.
class LoginSession {
public:
    // A re-login starts: logs "重新登录" and, when a library is open, marks the user
    // offline. Throws DbError.
    static void beginRelogin(AppContext &ctx, bool libraryOpen);
    // The login succeeded and the resources are loaded: logs "进入" and marks the user
    // online. Throws DbError.
    static void loginCompleted(AppContext &ctx);
    // The program ends while a library is open: marks the user offline; errors are
    // ignored, there is no one left to tell.
    static void programEnding(AppContext &ctx) noexcept;
    // The lock action applies only to a logged-in user who is not locked already.
    static bool canLock(const AppContext &ctx);
};

} // namespace vek
