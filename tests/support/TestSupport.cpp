#include "TestSupport.h"

#include "platform/DbError.h"
#include "platform/Query.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>

namespace vek::test {

namespace {

QAtomicInt g_dbCounter;

void adminExec(const QString &sql)
{
    TDModule admin;
    admin.openServer(serverParams(QStringLiteral("postgres")));
    Query::run(admin, sql);
}

} // namespace

bool serverAvailable()
{
    return !qEnvironmentVariable("VEK_PG_PORT").isEmpty();
}

ServerParams serverParams(const QString &database)
{
    ServerParams p;
    p.host = qEnvironmentVariable("VEK_PG_HOST", "127.0.0.1");
    p.port = qEnvironmentVariableIntValue("VEK_PG_PORT");
    p.user = qEnvironmentVariable("VEK_PG_USER", "postgres");
    p.database = database;
    return p;
}

TestDatabase::TestDatabase(Engine engine) : m_engine(engine)
{
    if (engine == Engine::Sqlite) {
        m_file = QDir(m_dir.path()).filePath(QStringLiteral("test.vek"));
        m_db.createSqliteFile(m_file);
    } else {
        m_serverDb = QStringLiteral("vek_t_%1_%2").arg(QCoreApplication::applicationPid()).arg(g_dbCounter.fetchAndAddRelaxed(1));
        adminExec("DROP DATABASE IF EXISTS " + m_serverDb);
        adminExec("CREATE DATABASE " + m_serverDb + " ENCODING 'UTF8' TEMPLATE template0");
        m_db.openServer(serverParams(m_serverDb));
    }
}

TestDatabase::~TestDatabase()
{
    m_db.close();
    if (!m_serverDb.isEmpty()) {
        try {
            adminExec("DROP DATABASE IF EXISTS " + m_serverDb + " WITH (FORCE)");
        } catch (const DbError &) {
        }
    }
}

void TestDatabase::reopen()
{
    if (m_engine == Engine::Sqlite)
        m_db.openSqliteFile(m_file);
    else
        m_db.openServer(serverParams(m_serverDb));
}

void EngineTest::SetUp()
{
    if (GetParam() == Engine::Postgres && !serverAvailable())
        GTEST_SKIP() << "*** no PostgreSQL test cluster (run ./test.sh): server-mode test skipped ***";
    m_test = std::make_unique<TestDatabase>(GetParam());
}

std::string engineName(const ::testing::TestParamInfo<Engine> &info)
{
    return info.param == Engine::Sqlite ? "Sqlite" : "Postgres";
}

} // namespace vek::test
