#include "TfrmLogin.h"

#include "TfrmPassword.h"

#include "platform/AppContext.h"
#include "platform/DbError.h"
#include "platform/Prompter.h"
#include "security/LoginSession.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace vek {

namespace {

// The dialog's picture: a person with a key when logging in, a padlock when locked.
QPixmap drawPicture(bool locked)
{
    QPixmap pm(72, 72);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = locked ? QColor(0xB0, 0x30, 0x20) : QColor(0x20, 0x5A, 0xA0);
    p.setPen(QPen(ink, 3));
    if (locked) {
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(20, 8, 32, 36), 0, 180 * 16);
        p.drawLine(QPointF(20, 26), QPointF(20, 34));
        p.drawLine(QPointF(52, 26), QPointF(52, 34));
        p.setBrush(ink.lighter(150));
        p.drawRoundedRect(QRectF(12, 34, 48, 32), 4, 4);
        p.setBrush(ink);
        p.drawEllipse(QPointF(36, 47), 4, 4);
        p.drawLine(QPointF(36, 50), QPointF(36, 58));
    } else {
        p.setBrush(ink.lighter(160));
        p.drawEllipse(QPointF(28, 20), 11, 11);
        QPainterPath body;
        body.moveTo(8, 64);
        body.cubicTo(8, 38, 48, 38, 48, 64);
        body.closeSubpath();
        p.drawPath(body);
        p.setBrush(QColor(0xE0, 0xB0, 0x30));
        p.setPen(QPen(QColor(0x80, 0x60, 0x10), 2));
        p.drawEllipse(QPointF(54, 40), 7, 7);
        p.drawLine(QPointF(54, 47), QPointF(54, 66));
        p.drawLine(QPointF(54, 58), QPointF(60, 58));
        p.drawLine(QPointF(54, 64), QPointF(60, 64));
    }
    return pm;
}

} // namespace

TfrmLogin::Outcome TfrmLogin::run(AppContext &ctx, QWidget *parent)
{
    TfrmLogin dlg(ctx, parent);
    if (!dlg.ready())
        return {};
    dlg.exec();
    return {dlg.loggedIn(), dlg.terminateProgram()};
}

bool TfrmLogin::lock(AppContext &ctx, QWidget *parent)
{
    if (!LoginSession::canLock(ctx))
        return false;
    struct Unlock {
        CurrentUser &user;
        ~Unlock() { user.locked = false; }
    } unlock{ctx.user};
    ctx.user.locked = true;
    TfrmLogin dlg(ctx, parent);
    dlg.exec();
    return true;
}

TfrmLogin::TfrmLogin(AppContext &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx), m_controller(ctx)
{
    setObjectName(QStringLiteral("TfrmLogin"));
    // No border icons: the dialog closes through its buttons only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    buildUi();
    try {
        m_controller.open();
        m_ready = true;
    } catch (const DbError &e) {
        m_ctx.prompter.message(Prompter::systemCaption(), e.message(), Prompter::Icon::Error);
    }
    applyController();
}

void TfrmLogin::buildUi()
{
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("picture"));

    m_group = new QGroupBox(this);
    m_group->setObjectName(QStringLiteral("groupBox"));
    m_userName = new QLineEdit(m_group);
    m_userName->setObjectName(QStringLiteral("userName"));
    m_userName->setMaxLength(16);
    m_userList = new QComboBox(m_group);
    m_userList->setObjectName(QStringLiteral("userList"));
    m_password = new QLineEdit(m_group);
    m_password->setObjectName(QStringLiteral("password"));
    m_password->setEchoMode(QLineEdit::Password);

    auto *nameRow = new QHBoxLayout;
    nameRow->setContentsMargins(0, 0, 0, 0);
    nameRow->addWidget(m_userName);
    nameRow->addWidget(m_userList);
    auto *form = new QFormLayout(m_group);
    form->addRow(QStringLiteral("用户名:"), nameRow);
    form->addRow(QStringLiteral("密码:"), m_password);

    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_changePassword = new QPushButton(QStringLiteral("更改密码"), this);
    m_changePassword->setObjectName(QStringLiteral("changePasswordButton"));

    auto *top = new QHBoxLayout;
    top->addWidget(m_picture, 0, Qt::AlignTop);
    top->addWidget(m_group, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_changePassword);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &TfrmLogin::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &TfrmLogin::cancelLogin);
    connect(m_changePassword, &QPushButton::clicked, this, &TfrmLogin::changePassword);
    connect(m_userList, &QComboBox::currentTextChanged, m_userName, &QLineEdit::setText);
}

void TfrmLogin::applyController()
{
    const LoginController &c = m_controller;
    setWindowTitle(c.caption());
    m_group->setTitle(c.groupCaption());
    m_picture->setPixmap(drawPicture(c.unlockMode()));
    m_picture->setProperty("locked", c.unlockMode());

    m_userList->addItems(c.userList());
    m_userList->setCurrentIndex(c.presetIndex());
    m_userName->setText(c.presetName());
    m_userName->setVisible(!c.useUserList() || c.unlockMode());
    m_userList->setVisible(c.useUserList());
    m_userName->setEnabled(c.nameEditable());
    m_userList->setEnabled(c.nameEditable());
    m_cancel->setEnabled(c.canCancel());
    m_changePassword->setVisible(c.canChangePassword());
    m_ok->setEnabled(m_ready);
}

QString TfrmLogin::chosenName() const
{
    // In list mode what counts is the entry shown, not a preset that is not in the list.
    if (m_controller.useUserList() && !m_controller.unlockMode())
        return m_userList->currentIndex() >= 0 ? m_userList->currentText() : QString();
    return m_userName->text();
}

void TfrmLogin::confirm()
{
    const LoginController::Step step = m_controller.confirm(chosenName(), m_password->text());
    if (step == LoginController::Step::ClearPassword)
        m_password->clear();
    finish(step);
}

void TfrmLogin::cancelLogin()
{
    if (!m_ready) {
        done(QDialog::Rejected);
        return;
    }
    finish(m_controller.cancel());
}

void TfrmLogin::changePassword()
{
    const std::optional<QString> name = m_controller.changePasswordFor(chosenName());
    if (!name) {
        (m_controller.useUserList() ? static_cast<QWidget *>(m_userList) : m_userName)->setFocus();
        return;
    }
    auto *dlg = new TfrmPassword(m_ctx, *name, this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->open();
}

void TfrmLogin::reject()
{
    cancelLogin();
}

void TfrmLogin::closeEvent(QCloseEvent *event)
{
    // A close from the window manager is a cancel; the unlock form stays.
    event->ignore();
    cancelLogin();
}

void TfrmLogin::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_password->setFocus();
}

void TfrmLogin::finish(LoginController::Step step)
{
    switch (step) {
    case LoginController::Step::LoggedIn:
        done(QDialog::Accepted);
        break;
    case LoginController::Step::GaveUp:
    case LoginController::Step::Cancelled:
        done(QDialog::Rejected);
        break;
    case LoginController::Step::Stay:
    case LoginController::Step::ClearPassword:
        m_password->setFocus();
        break;
    }
}

} // namespace vek
