#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace vek {

// Every message box and input box of the system goes through a Prompter, so that the
// rules can run without windows and tests can answer the questions.
class Prompter {
public:
    enum class Icon { None, Information, Warning, Error, Question };
    enum class Buttons { Ok, YesNo, YesNoCancel, OkCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Prompter() = default;

    virtual void message(const QString &caption, const QString &text, Icon icon = Icon::Information) = 0;
    virtual Answer question(const QString &caption, const QString &text, Buttons buttons = Buttons::YesNo,
                            Icon icon = Icon::Question) = 0;
    // Returns the text typed, or nothing when the user cancelled.
    virtual std::optional<QString> input(const QString &caption, const QString &prompt,
                                         const QString &defaultText = {}, bool password = false) = 0;

    // The caption most messages carry.
    static QString systemCaption() { return QStringLiteral("系统提示"); }

    void info(const QString &text) { message(systemCaption(), text, Icon::Information); }
    void warning(const QString &text) { message(systemCaption(), text, Icon::Warning); }
    void error(const QString &text) { message(systemCaption(), text, Icon::Error); }
    bool confirm(const QString &text) { return question(systemCaption(), text) == Answer::Yes; }
};

// Writes messages to the console; for the command-line options. Questions take their
// default (No/Cancel) and inputs are cancelled: there is no one to ask.
class ConsolePrompter : public Prompter {
public:
    void message(const QString &caption, const QString &text, Icon icon) override;
    Answer question(const QString &caption, const QString &text, Buttons buttons, Icon icon) override;
    std::optional<QString> input(const QString &caption, const QString &prompt, const QString &defaultText,
                                 bool password) override;
};

// Records every prompt and answers from a script; used by tests. A question or input
// with no scripted answer fails loudly instead of blocking.
class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        enum class Kind { Message, Question, Input } kind;
        QString caption;
        QString text;
        Icon icon;
    };

    void answerNext(Answer a) { m_answers.append(a); }
    void inputNext(std::optional<QString> text) { m_inputs.append(text); }

    void message(const QString &caption, const QString &text, Icon icon) override;
    Answer question(const QString &caption, const QString &text, Buttons buttons, Icon icon) override;
    std::optional<QString> input(const QString &caption, const QString &prompt, const QString &defaultText,
                                 bool password) override;

    const QList<Shown> &shown() const { return m_shown; }
    QStringList texts() const;
    QString lastText() const { return m_shown.isEmpty() ? QString() : m_shown.last().text; }
    bool allAnswersUsed() const { return m_answers.isEmpty() && m_inputs.isEmpty(); }
    void clear() { m_shown.clear(); }

private:
    QList<Shown> m_shown;
    QList<Answer> m_answers;
    QList<std::optional<QString>> m_inputs;
};

} // namespace vek
