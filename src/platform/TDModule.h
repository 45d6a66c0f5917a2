#pragma once

#include "ColumnInfo.h"
#include "SqlDialect.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <memory>

namespace vek {

// Parameters of a server (PostgreSQL) connection.
struct ServerParams {
    QString host = QStringLiteral("localhost");
    int port = 5432;
    QString database;
    QString user;
    QString password;

    // SERVERNAME of the settings file: "host" or "host:port".
    static ServerParams fromServerName(const QString &serverName);
};

// State of the shell that every window reads.
struct ShellState {
    bool sqlServerMode = false; // connected to the database server
    bool browseMode = false;    // connected database browsed as plain tables
    bool libraryOpen = false;
    bool paradoxFolder = false;
    QString paradoxPath;
    QString leftQuote;          // characters around table names of a browsed source
    QString rightQuote;
};

// The one database connection of the process. Changing library means: close, set the
// new target, open. Every query of the system goes through this connection.
class TDModule {
public:
    TDModule();
    ~TDModule();
    TDModule(const TDModule &) = delete;
    TDModule &operator=(const TDModule &) = delete;

    // Opens an existing SQLite file (never creates one). Throws DbError.
    void openSqliteFile(const QString &path);
    // Creates a new, empty SQLite file and opens it; refuses an existing file. Throws DbError.
    void createSqliteFile(const QString &path);
    // Connects to a PostgreSQL database. Throws DbError with the server's text.
    void openServer(const ServerParams &params);
    void close();
    void reopen();

    bool isOpen() const;
    Engine engine() const { return m_engine; }
    const SqlDialect &dialect() const { return *m_dialect; }
    QSqlDatabase database() const;
    QString target() const { return m_target; } // file path or server description

    ShellState &state() { return m_state; }
    const ShellState &state() const { return m_state; }

    // Schema, from the engine's own catalog. Table names compare without regard to case.
    bool tableExists(const QString &table) const;
    QStringList tableNames() const;              // user and catalog tables, as spelled
    QString actualTableName(const QString &table) const; // spelling in the schema, or empty
    ColumnList columns(const QString &table) const;

    // Transactions nest: only the outermost one commits or rolls back.
    void begin();
    void commit();
    void rollback();
    int transactionDepth() const { return m_txDepth; }

private:
    void openPrepared(const QString &what);

    QString m_name;
    Engine m_engine = Engine::Sqlite;
    std::unique_ptr<SqlDialect> m_dialect;
    QString m_target;
    ServerParams m_server;
    QString m_file;
    ShellState m_state;
    int m_txDepth = 0;
    bool m_txFailed = false;
};

// Scope of one transaction: rolls back unless commit() was called.
class Transaction {
public:
    explicit Transaction(TDModule &db) : m_db(db) { m_db.begin(); }
    ~Transaction();
    void commit();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

private:
    TDModule &m_db;
    bool m_done = false;
};

} // namespace vek
