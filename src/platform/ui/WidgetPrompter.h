#pragma once

#include "platform/Prompter.h"

class QWidget;

namespace vek {

// Message and input boxes on screen, parented to the active window.
class WidgetPrompter : public Prompter {
public:
    explicit WidgetPrompter(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    void message(const QString &caption, const QString &text, Icon icon) override;
    Answer question(const QString &caption, const QString &text, Buttons buttons, Icon icon) override;
    std::optional<QString> input(const QString &caption, const QString &prompt, const QString &defaultText,
                                 bool password) override;

private:
    QWidget *parentWidget() const;
    QWidget *m_parent;
};

} // namespace vek
