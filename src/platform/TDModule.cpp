#include "TDModule.h"

#include "DbError.h"
#include "Query.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

namespace vek {

namespace {

QAtomicInt g_connectionCounter;

// SQLite reports a missing file as "unable to open database file": the message the
// user sees should say which file.
QString openFailure(const QSqlDatabase &db, const QString &what)
{
    return what + ": " + db.lastError().text();
}

} // namespace

ServerParams ServerParams::fromServerName(const QString &serverName)
{
    ServerParams p;
    const QString s = serverName.trimmed();
    const int colon = s.lastIndexOf(':');
    bool ok = false;
    const int port = colon > 0 ? s.mid(colon + 1).toInt(&ok) : 0;
    if (ok && port > 0 && port < 65536) {
        p.host = s.left(colon);
        p.port = port;
    } else if (!s.isEmpty()) {
        p.host = s;
    }
    return p;
}

TDModule::TDModule()
    : m_name(QStringLiteral("vek-%1").arg(g_connectionCounter.fetchAndAddRelaxed(1))),
      m_dialect(SqlDialect::create(Engine::Sqlite))
{
}

TDModule::~TDModule()
{
    close();
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase TDModule::database() const
{
    return QSqlDatabase::database(m_name, false);
}

bool TDModule::isOpen() const
{
    return QSqlDatabase::contains(m_name) && database().isOpen();
}

void TDModule::openSqliteFile(const QString &path)
{
    close();
    const QFileInfo fi(path);
    if (!fi.exists() || !fi.isFile())
        throw DbError(QStringLiteral("文件不存在: %1").arg(path));
    QSqlDatabase::removeDatabase(m_name);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        // mode=rw: opening must never create a file that is not there.
        db.setDatabaseName(QUrl::fromLocalFile(fi.absoluteFilePath()).toString(QUrl::FullyEncoded) + "?mode=rw");
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    }
    m_engine = Engine::Sqlite;
    m_dialect = SqlDialect::create(m_engine);
    m_file = fi.absoluteFilePath();
    m_target = m_file;
    openPrepared(path);
}

void TDModule::createSqliteFile(const QString &path)
{
    close();
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw DbError(f.errorString());
    f.close();
    try {
        openSqliteFile(path);
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

void TDModule::openServer(const ServerParams &params)
{
    close();
    QSqlDatabase::removeDatabase(m_name);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
        db.setHostName(params.host);
        db.setPort(params.port);
        db.setDatabaseName(params.database);
        db.setUserName(params.user);
        db.setPassword(params.password);
        db.setConnectOptions(QStringLiteral("connect_timeout=10"));
    }
    m_engine = Engine::Postgres;
    m_dialect = SqlDialect::create(m_engine);
    m_server = params;
    m_file.clear();
    m_target = QStringLiteral("%1:%2/%3").arg(params.host).arg(params.port).arg(params.database);
    openPrepared(m_target);
}

void TDModule::openPrepared(const QString &what)
{
    QString failure;
    {
        QSqlDatabase db = database();
        if (!db.open())
            failure = openFailure(db, what);
    }
    if (!failure.isEmpty()) {
        QSqlDatabase::removeDatabase(m_name);
        m_target.clear();
        throw DbError(failure);
    }
    try {
        if (m_engine == Engine::Sqlite) {
            // Reading the schema proves the file is a database at all.
            Query::run(*this, QStringLiteral("SELECT count(*) FROM sqlite_master"));
            Query::run(*this, QStringLiteral("PRAGMA foreign_keys = ON"));
        } else {
            Query::run(*this, QStringLiteral("SELECT 1"));
        }
    } catch (const DbError &e) {
        close();
        throw DbError(what + ": " + e.message());
    }
    m_txDepth = 0;
    m_txFailed = false;
}

void TDModule::close()
{
    if (!QSqlDatabase::contains(m_name))
        return;
    {
        QSqlDatabase db = database();
        if (db.isOpen()) {
            if (m_txDepth > 0)
                db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_name);
    m_txDepth = 0;
    m_txFailed = false;
}

void TDModule::reopen()
{
    if (m_engine == Engine::Postgres)
        openServer(m_server);
    else if (!m_file.isEmpty())
        openSqliteFile(m_file);
    else
        throw DbError(QStringLiteral("数据库没有连接"));
}

bool TDModule::tableExists(const QString &table) const
{
    return !actualTableName(table).isEmpty();
}

QString TDModule::actualTableName(const QString &table) const
{
    auto &self = const_cast<TDModule &>(*this);
    const QString sql = m_engine == Engine::Sqlite
        ? QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table','view') "
                         "AND name = :HostName COLLATE NOCASE")
        : QStringLiteral("SELECT table_name FROM information_schema.tables "
                         "WHERE table_schema = current_schema() AND lower(table_name) = lower(:HostName)");
    return Query::scalar(self, sql, {{":HostName", table}}).toString();
}

QStringList TDModule::tableNames() const
{
    auto &self = const_cast<TDModule &>(*this);
    const QString sql = m_engine == Engine::Sqlite
        ? QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table','view') "
                         "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name")
        : QStringLiteral("SELECT table_name FROM information_schema.tables "
                         "WHERE table_schema = current_schema() ORDER BY table_name");
    QStringList names;
    Query q(self, sql);
    while (q.next())
        names << q.value(0).toString();
    return names;
}

ColumnList TDModule::columns(const QString &table) const
{
    auto &self = const_cast<TDModule &>(*this);
    const QString actual = actualTableName(table);
    if (actual.isEmpty())
        throw DbError(QStringLiteral("数据表不存在: %1").arg(table));
    ColumnList cols;
    if (m_engine == Engine::Sqlite) {
        Query q(self, "PRAGMA table_info(" + m_dialect->quoteExactIdent(actual) + ")");
        // SQLite has AUTOINCREMENT only on an INTEGER PRIMARY KEY; find it in the DDL.
        const QString ddl = Query::scalar(self, QStringLiteral("SELECT sql FROM sqlite_master WHERE name = :HostName"),
                                          {{":HostName", actual}})
                                .toString()
                                .toUpper();
        while (q.next()) {
            ColumnInfo c;
            c.name = q.value(1).toString();
            c.declaredType = q.value(2).toString();
            c.kind = ColumnInfo::kindOfDeclaredType(c.declaredType);
            c.notNull = q.value(3).toInt() != 0;
            c.primaryKey = q.value(5).toInt() != 0;
            c.autoIncrement = c.primaryKey && c.declaredType.compare("INTEGER", Qt::CaseInsensitive) == 0
                && ddl.contains("AUTOINCREMENT");
            const int open = c.declaredType.indexOf('(');
            if (open > 0 && (c.kind == ColumnInfo::Kind::Text))
                c.size = c.declaredType.mid(open + 1).section(')', 0, 0).section(',', 0, 0).trimmed().toInt();
            cols << c;
        }
    } else {
        Query q(self,
                QStringLiteral(
                    "SELECT c.column_name, c.data_type, c.character_maximum_length, c.is_nullable, "
                    "c.is_identity, c.column_default, "
                    "EXISTS (SELECT 1 FROM information_schema.table_constraints tc "
                    "  JOIN information_schema.key_column_usage k ON k.constraint_name = tc.constraint_name "
                    "   AND k.table_schema = tc.table_schema AND k.table_name = tc.table_name "
                    "  WHERE tc.constraint_type = 'PRIMARY KEY' AND tc.table_schema = c.table_schema "
                    "   AND tc.table_name = c.table_name AND k.column_name = c.column_name) "
                    "FROM information_schema.columns c "
                    "WHERE c.table_schema = current_schema() AND c.table_name = :HostName "
                    "ORDER BY c.ordinal_position"),
                {{":HostName", actual}});
        while (q.next()) {
            ColumnInfo c;
            c.name = q.value(0).toString();
            c.declaredType = q.value(1).toString();
            c.kind = ColumnInfo::kindOfDeclaredType(c.declaredType);
            c.size = q.value(2).toInt();
            c.notNull = q.value(3).toString() == "NO";
            c.autoIncrement = q.value(4).toString() == "YES" || q.value(5).toString().startsWith("nextval(");
            c.primaryKey = q.value(6).toBool();
            cols << c;
        }
    }
    return cols;
}

void TDModule::begin()
{
    if (m_txDepth == 0) {
        if (!isOpen())
            throw DbError(QStringLiteral("数据库没有连接"));
        if (!database().transaction())
            throw DbError(database().lastError().text());
        m_txFailed = false;
    }
    ++m_txDepth;
}

void TDModule::commit()
{
    if (m_txDepth <= 0)
        throw DbError(QStringLiteral("no transaction to commit"));
    if (--m_txDepth > 0)
        return;
    if (m_txFailed) {
        database().rollback();
        m_txFailed = false;
        throw DbError(QStringLiteral("事务已回滚"));
    }
    if (!database().commit()) {
        const QString msg = database().lastError().text();
        database().rollback();
        throw DbError(msg);
    }
}

void TDModule::rollback()
{
    if (m_txDepth <= 0)
        return;
    if (--m_txDepth > 0) {
        // An inner failure dooms the whole outer transaction.
        m_txFailed = true;
        return;
    }
    m_txFailed = false;
    if (isOpen())
        database().rollback();
}

Transaction::~Transaction()
{
    if (!m_done)
        m_db.rollback();
}

void Transaction::commit()
{
    m_done = true;
    m_db.commit();
}

} // namespace vek
