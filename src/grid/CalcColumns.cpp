#include "CalcColumns.h"

#include "platform/IniFile.h"

#include <QStringList>
#include <cmath>

namespace vek {

namespace {

std::optional<double> number(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QDate readDate(const QString &text)
{
    const QString t = text.trimmed();
    for (const char *format : {"yyyy-MM-dd", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss", "yyyy/M/d", "yyyy-M-d",
                               "yyyy/M/d H:mm:ss", "yyyy.M.d", "yyyyMMdd"}) {
        const QString f = QString::fromLatin1(format);
        const QDateTime dt = QDateTime::fromString(t, f);
        if (dt.isValid())
            return dt.date();
        const QDate d = QDate::fromString(t, f);
        if (d.isValid())
            return d;
    }
    // Longer texts (fractions of seconds, time zones) still begin with the date.
    const QDate d = QDate::fromString(t.left(10), "yyyy-MM-dd");
    return d;
}

} // namespace

CalcDef ParseCalcSetting(const QString &setting, int n)
{
    const int colon = setting.indexOf(':');
    if (colon < 0)
        return {QStringLiteral("计算%1").arg(n + 1), setting};
    return {setting.left(colon), setting.mid(colon + 1)};
}

QList<CalcDef> ReadCalcDefs(IniFile &ini, const QString &section)
{
    QList<CalcDef> out;
    const int count = qBound(0, ini.intValue(section, "CalcFieldCount", 0), MaxCalcColumns);
    for (int n = 0; n < count; ++n) {
        const QString key = QStringLiteral("CalcField%1").arg(n);
        out << ParseCalcSetting(ini.value(section, key, QStringLiteral("计算%1").arg(n + 1)), n);
    }
    return out;
}

int AgeOn(const QDate &birth, const QDate &today)
{
    int years = today.year() - birth.year();
    if (today.month() < birth.month() || (today.month() == birth.month() && today.day() < birth.day()))
        --years;
    return years;
}

QString CalcStepText(double v)
{
    if (v == 0)
        return QStringLiteral("0"); // no "-0"
    return QString::number(v, 'g', 15);
}

QString FormatHashDot00(double v)
{
    QString s = QString::number(std::fabs(v), 'f', 2);
    if (s.startsWith(QLatin1String("0.")))
        s.remove(0, 1);
    if (v < 0 && s != QLatin1String(".00"))
        s.prepend('-');
    return s;
}

QString EvaluateCalc(const CalcDef &def, const std::function<std::optional<QString>(const QString &field)> &fieldText,
                     int recordNumber, const QDate &today)
{
    const QString expr = def.expression.trimmed();
    if (expr.isEmpty())
        return {};
    if (expr == QStringLiteral("序号"))
        return QString::number(std::abs(recordNumber));

    QStringList operands;
    QList<QChar> ops;
    QString current;
    for (const QChar c : expr) {
        if (c == '+' || c == '-' || c == '*' || c == '/') {
            operands << current.trimmed();
            ops << c;
            current.clear();
        } else {
            current += c;
        }
    }
    operands << current.trimmed();
    while (operands.size() > MaxCalcColumns) {
        operands.removeLast();
        ops.removeLast();
    }

    if (operands.first().toLower() == QLatin1String("now")) {
        if (operands.size() < 2)
            return {};
        const std::optional<QString> text = fieldText(operands.at(1));
        if (!text)
            return {};
        const QDate birth = readDate(*text);
        if (!birth.isValid())
            return {};
        return QString::number(AgeOn(birth, today));
    }

    auto operandText = [&](const QString &operand) {
        const std::optional<QString> text = fieldText(operand);
        return text ? *text : operand;
    };
    QString acc = operandText(operands.first());
    for (int i = 1; i < operands.size(); ++i) {
        const double a = number(acc).value_or(0);
        const double b = number(operandText(operands.at(i))).value_or(0);
        double r = 0;
        switch (ops.at(i - 1).unicode()) {
        case '+': r = a + b; break;
        case '-': r = a - b; break;
        case '*': r = a * b; break;
        default:
            if (b == 0)
                return {};
            r = a / b;
        }
        if (!std::isfinite(r))
            return {};
        acc = CalcStepText(r);
    }

    if (acc.trimmed().isEmpty())
        return {};
    const std::optional<double> v = number(acc);
    if (!v)
        return {}; // a lone operand that is no number has no value to show
    if (!acc.contains('.'))
        return QString::number(std::round(*v), 'f', 0);
    return FormatHashDot00(*v);
}

} // namespace vek
