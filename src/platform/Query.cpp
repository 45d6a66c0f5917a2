#include "Query.h"

#include "DbError.h"
#include "StoredStatement.h"
#include "TDModule.h"

#include <QSqlError>
#include <QSqlRecord>

namespace vek {

Query::Query(TDModule &db) : m_db(db), m_q(db.database())
{
    m_q.setForwardOnly(true);
}

Query::Query(TDModule &db, const QString &sql, Binds binds) : Query(db)
{
    if (binds.size() == 0) {
        // Without values run it directly: the server cannot prepare DDL and SET.
        m_sql = StoredStatement::single(sql);
        if (!m_db.isOpen())
            throw DbError(QStringLiteral("数据库没有连接"), sql);
        if (!m_q.exec(m_sql))
            throw DbError(m_q.lastError().text(), sql);
        return;
    }
    prepare(sql);
    for (const auto &[name, value] : binds)
        bind(QString::fromLatin1(name), value);
    exec();
}

Query &Query::prepare(const QString &sql)
{
    m_sql = StoredStatement::single(sql);
    if (!m_db.isOpen())
        throw DbError(QStringLiteral("数据库没有连接"), sql);
    if (!m_q.prepare(m_sql))
        throw DbError(m_q.lastError().text(), sql);
    return *this;
}

Query &Query::bind(const QString &name, const QVariant &value)
{
    m_q.bindValue(name, m_db.dialect().toDb(value));
    return *this;
}

Query &Query::exec()
{
    if (!m_q.exec())
        throw DbError(m_q.lastError().text(), m_sql);
    return *this;
}

QVariant Query::scalar(TDModule &db, const QString &sql, Binds binds)
{
    Query q(db, sql, binds);
    return q.next() ? q.value(0) : QVariant();
}

void Query::run(TDModule &db, const QString &sql, Binds binds)
{
    Query q(db, sql, binds);
}

} // namespace vek
