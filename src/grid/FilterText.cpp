#include "FilterText.h"

#include "platform/DbError.h"

#include <cmath>

namespace vek {

namespace {

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == '_';
}

[[noreturn]] void fail(const QString &why)
{
    throw DbError(why);
}

} // namespace

QList<FilterToken> TokenizeFilter(const QString &s)
{
    QList<FilterToken> out;
    qsizetype i = 0;
    const qsizetype n = s.size();
    auto quoted = [&](QChar q) {
        QString text = QStringLiteral(""); // '' is the empty text, not NULL
        ++i;
        while (true) {
            if (i >= n)
                fail(QStringLiteral("引号没有结束"));
            if (s[i] == q) {
                if (i + 1 < n && s[i + 1] == q) {
                    text += q;
                    i += 2;
                    continue;
                }
                ++i;
                return text;
            }
            text += s[i++];
        }
    };
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == '[') {
            const qsizetype close = s.indexOf(']', i + 1);
            if (close < 0)
                fail(QStringLiteral("方括号没有结束"));
            out << FilterToken{FilterToken::Name, s.mid(i + 1, close - i - 1)};
            i = close + 1;
        } else if (c == '\'' || c == '"') {
            out << FilterToken{FilterToken::String, quoted(c)};
        } else if (c == '#') {
            const qsizetype close = s.indexOf('#', i + 1);
            if (close < 0)
                fail(QStringLiteral("日期没有结束"));
            out << FilterToken{FilterToken::Date, s.mid(i + 1, close - i - 1)};
            i = close + 1;
        } else if (c.isDigit() || (c == '.' && i + 1 < n && s[i + 1].isDigit())) {
            const qsizetype start = i;
            while (i < n && (s[i].isDigit() || s[i] == '.'))
                ++i;
            if (i < n && isNameChar(s[i]))
                fail(QStringLiteral("不认识的内容 ") + s.mid(start, i - start + 1));
            out << FilterToken{FilterToken::Number, s.mid(start, i - start)};
        } else if (c == ':' && i + 1 < n && isNameChar(s[i + 1])) {
            const qsizetype start = i++;
            while (i < n && isNameChar(s[i]))
                ++i;
            out << FilterToken{FilterToken::Param, s.mid(start, i - start)};
        } else if (isNameChar(c)) {
            const qsizetype start = i;
            while (i < n && isNameChar(s[i]))
                ++i;
            out << FilterToken{FilterToken::Word, s.mid(start, i - start)};
        } else if (c == '<' || c == '>' || c == '=' || c == '!') {
            QString op(c);
            if (i + 1 < n && (s[i + 1] == '=' || (c == '<' && s[i + 1] == '>')))
                op += s[i + 1];
            if (op == "!")
                fail(QStringLiteral("不认识的内容 !"));
            i += op.size();
            out << FilterToken{FilterToken::Op, op == "!=" ? QStringLiteral("<>") : op};
        } else if (c == '(') {
            out << FilterToken{FilterToken::LParen, "("};
            ++i;
        } else if (c == ')') {
            out << FilterToken{FilterToken::RParen, ")"};
            ++i;
        } else if (c == ',') {
            out << FilterToken{FilterToken::Comma, ","};
            ++i;
        } else if (c == '-') {
            out << FilterToken{FilterToken::Minus, "-"};
            ++i;
        } else {
            fail(QStringLiteral("不认识的内容 ") + c);
        }
    }
    out << FilterToken{};
    return out;
}

std::optional<double> ReadNumberText(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    for (QChar c : t) {
        if (!c.isDigit() && c != '.' && c != '-' && c != '+' && c != 'e' && c != 'E')
            return std::nullopt;
    }
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<QDate> ReadDateText(const QString &text)
{
    const QString t = text.trimmed();
    for (const char *format : {"yyyy-M-d", "yyyy/M/d", "yyyy.M.d", "M/d/yyyy"}) {
        const QDate d = QDate::fromString(t, QLatin1String(format));
        if (d.isValid())
            return d;
    }
    return std::nullopt;
}

std::optional<QDateTime> ReadDateTimeText(const QString &text)
{
    QString t = text.trimmed();
    qsizetype cut = t.indexOf(' ');
    if (cut < 0)
        cut = t.indexOf('T');
    const auto date = ReadDateText(cut < 0 ? t : t.left(cut));
    if (!date)
        return std::nullopt;
    if (cut < 0)
        return QDateTime(*date, QTime(0, 0));
    const QString clock = t.mid(cut + 1).trimmed();
    for (const char *format : {"H:mm:ss", "H:mm"}) {
        const QTime time = QTime::fromString(clock, QLatin1String(format));
        if (time.isValid())
            return QDateTime(*date, time);
    }
    return std::nullopt;
}

} // namespace vek
