#include "StoredFilter.h"

#include "platform/DbError.h"
#include "platform/SqlDialect.h"

#include <QStringList>

namespace vek {

namespace {

// What an operand is, so that comparisons can be rendered soundly: a bound value next to
// another bound value needs a type on the server, and a null turns = into IS NULL.
struct Operand {
    enum Kind { Column, Expr, Value, Null };
    enum Type { Text, Number, Date, DateTime, Bool };
    Kind kind = Expr;
    Type type = Text;
    QString sql;    // Column, Expr
    QVariant value; // Value
};

class Reader {
public:
    Reader(const SqlDialect &d, const QString &text, const QVariantMap &given, const QDate &today)
        : m_d(d), m_text(text), m_given(given), m_today(today)
    {
    }

    Condition read()
    {
        m_tokens = TokenizeFilter(m_text);
        if (peekWord("where"))
            ++m_at;
        if (peek().type == FilterToken::End)
            return {};
        const QString sql = orExpr();
        if (peek().type != FilterToken::End)
            fail(QStringLiteral("多余的内容 ") + peek().text);
        return Condition(sql, m_binds);
    }

    [[noreturn]] void fail(const QString &why) const { throw DbError(why); }

private:
    const FilterToken &peek(int ahead = 0) const { return m_tokens[qMin(m_at + ahead, int(m_tokens.size()) - 1)]; }
    bool peekWord(const char *word, int ahead = 0) const
    {
        const FilterToken &t = peek(ahead);
        return t.type == FilterToken::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    bool takeWord(const char *word)
    {
        if (!peekWord(word))
            return false;
        ++m_at;
        return true;
    }
    void expect(FilterToken::Type type, const QString &what)
    {
        if (peek().type != type)
            fail(QStringLiteral("缺少 ") + what);
        ++m_at;
    }
    static bool isKeyword(const QString &w)
    {
        static const QStringList words{"and", "or", "not", "like", "is", "null", "in", "between", "true", "false", "where"};
        return words.contains(w.toLower());
    }

    QString orExpr()
    {
        QStringList parts{andExpr()};
        while (takeWord("or"))
            parts << andExpr();
        return joined(parts, " OR ");
    }
    QString andExpr()
    {
        QStringList parts{notExpr()};
        while (takeWord("and"))
            parts << notExpr();
        return joined(parts, " AND ");
    }
    static QString joined(const QStringList &parts, const char *op)
    {
        if (parts.size() == 1)
            return parts.first();
        return "(" + parts.join(QStringLiteral(") ") + op + " (") + ")";
    }
    QString notExpr()
    {
        if (takeWord("not"))
            return "NOT (" + notExpr() + ")";
        return predicate();
    }

    QString predicate()
    {
        if (peek().type == FilterToken::LParen) {
            ++m_at;
            const QString inner = orExpr();
            expect(FilterToken::RParen, ")");
            return "(" + inner + ")";
        }
        Operand lhs = operand();
        const FilterToken &t = peek();
        if (t.type == FilterToken::Op) {
            ++m_at;
            return comparison(lhs, t.text, operand());
        }
        if (takeWord("is")) {
            const bool negated = takeWord("not");
            return comparison(lhs, negated ? "<>" : "=", operand());
        }
        const bool negated = takeWord("not");
        if (takeWord("like"))
            return like(lhs, negated);
        if (takeWord("in"))
            return inList(lhs, negated);
        if (takeWord("between"))
            return between(lhs, negated);
        if (negated)
            fail(QStringLiteral("NOT 后缺少 LIKE、IN 或 BETWEEN"));
        if (lhs.kind == Operand::Value && lhs.type == Operand::Bool)
            return lhs.value.toBool() ? QStringLiteral("1 = 1") : QStringLiteral("1 = 0");
        fail(QStringLiteral("缺少比较运算"));
    }

    QString comparison(Operand lhs, const QString &op, Operand rhs)
    {
        if (lhs.kind == Operand::Null)
            std::swap(lhs, rhs);
        if (rhs.kind == Operand::Null) {
            if (lhs.kind == Operand::Null || (op != "=" && op != "<>"))
                fail(QStringLiteral("null 只能用 = 或 <> 比较"));
            return render(lhs, true) + (op == "=" ? " IS NULL" : " IS NOT NULL");
        }
        const bool bothValues = lhs.kind == Operand::Value && rhs.kind == Operand::Value;
        return render(lhs, bothValues) + ' ' + op + ' ' + render(rhs, bothValues);
    }

    QString like(const Operand &lhs, bool negated)
    {
        Operand pattern = operand();
        if (pattern.kind != Operand::Value)
            fail(QStringLiteral("LIKE 后应是文字"));
        // The stored wildcards * and ? become % and _; a backslash is literal.
        QString out = QStringLiteral("");
        for (QChar c : pattern.value.toString()) {
            if (c == '*')
                out += '%';
            else if (c == '?')
                out += '_';
            else if (c == '\\')
                out += QStringLiteral("\\\\");
            else
                out += c;
        }
        const QString p = Condition::freshParam();
        m_binds.insert(p, out);
        const QString sql = m_d.likeClause(render(lhs, true), p);
        return negated ? "NOT (" + sql + ")" : sql;
    }

    QString inList(const Operand &lhs, bool negated)
    {
        expect(FilterToken::LParen, "(");
        QList<Operand> items{operand()};
        while (peek().type == FilterToken::Comma) {
            ++m_at;
            items << operand();
        }
        expect(FilterToken::RParen, ")");
        QStringList rendered;
        for (const Operand &o : items) {
            if (o.kind == Operand::Null)
                fail(QStringLiteral("IN 列表中不能有 null"));
            rendered << render(o, lhs.kind == Operand::Value);
        }
        return render(lhs, true) + (negated ? " NOT IN (" : " IN (") + rendered.join(", ") + ")";
    }

    QString between(const Operand &lhs, bool negated)
    {
        const Operand low = operand();
        if (!takeWord("and"))
            fail(QStringLiteral("BETWEEN 缺少 AND"));
        const Operand high = operand();
        if (low.kind == Operand::Null || high.kind == Operand::Null)
            fail(QStringLiteral("BETWEEN 不能用 null"));
        const bool typed = lhs.kind == Operand::Value;
        return render(lhs, true) + (negated ? " NOT BETWEEN " : " BETWEEN ") + render(low, typed) + " AND "
               + render(high, typed);
    }

    Operand operand()
    {
        const FilterToken t = peek();
        ++m_at;
        Operand o;
        switch (t.type) {
        case FilterToken::Name:
            return column(t.text);
        case FilterToken::String:
            o.kind = Operand::Value;
            o.value = t.text;
            return o;
        case FilterToken::Number:
            return number(t.text, false);
        case FilterToken::Minus:
            if (peek().type != FilterToken::Number)
                fail(QStringLiteral("负号后应是数字"));
            return number(m_tokens[m_at++].text, true);
        case FilterToken::Date:
            return dateValue(t.text);
        case FilterToken::Param:
            return param(t.text);
        case FilterToken::Word:
            return word(t.text);
        default:
            fail(QStringLiteral("缺少比较的值"));
        }
    }

    Operand column(const QString &name)
    {
        Operand o;
        o.kind = Operand::Column;
        try {
            o.sql = m_d.quoteIdent(name.trimmed());
        } catch (const DbError &e) {
            fail(e.message());
        }
        return o;
    }

    Operand number(const QString &text, bool negative)
    {
        Operand o;
        o.kind = Operand::Value;
        o.type = Operand::Number;
        bool ok = false;
        if (!text.contains('.')) {
            const qlonglong v = text.toLongLong(&ok);
            o.value = negative ? -v : v;
        }
        if (!ok) {
            const double v = text.toDouble(&ok);
            if (!ok || text.count('.') > 1)
                fail(QStringLiteral("数字错误 ") + text);
            o.value = negative ? -v : v;
        }
        return o;
    }

    Operand dateValue(const QString &text)
    {
        Operand o;
        o.kind = Operand::Value;
        if (const auto d = ReadDateText(text)) {
            o.type = Operand::Date;
            o.value = *d;
        } else if (const auto dt = ReadDateTimeText(text)) {
            o.type = Operand::DateTime;
            o.value = *dt;
        } else {
            fail(QStringLiteral("日期错误 #") + text + "#");
        }
        return o;
    }

    Operand param(const QString &name)
    {
        auto it = m_given.constFind(name);
        if (it == m_given.constEnd())
            it = m_given.constFind(name.mid(1));
        if (it == m_given.constEnd())
            fail(QStringLiteral("未知的参数 ") + name);
        Operand o;
        o.kind = it->isNull() ? Operand::Null : Operand::Value;
        o.value = *it;
        switch (it->typeId()) {
        case QMetaType::QDate: o.type = Operand::Date; break;
        case QMetaType::QDateTime: o.type = Operand::DateTime; break;
        case QMetaType::Bool: o.type = Operand::Bool; break;
        case QMetaType::Int: case QMetaType::LongLong: case QMetaType::UInt: case QMetaType::ULongLong:
        case QMetaType::Double:
            o.type = Operand::Number;
            break;
        default: o.type = Operand::Text; break;
        }
        return o;
    }

    Operand word(const QString &w)
    {
        const QString lw = w.toLower();
        Operand o;
        if (lw == "null") {
            o.kind = Operand::Null;
            return o;
        }
        if (lw == "true" || lw == "false") {
            o.kind = Operand::Value;
            o.type = Operand::Bool;
            o.value = lw == "true";
            return o;
        }
        const bool call = peek().type == FilterToken::LParen;
        if (lw == "now" || (lw == "date" && call)) {
            if (call) {
                ++m_at;
                expect(FilterToken::RParen, ")");
            }
            o.kind = Operand::Value;
            o.type = Operand::Date;
            o.value = m_today;
            return o;
        }
        if (call && (lw == "month" || lw == "day" || lw == "year")) {
            ++m_at;
            const Operand arg = operand();
            expect(FilterToken::RParen, ")");
            if (arg.kind == Operand::Null)
                fail(QStringLiteral("函数的参数不能是 null"));
            const QString date = Condition::asDate(m_d, render(arg, false));
            o.kind = Operand::Expr;
            o.sql = lw == "month" ? m_d.monthOf(date) : lw == "day" ? m_d.dayOf(date) : m_d.yearOf(date);
            return o;
        }
        if (call)
            fail(QStringLiteral("不支持的函数 ") + w);
        if (isKeyword(w))
            fail(QStringLiteral("不应出现的 ") + w);
        return column(w);
    }

    // A bound value gets a type of its own on the server when nothing next to it tells.
    QString render(const Operand &o, bool needsType)
    {
        if (o.kind != Operand::Value)
            return o.sql;
        const QString p = Condition::freshParam();
        // An empty literal is the empty text; a null string would be bound as NULL.
        const bool emptyText = o.value.typeId() == QMetaType::QString && o.value.toString().isNull();
        m_binds.insert(p, emptyText ? QVariant(QStringLiteral("")) : o.value);
        if (!needsType || m_d.engine() != Engine::Postgres)
            return p;
        static const char *types[] = {"text", "numeric", "date", "timestamp", "boolean"};
        return "CAST(" + p + " AS " + types[o.type] + ")";
    }

    const SqlDialect &m_d;
    const QString m_text;
    const QVariantMap m_given;
    const QDate m_today;
    QList<FilterToken> m_tokens;
    int m_at = 0;
    QVariantMap m_binds;
};

} // namespace

Condition ReadStoredFilter(const SqlDialect &d, const QString &text, const QVariantMap &binds, const QDate &today)
{
    if (text.trimmed().isEmpty())
        return {};
    try {
        return Reader(d, text, binds, today).read();
    } catch (const DbError &e) {
        throw DbError(QStringLiteral("无法读取资源的筛选条件：") + text + "\n" + e.message());
    }
}

} // namespace vek
