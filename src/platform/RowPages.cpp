#include "RowPages.h"

#include "Query.h"
#include "RowKeys.h"
#include "TDModule.h"

#include <algorithm>

namespace vek {

const QVariantList *RowPages::find(int row)
{
    const int first = pageStart(row);
    for (Page &p : m_pages) {
        if (p.first == first && row - first < p.rows.size()) {
            p.used = ++m_clock;
            return &p.rows.at(row - first);
        }
    }
    return nullptr;
}

const QVariantList &RowPages::store(int first, QList<QVariantList> rows, int row)
{
    remove(first);
    if (int(m_pages.size()) >= kMaxPages) {
        auto oldest = std::min_element(m_pages.begin(), m_pages.end(),
                                       [](const Page &a, const Page &b) { return a.used < b.used; });
        m_pages.erase(oldest);
    }
    m_pages.push_back(Page{first, std::move(rows), ++m_clock});
    return m_pages.back().rows.at(row - first);
}

void RowPages::remove(int row)
{
    const int first = pageStart(row);
    m_pages.erase(std::remove_if(m_pages.begin(), m_pages.end(), [first](const Page &p) { return p.first == first; }),
                  m_pages.end());
}

QList<QVariantList> ReadRowsByKey(TDModule &db, const QString &table, const QString &selectList, const QString &keyExpr,
                                  const RowKeys &keys, int first, int count, int columns, std::unique_ptr<Query> *reuse)
{
    const QString select = "SELECT " + keyExpr + ", " + selectList + " FROM " + table + " WHERE " + keyExpr;
    std::unique_ptr<Query> own;
    std::unique_ptr<Query> &holder = reuse ? *reuse : own;
    auto prepared = [&](const QString &sql) -> Query & {
        if (!holder || holder->sql() != sql) {
            holder = std::make_unique<Query>(db);
            holder->prepare(sql);
        }
        return *holder;
    };
    bool range = keys.integers();
    for (int i = 1; range && i < count; ++i)
        range = keys.intAt(first + i) == keys.intAt(first) + i;
    Query *query = nullptr;
    if (range) {
        // Table order with no gaps: the keys are exactly the numbers of one range.
        Query &q = *(query = &prepared(select + " BETWEEN :HostKeyFrom AND :HostKeyTo"));
        q.bind(QStringLiteral(":HostKeyFrom"), qlonglong(keys.intAt(first)));
        q.bind(QStringLiteral(":HostKeyTo"), qlonglong(keys.intAt(first + count - 1)));
    } else if (keys.integers() && db.engine() == Engine::Sqlite) {
        // One bound list instead of a placeholder per key: far less to parse and bind.
        QString list;
        list.reserve(count * 8 + 2);
        list += QLatin1Char('[');
        for (int i = 0; i < count; ++i) {
            if (i)
                list += QLatin1Char(',');
            list += QString::number(keys.intAt(first + i));
        }
        list += QLatin1Char(']');
        Query &q = *(query = &prepared(select + " IN (SELECT value FROM json_each(:HostKeys))"));
        q.bind(QStringLiteral(":HostKeys"), list);
    } else {
        QString in;
        in.reserve(count * 10);
        for (int i = 0; i < count; ++i) {
            if (i)
                in += QLatin1String(", ");
            in += QStringLiteral(":HostK%1").arg(i);
        }
        Query &q = *(query = &prepared(select + " IN (" + in + ")"));
        for (int i = 0; i < count; ++i)
            q.bind(QStringLiteral(":HostK%1").arg(i), keys.value(first + i));
    }
    Query &q = *query;
    q.exec();

    QList<QVariantList> rows(count);
    std::vector<bool> seen(size_t(count), false);
    int hint = 0;
    while (q.next()) {
        const QVariant key = q.value(0);
        // Rows mostly come back in the order of the keys; else look the key up.
        int at = -1;
        if (hint < count && !seen[size_t(hint)] && keys.matches(first + hint, key)) {
            at = hint;
        } else {
            for (int i = 0; i < count; ++i) {
                if (!seen[size_t(i)] && keys.matches(first + i, key)) {
                    at = i;
                    break;
                }
            }
        }
        if (at < 0)
            continue;
        seen[size_t(at)] = true;
        hint = at + 1;
        QVariantList values;
        values.reserve(columns);
        for (int c = 0; c < columns; ++c)
            values.append(q.value(c + 1));
        rows[at] = std::move(values);
    }
    // Done with the statement; keeping it prepared must not keep it stepping.
    q.raw().finish();
    for (int i = 0; i < count; ++i) {
        if (!seen[size_t(i)])
            rows[i] = QVariantList(columns);
    }
    return rows;
}

QList<QVariantList> ReadRowsByPosition(TDModule &db, const QString &select, const QVariantMap &binds, int first,
                                       int count, int columns)
{
    Query q(db);
    q.prepare(select + QStringLiteral(" LIMIT :HostPageRows OFFSET :HostPageFirst"));
    for (auto it = binds.begin(); it != binds.end(); ++it)
        q.bind(it.key(), it.value());
    q.bind(QStringLiteral(":HostPageRows"), count);
    q.bind(QStringLiteral(":HostPageFirst"), first);
    q.exec();
    QList<QVariantList> rows;
    rows.reserve(count);
    while (rows.size() < count && q.next()) {
        QVariantList values;
        values.reserve(columns);
        for (int c = 0; c < columns; ++c)
            values.append(q.value(c));
        rows.append(std::move(values));
    }
    // Rows gone since the count was read show empty.
    while (rows.size() < count)
        rows.append(QVariantList(columns));
    return rows;
}

} // namespace vek
