#include "Prompter.h"

#include <QStringList>
#include <QTextStream>
#include <stdexcept>

namespace vek {

void ConsolePrompter::message(const QString &caption, const QString &text, Icon icon)
{
    QTextStream out(icon == Icon::Error || icon == Icon::Warning ? stderr : stdout);
    out << text << Qt::endl;
}

Prompter::Answer ConsolePrompter::question(const QString &caption, const QString &text, Buttons buttons, Icon icon)
{
    QTextStream(stderr) << text << Qt::endl;
    return buttons == Buttons::Ok ? Answer::Ok : (buttons == Buttons::OkCancel || buttons == Buttons::YesNoCancel)
        ? Answer::Cancel
        : Answer::No;
}

std::optional<QString> ConsolePrompter::input(const QString &caption, const QString &prompt, const QString &defaultText,
                                              bool password)
{
    QTextStream(stderr) << prompt << Qt::endl;
    return std::nullopt;
}

void ScriptedPrompter::message(const QString &caption, const QString &text, Icon icon)
{
    m_shown.append({Shown::Kind::Message, caption, text, icon});
}

Prompter::Answer ScriptedPrompter::question(const QString &caption, const QString &text, Buttons buttons, Icon icon)
{
    m_shown.append({Shown::Kind::Question, caption, text, icon});
    if (m_answers.isEmpty())
        throw std::logic_error("unscripted question: " + text.toStdString());
    return m_answers.takeFirst();
}

std::optional<QString> ScriptedPrompter::input(const QString &caption, const QString &prompt,
                                               const QString &defaultText, bool password)
{
    m_shown.append({Shown::Kind::Input, caption, prompt, Icon::Question});
    if (m_inputs.isEmpty())
        throw std::logic_error("unscripted input: " + prompt.toStdString());
    return m_inputs.takeFirst();
}

QStringList ScriptedPrompter::texts() const
{
    QStringList out;
    for (const auto &s : m_shown)
        out << s.text;
    return out;
}

} // namespace vek
