#pragma once

#include "security/PasswordChange.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vek {

struct AppContext;

// The change-password dialog ("更改密码") for one account: old password, new password
// and its confirmation, all masked.
class TfrmPassword : public QDialog {
    Q_OBJECT

public:
    // Modal; for the main window's "更改密码(&C)..." with the current user's name.
    static void run(AppContext &ctx, const QString &userName, QWidget *parent = nullptr);

    TfrmPassword(AppContext &ctx, const QString &userName, QWidget *parent = nullptr);

public Q_SLOTS:
    void confirm(); // "确定"

private:
    PasswordChange m_change;
    QLabel *m_userLabel = nullptr;
    QLineEdit *m_old = nullptr;
    QLineEdit *m_new = nullptr;
    QLineEdit *m_confirm = nullptr;
};

} // namespace vek
