#include "LookupList.h"

#include "platform/StoredStatement.h"

#include "platform/DbError.h"
#include "platform/Query.h"
#include "platform/TDModule.h"

#include <optional>

namespace vek {

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == '_';
}

// Position of keyword (a word, or words separated by blanks in the text) at or after from,
// outside quotes, as a whole word; -1 when absent. Sets end to the position after it.
int findKeyword(const QString &s, const QStringList &words, int from, int *end)
{
    QChar quote;
    for (int i = from; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
            continue;
        }
        if (i > 0 && isWordChar(s.at(i - 1)))
            continue;
        int p = i;
        bool ok = true;
        for (int w = 0; w < words.size() && ok; ++w) {
            if (w > 0) {
                const int start = p;
                while (p < s.size() && s.at(p).isSpace())
                    ++p;
                ok = p > start;
            }
            ok = ok && s.mid(p, words.at(w).size()).compare(words.at(w), Qt::CaseInsensitive) == 0;
            p += words.at(w).size();
        }
        if (ok && (p >= s.size() || !isWordChar(s.at(p)))) {
            if (end)
                *end = p;
            return i;
        }
    }
    return -1;
}

// Storage width of a code column: declared length plus one for text, the value's size
// in bytes for the other kinds.
int storageWidth(const ColumnInfo &c)
{
    using K = ColumnInfo::Kind;
    const QString t = c.declaredType.toLower();
    switch (c.kind) {
    case K::Text:
        return c.size > 0 ? c.size + 1 : 0;
    case K::Integer:
        if (t.startsWith("smallint") || t.startsWith("int2"))
            return 2;
        if (t.startsWith("bigint") || t.startsWith("int8"))
            return 8;
        return 4;
    case K::Float:
    case K::Currency:
    case K::Date:
    case K::DateTime:
        return 8;
    case K::Boolean:
        return 2;
    default:
        return 0;
    }
}

std::optional<ColumnInfo> findColumn(const ColumnList &cols, const QString &name)
{
    for (const ColumnInfo &c : cols) {
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    }
    return std::nullopt;
}

} // namespace

QString LookupList::whereTail(const QString &selectText)
{
    int whereEnd = 0;
    const int where = findKeyword(selectText, {"where"}, 0, &whereEnd);
    if (where < 0)
        return QString();
    const int order = findKeyword(selectText, {"order", "by"}, whereEnd, nullptr);
    const QString tail = order < 0 ? selectText.mid(where) : selectText.mid(where, order - where);
    return tail.trimmed();
}

int LookupList::displayWidth(const QString &text)
{
    int w = 0;
    for (QChar c : text)
        w += c.unicode() < 0x80 ? 1 : 2;
    return w;
}

QString LookupList::codeLine(const QString &code, const QString &name, int width)
{
    const int pad = width - displayWidth(code);
    return code + QString(qMax(0, pad), ' ') + '|' + name;
}

LookupChoices LookupList::build(TDModule &db, const QString &columns, const QString &table,
                                const QString &tail, bool chooseGrid)
{
    LookupChoices out;
    const QString cols = columns.trimmed();
    const int comma = cols.indexOf(',');
    const QString codeName = (comma < 0 ? cols : cols.left(comma)).trimmed();
    const QString nameName = comma < 0 ? QString() : cols.mid(comma + 1).trimmed();
    if (codeName.isEmpty() || table.trimmed().isEmpty() || (comma >= 0 && nameName.isEmpty()))
        return out;
    try {
        // Names come from the catalog: they are checked against the table's real columns
        // and quoted as the schema spells them.
        const QString actual = db.actualTableName(table.trimmed());
        if (actual.isEmpty())
            return out;
        const ColumnList schema = db.columns(actual);
        const auto code = findColumn(schema, codeName);
        const auto name = comma < 0 ? std::nullopt : findColumn(schema, nameName);
        if (!code || (comma >= 0 && !name))
            return out;
        const SqlDialect &d = db.dialect();
        QString sql = "SELECT " + d.quoteExactIdent(code->name);
        if (name)
            sql += ", " + d.quoteExactIdent(name->name);
        sql += " FROM " + d.quoteExactIdent(actual);
        if (!tail.trimmed().isEmpty())
            sql += "\n" + tail.trimmed();
        Query q(db);
        q.prepare(StoredStatement::single(sql)).exec();
        const int width = storageWidth(*code);
        QStringList seen;
        QStringList lines;
        while (q.next()) {
            if (q.value(0).isNull())
                continue;
            const QString value = q.value(0).toString().trimmed();
            if (seen.contains(value, Qt::CaseInsensitive))
                continue;
            seen << value;
            lines << (name ? codeLine(value, q.value(1).toString().trimmed(), width) : value);
        }
        out.lookup = true;
        if (chooseGrid)
            out.lines << chooseFromGridEntry();
        out.lines << lines;
    } catch (const DbError &) {
        out = LookupChoices();
    }
    return out;
}

} // namespace vek
