#include "StoredStatement.h"

#include "platform/DbError.h"

namespace vek {

namespace {

QString withoutFinalSemicolon(const QString &text)
{
    QString t = text.trimmed();
    while (t.endsWith(';'))
        t = t.chopped(1).trimmed();
    return t;
}

} // namespace

bool StoredStatement::isSingle(const QString &text)
{
    const QString s = withoutFinalSemicolon(text);
    QChar quote;
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '-' && i + 1 < s.size() && s.at(i + 1) == '-') {
            const int end = s.indexOf('\n', i);
            i = end < 0 ? s.size() : end;
        } else if (c == '/' && i + 1 < s.size() && s.at(i + 1) == '*') {
            const int end = s.indexOf("*/", i + 2);
            if (end < 0)
                return false;
            i = end + 1;
        } else if (c == ';' || c == '$') {
            return false;
        }
    }
    return quote.isNull();
}

QString StoredStatement::single(const QString &text)
{
    if (!isSingle(text))
        throw DbError(QStringLiteral("语句只能有一条: %1").arg(text.trimmed()));
    return withoutFinalSemicolon(text);
}

} // namespace vek
