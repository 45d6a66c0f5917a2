#pragma once

#include "security/LoginController.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vek {

struct AppContext;

// The login dialog ("用户登录"), also the unlock dialog ("解除应用锁定") while the
// application is locked. It closes only through its buttons: Esc and the window's
// close go through "取消", which the unlock form refuses.
class TfrmLogin : public QDialog {
    Q_OBJECT

public:
    struct Outcome {
        bool loggedIn = false;
        bool terminateProgram = false; // vek2000/UserCancel: the caller ends the program
    };

    // The login dialog, modal. On success ctx.user holds the user.
    static Outcome run(AppContext &ctx, QWidget *parent = nullptr);
    // The lock action: marks the application locked and shows the unlock form until
    // the current user's password is given. False (and nothing shown) when no user is
    // logged in or the application is locked already.
    static bool lock(AppContext &ctx, QWidget *parent = nullptr);

    explicit TfrmLogin(AppContext &ctx, QWidget *parent = nullptr);

    // False when the dialog could not be prepared (the error was shown).
    bool ready() const { return m_ready; }
    bool loggedIn() const { return m_controller.result(); }
    bool terminateProgram() const { return m_controller.terminateProgram(); }

public Q_SLOTS:
    void confirm();          // "确定"
    void cancelLogin();      // "取消"
    void changePassword();   // "更改密码": opens TfrmPassword (window-modal) for the name
    void reject() override;  // Esc

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildUi();
    void applyController();
    QString chosenName() const;
    void finish(LoginController::Step step);

    AppContext &m_ctx;
    LoginController m_controller;
    bool m_ready = false;
    QLabel *m_picture = nullptr;
    QGroupBox *m_group = nullptr;
    QLineEdit *m_userName = nullptr;
    QComboBox *m_userList = nullptr;
    QLineEdit *m_password = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_changePassword = nullptr;
};

} // namespace vek
