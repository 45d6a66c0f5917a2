#include "WidgetPrompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace vek {

namespace {

QMessageBox::Icon boxIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::Warning:
        return QMessageBox::Warning;
    case Prompter::Icon::Error:
        return QMessageBox::Critical;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    case Prompter::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QWidget *WidgetPrompter::parentWidget() const
{
    if (m_parent)
        return m_parent;
    return QApplication::activeWindow();
}

void WidgetPrompter::message(const QString &caption, const QString &text, Icon icon)
{
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::Ok, parentWidget());
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}

Prompter::Answer WidgetPrompter::question(const QString &caption, const QString &text, Buttons buttons, Icon icon)
{
    QMessageBox::StandardButtons std;
    switch (buttons) {
    case Buttons::Ok:
        std = QMessageBox::Ok;
        break;
    case Buttons::OkCancel:
        std = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case Buttons::YesNo:
        std = QMessageBox::Yes | QMessageBox::No;
        break;
    case Buttons::YesNoCancel:
        std = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    }
    QMessageBox box(boxIcon(icon), caption, text, std, parentWidget());
    const std::pair<QMessageBox::StandardButton, const char *> texts[] = {
        {QMessageBox::Ok, "确定"}, {QMessageBox::Yes, "是(&Y)"}, {QMessageBox::No, "否(&N)"}, {QMessageBox::Cancel, "取消"}};
    for (const auto &[b, t] : texts) {
        if (QAbstractButton *button = box.button(b))
            button->setText(QString::fromUtf8(t));
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

std::optional<QString> WidgetPrompter::input(const QString &caption, const QString &prompt,
                                             const QString &defaultText, bool password)
{
    QInputDialog dlg(parentWidget());
    dlg.setWindowTitle(caption);
    dlg.setLabelText(prompt);
    dlg.setTextValue(defaultText);
    dlg.setTextEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
    dlg.setOkButtonText(QStringLiteral("确定"));
    dlg.setCancelButtonText(QStringLiteral("取消"));
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlg.textValue();
}

} // namespace vek
