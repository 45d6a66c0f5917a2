#include "NumberFormat.h"

#include <QList>
#include <QLocale>
#include <QStringList>
#include <cmath>

namespace vek {

namespace {

struct Token {
    enum Kind { Digit, Point, Literal } kind;
    bool zero = false; // "0" placeholder
    QString text;      // literal text
};

struct Section {
    QList<Token> tokens;
    bool grouping = false;
    int intPlaces = 0;
    int fracPlaces = 0;
    int minInt = 0;  // integer digits always shown (from the first "0")
    int minFrac = 0; // decimals always shown (up to the last "0")
};

QStringList splitSections(const QString &pattern)
{
    QStringList out;
    QString cur;
    QChar quote;
    for (QChar c : pattern) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == ';') {
            out << cur;
            cur.clear();
            continue;
        }
        cur += c;
    }
    out << cur;
    return out;
}

Section parseSection(const QString &s)
{
    Section sec;
    bool afterPoint = false;
    int firstIntZero = -1;
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c == '\'' || c == '"') {
            const int end = s.indexOf(c, i + 1);
            const QString lit = end < 0 ? s.mid(i + 1) : s.mid(i + 1, end - i - 1);
            sec.tokens << Token{Token::Literal, false, lit};
            i = end < 0 ? s.size() : end;
        } else if (c == '0' || c == '#') {
            const bool zero = c == '0';
            sec.tokens << Token{Token::Digit, zero, {}};
            if (afterPoint) {
                ++sec.fracPlaces;
                if (zero)
                    sec.minFrac = sec.fracPlaces;
            } else {
                if (zero && firstIntZero < 0)
                    firstIntZero = sec.intPlaces;
                ++sec.intPlaces;
            }
        } else if (c == '.') {
            if (!afterPoint)
                sec.tokens << Token{Token::Point, false, {}};
            afterPoint = true;
        } else if (c == ',') {
            sec.grouping = true;
        } else {
            sec.tokens << Token{Token::Literal, false, QString(c)};
        }
    }
    sec.minInt = firstIntZero < 0 ? 0 : sec.intPlaces - firstIntZero;
    return sec;
}

// |value| rounded to decimals places, as integer digits (no leading zeros, empty for 0)
// and exactly decimals fraction digits.
struct Rounded {
    QString intDigits;
    QString fracDigits;
    bool isZero() const
    {
        for (QChar c : intDigits + fracDigits) {
            if (c != '0')
                return false;
        }
        return true;
    }
};

Rounded roundDecimal(double value, int decimals)
{
    Rounded r;
    const double a = std::fabs(value);
    QString digits;
    int pointPos = 0; // digits before the decimal point; value = 0.digits * 10^pointPos
    if (a != 0) {
        const QString e = QString::number(a, 'e', 14); // d.dddddddddddddde±XX
        const int ePos = e.indexOf('e');
        digits = e.left(ePos).remove('.');
        pointPos = e.mid(ePos + 1).toInt() + 1;
        while (digits.endsWith('0'))
            digits.chop(1);
    }
    const int keep = pointPos + decimals;
    if (keep < 0) {
        digits.clear();
    } else if (keep < digits.size()) {
        const bool up = digits.at(keep) >= '5';
        digits.truncate(keep);
        if (up) {
            int i = digits.size() - 1;
            while (i >= 0 && digits.at(i) == '9')
                digits[i--] = '0';
            if (i >= 0) {
                digits[i] = QChar(digits.at(i).unicode() + 1);
            } else {
                digits.prepend('1');
                ++pointPos;
            }
        }
    }
    auto digitAt = [&](int index) { return index >= 0 && index < digits.size() ? digits.at(index) : QChar('0'); };
    for (int i = 0; i < pointPos; ++i)
        r.intDigits += digitAt(i);
    for (int j = 1; j <= decimals; ++j)
        r.fracDigits += digitAt(pointPos - 1 + j);
    int lead = 0;
    while (lead < r.intDigits.size() && r.intDigits.at(lead) == '0')
        ++lead;
    r.intDigits.remove(0, lead);
    return r;
}

QString render(const Section &sec, const Rounded &r)
{
    QString digits = r.intDigits;
    if (digits.size() < sec.minInt)
        digits.prepend(QString(sec.minInt - digits.size(), '0'));
    const int n = digits.size();
    // Emits integer digit at position pos (0 = units) with its group separator.
    QString out;
    auto emitDigit = [&](int pos) {
        out += digits.at(n - 1 - pos);
        if (sec.grouping && pos > 0 && pos % 3 == 0)
            out += ',';
    };
    auto emitExtra = [&](int fromPos) {
        for (int pos = n - 1; pos >= fromPos; --pos)
            emitDigit(pos);
    };

    int shownFrac = sec.minFrac;
    for (int j = r.fracDigits.size() - 1; j >= shownFrac; --j) {
        if (r.fracDigits.at(j) != '0') {
            shownFrac = j + 1;
            break;
        }
    }

    int intSeen = 0;
    int fracSeen = 0;
    bool afterPoint = false;
    for (const Token &t : sec.tokens) {
        switch (t.kind) {
        case Token::Literal:
            out += t.text;
            break;
        case Token::Point:
            if (sec.intPlaces == 0)
                emitExtra(0);
            if (shownFrac > 0)
                out += '.';
            afterPoint = true;
            break;
        case Token::Digit:
            if (!afterPoint) {
                const int pos = sec.intPlaces - 1 - intSeen;
                if (intSeen == 0)
                    emitExtra(sec.intPlaces);
                if (pos < n)
                    emitDigit(pos);
                ++intSeen;
            } else {
                if (fracSeen < shownFrac)
                    out += r.fracDigits.at(fracSeen);
                ++fracSeen;
            }
            break;
        }
    }
    return out;
}

} // namespace

QString NumberFormat::format(double value, const QString &pattern)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (pattern.isEmpty()) {
        if (value == 0)
            return QStringLiteral("0");
        return QString::number(value, 'g', 15);
    }
    const QStringList sections = splitSections(pattern);
    int index = value < 0 && sections.size() > 1 && !sections.at(1).isEmpty() ? 1 : 0;
    Section sec = parseSection(sections.at(index));
    Rounded r = roundDecimal(value, sec.fracPlaces);
    if (r.isZero()) {
        index = sections.size() > 2 && !sections.at(2).isEmpty() ? 2 : 0;
        sec = parseSection(sections.at(index));
        r = roundDecimal(0, sec.fracPlaces);
        return render(sec, r);
    }
    const QString text = render(sec, r);
    return value < 0 && index == 0 ? '-' + text : text;
}

QString NumberFormat::format(const QVariant &value, const QString &pattern)
{
    if (value.isNull())
        return QString();
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok)
        return value.toString();
    return format(d, pattern);
}

QString NumberFormat::editText(double value)
{
    if (value == 0 || std::isnan(value) || std::isinf(value))
        return value == 0 ? QStringLiteral("0") : format(value, QString());
    return QLocale::c().toString(value, 'f', QLocale::FloatingPointShortest);
}

QString NumberFormat::editText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok)
        return value.toString();
    // Whole numbers keep every digit even beyond a double's precision.
    if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int
        || value.typeId() == QMetaType::ULongLong || value.typeId() == QMetaType::UInt)
        return value.toString();
    return editText(d);
}

QString NumberFormat::patternForSample(const QString &displayFormat, const QString &digit)
{
    const QString sample = displayFormat.trimmed();
    if (sample.isEmpty())
        return QString();
    bool ok = false;
    const int n = digit.trimmed().toInt(&ok);
    const QString d = ok && n > 0 ? "." + QString(n, '#') : QString();
    struct Row {
        const char *sample;
        const char *pattern;
        bool decimals;
        const char *suffix;
    };
    static const Row rows[] = {
        {"123,456,789", "###,###,###", false, ""},     {"$123,456,789", "$###,###,###", true, ""},
        {"123,456,789$", "###,###,###", true, "$"},    {"$12,34,56,789", "$##,##,##,###", false, ""},
        {"12,34,56,789$", "##,##,##,###", true, "$"},  {"￥123,456,789", "￥###,###,###", false, ""},
        {"123,456,789￥", "###,###,###", true, "￥"},  {"￥12,34,56,789", "￥##,##,##,###", false, ""},
        {"12,34,56,789￥", "##,##,##,###", true, "￥"},
    };
    for (const Row &row : rows) {
        if (sample == QString::fromUtf8(row.sample))
            return QString::fromUtf8(row.pattern) + (row.decimals ? d : QString()) + QString::fromUtf8(row.suffix);
    }
    return sample;
}

} // namespace vek
