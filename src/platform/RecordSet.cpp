#include "RecordSet.h"

#include "DbError.h"
#include "Query.h"
#include "TDModule.h"

#include <algorithm>

namespace vek {

RecordSet::RecordSet(TDModule &db) : m_db(db) {}

void RecordSet::open(const QString &table, const QStringList &fields, const QString &condition,
                     const QVariantMap &binds, const QString &orderBy)
{
    close();
    const QString actual = m_db.actualTableName(table);
    if (actual.isEmpty())
        throw DbError(QStringLiteral("数据表不存在: %1").arg(table));
    const ColumnList all = m_db.columns(actual);
    ColumnList chosen;
    if (fields.isEmpty()) {
        chosen = all;
    } else {
        for (const QString &f : fields) {
            auto it = std::find_if(all.begin(), all.end(),
                                   [&](const ColumnInfo &c) { return c.name.compare(f.trimmed(), Qt::CaseInsensitive) == 0; });
            if (it == all.end())
                throw DbError(QStringLiteral("字段不存在: %1").arg(f));
            chosen << *it;
        }
    }
    m_table = actual;
    m_columns = chosen;
    m_condition = condition.trimmed();
    m_binds = binds;
    m_orderBy = orderBy.trimmed();
    if (m_db.engine() == Engine::Sqlite) {
        m_keyColumn = QStringLiteral("rowid");
        m_rowid = true;
    } else {
        QStringList pk;
        for (const ColumnInfo &c : all) {
            if (c.primaryKey)
                pk << c.name;
        }
        m_keyColumn = pk.size() == 1 ? pk.first() : QString();
        m_rowid = false;
    }
    loadKeys();
    m_state = State::Browse;
    m_row = m_keys.isEmpty() ? -1 : 0;
}

RecordSet::~RecordSet() = default;

void RecordSet::close()
{
    m_pageQuery.reset();
    m_state = State::Inactive;
    m_keys.clear();
    m_cache.clear();
    m_buffer.clear();
    m_row = -1;
    m_modified = false;
}

QString RecordSet::selectList() const
{
    QStringList names;
    for (const ColumnInfo &c : m_columns)
        names << m_db.dialect().quoteExactIdent(c.name);
    return names.join(QStringLiteral(", "));
}

void RecordSet::loadKeys()
{
    // Read into a new vector: a failed read leaves the set as it was.
    RowKeys keys;
    if (m_keyColumn.isEmpty()) {
        // No row identity: rows are read by position, and the set is read-only.
        Query q(m_db);
        q.prepare(QStringLiteral("SELECT count(*) FROM ") + m_db.dialect().quoteExactIdent(m_table)
                  + (m_condition.isEmpty() ? QString() : " WHERE " + m_condition));
        for (auto it = m_binds.begin(); it != m_binds.end(); ++it)
            q.bind(it.key(), it.value());
        q.exec();
        keys.fillPositions(q.next() ? q.value(0).toInt() : 0);
    } else {
        const QString key = keyExpression();
        QString sql = "SELECT " + key + " FROM " + m_db.dialect().quoteExactIdent(m_table);
        if (!m_condition.isEmpty())
            sql += " WHERE " + m_condition;
        sql += " ORDER BY " + (m_orderBy.isEmpty() ? key : m_orderBy + ", " + key);
        Query q(m_db);
        q.prepare(sql);
        for (auto it = m_binds.begin(); it != m_binds.end(); ++it)
            q.bind(it.key(), it.value());
        q.exec();
        // Forward-only (Query's default), so the driver keeps no copy of the million rows.
        while (q.next()) {
            const QVariant k = q.value(0);
            qint64 n = 0;
            if (keys.integers() && RowKeys::integral(k, &n))
                keys.appendInt(n);
            else
                keys.append(k);
        }
    }
    m_keys = std::move(keys);
    m_cache.clear();
}

void RecordSet::refresh()
{
    requireState(State::Browse, "refresh");
    const QVariant current = keyAt(m_row);
    loadKeys();
    const qsizetype at = m_keys.indexOf(current);
    m_row = at >= 0 ? int(at) : (m_keys.isEmpty() ? -1 : qMin(m_row, rowCount() - 1));
}

void RecordSet::sort(const QString &orderBy)
{
    requireState(State::Browse, "sort");
    const QString previous = m_orderBy;
    m_orderBy = orderBy.trimmed();
    try {
        refresh();
    } catch (...) {
        m_orderBy = previous;
        throw;
    }
}

int RecordSet::columnIndex(const QString &field) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].name.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool RecordSet::seek(int row)
{
    if (row < 0 || row >= rowCount())
        return false;
    if (m_state == State::Edit || m_state == State::Insert)
        throw DbError(QStringLiteral("记录正在编辑，请先保存或取消"));
    m_row = row;
    return true;
}

const QVariantList &RecordSet::rowValues(int row)
{
    if (const QVariantList *hit = m_cache.find(row))
        return *hit;
    // One query for the page around row: a screen costs one or two round trips.
    const int first = RowPages::pageStart(row);
    const int count = qMin(RowPages::kPageRows, rowCount() - first);
    const int columns = int(m_columns.size());
    const QString table = m_db.dialect().quoteExactIdent(m_table);
    QList<QVariantList> rows;
    if (m_keyColumn.isEmpty()) {
        rows = ReadRowsByPosition(m_db, "SELECT " + selectList() + " FROM " + table
                                      + (m_condition.isEmpty() ? QString() : " WHERE " + m_condition)
                                      + (m_orderBy.isEmpty() ? QString() : " ORDER BY " + m_orderBy),
                                  m_binds, first, count, columns);
    } else {
        rows = ReadRowsByKey(m_db, table, selectList(), keyExpression(), m_keys, first, count, columns, &m_pageQuery);
    }
    return m_cache.store(first, std::move(rows), row);
}

QVariant RecordSet::value(const QString &field) const
{
    const int i = columnIndex(field);
    if (i < 0)
        throw DbError(QStringLiteral("字段不存在: %1").arg(field));
    if (m_state == State::Edit || m_state == State::Insert)
        return m_buffer.value(i);
    if (m_row < 0)
        return {};
    return const_cast<RecordSet *>(this)->rowValues(m_row).value(i);
}

QVariant RecordSet::valueAt(int row, int column)
{
    if (column < 0 || column >= m_columns.size() || row < 0 || row >= rowCount())
        return {};
    return rowValues(row).value(column);
}

QVariant RecordSet::valueAt(int row, const QString &field)
{
    const int i = columnIndex(field);
    if (i < 0 || row < 0 || row >= rowCount())
        return {};
    return rowValues(row).value(i);
}

void RecordSet::setValue(const QString &field, const QVariant &value)
{
    if (m_state != State::Edit && m_state != State::Insert)
        throw DbError(QStringLiteral("记录不在编辑状态"));
    const int i = columnIndex(field);
    if (i < 0)
        throw DbError(QStringLiteral("字段不存在: %1").arg(field));
    m_buffer[i] = value;
    m_modified = true;
}

void RecordSet::requireState(State s, const char *what) const
{
    if (m_state != s)
        throw DbError(QStringLiteral("记录集状态不允许%1").arg(QString::fromLatin1(what)));
}

void RecordSet::edit()
{
    requireState(State::Browse, "edit");
    if (readOnly())
        throw DbError(QStringLiteral("该数据表没有主键，只能浏览"));
    if (m_row < 0)
        throw DbError(QStringLiteral("没有记录可以编辑"));
    if (beforeEdit)
        beforeEdit(*this);
    m_buffer = rowValues(m_row);
    m_state = State::Edit;
    m_modified = false;
}

void RecordSet::insert()
{
    requireState(State::Browse, "insert");
    if (readOnly())
        throw DbError(QStringLiteral("该数据表没有主键，只能浏览"));
    if (beforeInsert)
        beforeInsert(*this);
    m_buffer.clear();
    for (int i = 0; i < m_columns.size(); ++i)
        m_buffer << QVariant();
    m_state = State::Insert;
    m_modified = false;
    if (onNewRecord) {
        try {
            onNewRecord(*this);
        } catch (...) {
            cancel();
            throw;
        }
        // Defaults are not the user's changes: an untouched new record may be dropped.
        m_modified = false;
    }
}

void RecordSet::cancel()
{
    if (m_state == State::Edit || m_state == State::Insert) {
        m_state = State::Browse;
        m_buffer.clear();
        m_modified = false;
    }
}

void RecordSet::post()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    const SqlDialect &d = m_db.dialect();
    Transaction tx(m_db);
    if (beforePost)
        beforePost(*this);
    QVariant key;
    Query q(m_db);
    if (m_state == State::Edit) {
        QStringList sets;
        for (int i = 0; i < m_columns.size(); ++i) {
            if (!m_columns[i].autoIncrement)
                sets << d.quoteExactIdent(m_columns[i].name) + QStringLiteral(" = :HostV%1").arg(i);
        }
        const QString keyExpr = m_rowid ? m_keyColumn : d.quoteExactIdent(m_keyColumn);
        q.prepare("UPDATE " + d.quoteExactIdent(m_table) + " SET " + sets.join(", ") + " WHERE " + keyExpr + " = :HostKey");
        key = m_keys.value(m_row);
        q.bind(QStringLiteral(":HostKey"), key);
    } else {
        QStringList names, params;
        for (int i = 0; i < m_columns.size(); ++i) {
            if (m_columns[i].autoIncrement && m_buffer[i].isNull())
                continue;
            names << d.quoteExactIdent(m_columns[i].name);
            params << QStringLiteral(":HostV%1").arg(i);
        }
        const QString keyExpr = m_rowid ? m_keyColumn : d.quoteExactIdent(m_keyColumn);
        q.prepare("INSERT INTO " + d.quoteExactIdent(m_table)
                  + (names.isEmpty() ? QStringLiteral(" DEFAULT VALUES") : " (" + names.join(", ") + ") VALUES (" + params.join(", ") + ")")
                  + " RETURNING " + keyExpr);
    }
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_state == State::Edit && m_columns[i].autoIncrement)
            continue;
        if (m_state == State::Insert && m_columns[i].autoIncrement && m_buffer[i].isNull())
            continue;
        q.bind(QStringLiteral(":HostV%1").arg(i), m_buffer[i]);
    }
    q.exec();
    if (m_state == State::Insert && q.next())
        key = q.value(0);
    // SQLite cannot commit while a statement is still stepping.
    q.raw().finish();
    if (afterPost)
        afterPost(*this);
    tx.commit();

    // Written: back to browsing, on the row just posted.
    if (m_state == State::Insert) {
        m_keys << key;
        m_row = rowCount() - 1;
    }
    m_cache.remove(m_row);
    m_state = State::Browse;
    m_buffer.clear();
    m_modified = false;
    if (afterCommit)
        afterCommit(*this);
}

void RecordSet::remove()
{
    requireState(State::Browse, "delete");
    if (readOnly())
        throw DbError(QStringLiteral("该数据表没有主键，只能浏览"));
    if (m_row < 0)
        return;
    Transaction tx(m_db);
    if (beforeDelete)
        beforeDelete(*this);
    const QString keyExpr = m_rowid ? m_keyColumn : m_db.dialect().quoteExactIdent(m_keyColumn);
    Query q(m_db);
    q.prepare("DELETE FROM " + m_db.dialect().quoteExactIdent(m_table) + " WHERE " + keyExpr + " = :HostKey");
    q.bind(QStringLiteral(":HostKey"), m_keys.value(m_row));
    q.exec();
    tx.commit();
    m_keys.removeAt(m_row);
    m_cache.clear();
    if (m_row >= rowCount())
        m_row = rowCount() - 1;
}

QString RecordSet::keyExpression() const
{
    return m_rowid ? m_keyColumn : m_db.dialect().quoteExactIdent(m_keyColumn);
}

void RecordSet::removeRows(QList<int> rows)
{
    requireState(State::Browse, "delete");
    if (readOnly())
        throw DbError(QStringLiteral("该数据表没有主键，只能浏览"));
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.removeIf([this](int r) { return r < 0 || r >= rowCount(); });
    if (rows.isEmpty())
        return;
    {
        Transaction tx(m_db);
        Query q(m_db);
        q.prepare("DELETE FROM " + m_db.dialect().quoteExactIdent(m_table) + " WHERE " + keyExpression() + " = :HostKey");
        for (int r : rows) {
            q.bind(QStringLiteral(":HostKey"), m_keys.value(r));
            q.exec();
        }
        q.raw().finish();
        tx.commit();
    }
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        m_keys.removeAt(*it);
    m_cache.clear();
    if (m_row >= rowCount())
        m_row = rowCount() - 1;
}

void RecordSet::removeAll()
{
    requireState(State::Browse, "delete");
    if (readOnly())
        throw DbError(QStringLiteral("该数据表没有主键，只能浏览"));
    {
        Transaction tx(m_db);
        Query q(m_db);
        q.prepare("DELETE FROM " + m_db.dialect().quoteExactIdent(m_table)
                  + (m_condition.isEmpty() ? QString() : " WHERE " + m_condition));
        for (auto it = m_binds.begin(); it != m_binds.end(); ++it)
            q.bind(it.key(), it.value());
        q.exec();
        tx.commit();
    }
    m_keys.clear();
    m_cache.clear();
    m_row = -1;
}

} // namespace vek
