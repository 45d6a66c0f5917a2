#pragma once

// Input as the user gives it: mouse presses and releases on a widget, key presses with
// their text. Sent through the application, so disabled widgets ignore them.

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QWidget>

namespace vek::test {

inline void clickOn(QAbstractButton *button)
{
    const QPointF pos = QRectF(button->rect()).center();
    const QPointF global = button->mapToGlobal(pos);
    QMouseEvent press(QEvent::MouseButtonPress, pos, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, pos, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &release);
}

inline void pressKey(QWidget *w, int key, const QString &text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

inline void typeInto(QWidget *w, const QString &text)
{
    for (const QChar c : text)
        pressKey(w, c.isLetterOrNumber() ? int(c.toUpper().unicode()) : int(Qt::Key_unknown), QString(c));
}

} // namespace vek::test
