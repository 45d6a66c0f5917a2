#include "IncrementCode.h"

#include "platform/Query.h"
#include "platform/TDModule.h"

#include <limits>

namespace vek {

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool allDigits(const QString &s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s) {
        if (!isDigit(c))
            return false;
    }
    return true;
}

// Decimal count-up on the text itself, so that no run of digits is too long to count.
QString incrementDigits(const QString &digits)
{
    QString out = digits;
    for (qsizetype i = out.size() - 1; i >= 0; --i) {
        if (out[i] != QLatin1Char('9')) {
            out[i] = QChar(out[i].unicode() + 1);
            return out;
        }
        out[i] = QLatin1Char('0');
    }
    return QLatin1Char('1') + out;
}

bool isCodeUsed(TDModule &db, const QString &code)
{
    return Query::scalar(db, QStringLiteral("SELECT count(*) FROM usys_system WHERE child = :HostCode"),
                         {{":HostCode", code}})
               .toInt()
        > 0;
}

} // namespace

QString IncrementCode(const QString &code)
{
    if (code.isEmpty())
        return QStringLiteral("1");
    if (allDigits(code))
        return incrementDigits(code);
    if (code.startsWith(QLatin1Char('-')) && allDigits(code.mid(1))) {
        bool ok = false;
        const qint64 n = code.toLongLong(&ok);
        if (ok && n >= std::numeric_limits<qint32>::min())
            return QString::number(n + 1);
    }
    // The last run of digits counts up; a text with digits has at least two runs here.
    qsizetype end = code.size();
    while (end > 0 && !isDigit(code[end - 1]))
        --end;
    if (end == 0)
        return {};
    qsizetype start = end;
    while (start > 0 && isDigit(code[start - 1]))
        --start;
    return code.left(start) + incrementDigits(code.mid(start, end - start)) + code.mid(end);
}

QString NextTreeCode(TDModule &db)
{
    // Codes compare as plain text, whatever the server's collation.
    const QString maxExpr = db.engine() == Engine::Postgres ? QStringLiteral("max(child COLLATE \"C\")")
                                                            : QStringLiteral("max(child)");
    const QString highest = Query::scalar(db, "SELECT " + maxExpr + " FROM usys_system").toString();
    QString code = IncrementCode(highest);
    if (code == QLatin1String("10"))
        code = QStringLiteral("A00001");
    // A highest code that does not count (no digits) starts the letter series; a code
    // that is already taken (after "A99999" the text maximum stays put) counts on.
    if (code.isEmpty())
        code = QStringLiteral("A00001");
    while (isCodeUsed(db, code))
        code = IncrementCode(code);
    return code;
}

} // namespace vek
