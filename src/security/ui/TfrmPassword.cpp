#include "TfrmPassword.h"

#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vek {

namespace {

QLineEdit *maskedField(const char *name, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setEchoMode(QLineEdit::Password);
    return e;
}

} // namespace

void TfrmPassword::run(AppContext &ctx, const QString &userName, QWidget *parent)
{
    TfrmPassword dlg(ctx, userName, parent);
    dlg.exec();
}

TfrmPassword::TfrmPassword(AppContext &ctx, const QString &userName, QWidget *parent)
    : QDialog(parent), m_change(ctx, userName)
{
    setObjectName(QStringLiteral("TfrmPassword"));
    setWindowTitle(QStringLiteral("更改密码"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    m_userLabel = new QLabel(userName, this);
    m_userLabel->setObjectName(QStringLiteral("userNameLabel"));
    m_old = maskedField("oldPassword", this);
    m_new = maskedField("newPassword", this);
    m_confirm = maskedField("confirmPassword", this);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("用户名:"), m_userLabel);
    form->addRow(QStringLiteral("旧密码:"), m_old);
    form->addRow(QStringLiteral("新密码:"), m_new);
    form->addRow(QStringLiteral("确认新密码:"), m_confirm);

    auto *ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    m_change.setBusyHook([](bool busy) {
        if (busy)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QGuiApplication::restoreOverrideCursor();
    });
    connect(ok, &QPushButton::clicked, this, &TfrmPassword::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_old->setFocus();
}

void TfrmPassword::confirm()
{
    switch (m_change.submit(m_old->text(), m_new->text(), m_confirm->text())) {
    case PasswordChange::Result::Changed:
        accept();
        break;
    case PasswordChange::Result::Mismatch:
        m_new->clear();
        m_confirm->clear();
        m_new->setFocus();
        break;
    case PasswordChange::Result::WrongOldPassword:
        m_old->setFocus();
        break;
    case PasswordChange::Result::Failed:
        break;
    }
}

} // namespace vek
