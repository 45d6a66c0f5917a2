#include "catalog/Catalog.h"
#include "catalog/ServerConnection.h"
#include "platform/IniFile.h"
#include "platform/Query.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>

using namespace vek;

TEST(ServerConnection, StartupParametersAndTheirDefaults)
{
    QTemporaryDir dir;
    IniFile ini(QDir(dir.path()).filePath("vek2000.Ini"));
    ServerParams p = StartupServerParams(ini);
    EXPECT_EQ(p.host, "localhost");
    EXPECT_EQ(p.user, "sa");
    EXPECT_EQ(p.password, "908172");
    EXPECT_EQ(p.database, "yey");

    ASSERT_TRUE(ini.setValue("database", "servername", "db.school:6543"));
    ASSERT_TRUE(ini.setValue("DATABASE", "USERNAME", "office"));
    ASSERT_TRUE(ini.writeStoredPassword("DATABASE", "PASSWORD", "s3cret"));
    ASSERT_TRUE(ini.setValue("DATABASE", "DATABASENAME", "school"));
    IniFile reread(ini.path());
    p = StartupServerParams(reread);
    EXPECT_EQ(p.host, "db.school");
    EXPECT_EQ(p.port, 6543);
    EXPECT_EQ(p.user, "office");
    EXPECT_EQ(p.password, "s3cret");
    EXPECT_EQ(p.database, "school");
}

class ServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::serverAvailable())
            GTEST_SKIP() << "*** no PostgreSQL test cluster (run ./test.sh): server-mode test skipped ***";
        m_db = std::make_unique<test::TestDatabase>(Engine::Postgres);
        m_ini = std::make_unique<IniFile>(QDir(m_dir.path()).filePath("vek2000.Ini"));
        const ServerParams p = test::serverParams(m_db->serverDatabase());
        // Keys match without regard to case: what the dialog remembers, start-up reads.
        ASSERT_TRUE(RememberConnection(*m_ini, p, 0, true));
    }
    QTemporaryDir m_dir;
    std::unique_ptr<test::TestDatabase> m_db;
    std::unique_ptr<IniFile> m_ini;
};

TEST_F(ServerTest, StartupConnectsAndEstablishesTheApplicationOnce)
{
    TDModule db;
    QString error;
    ASSERT_TRUE(ConnectServerAtStartup(db, *m_ini, &error)) << error.toStdString();
    EXPECT_TRUE(db.state().sqlServerMode);
    EXPECT_TRUE(CatalogAbsent(db));
    EXPECT_EQ(EstablishServerApplication(db), EstablishResult::Created);
    EXPECT_FALSE(CatalogAbsent(db));
    EXPECT_EQ(EstablishServerApplication(db), EstablishResult::AlreadyPresent);
    EXPECT_EQ(Query::scalar(db, "SELECT count(*) FROM usys_users").toInt(), 1);
}

TEST_F(ServerTest, StartupFailureReportsTheServersText)
{
    m_ini->setValue("DATABASE", "DATABASENAME", "no_such_database_here");
    TDModule db;
    QString error;
    EXPECT_FALSE(ConnectServerAtStartup(db, *m_ini, &error));
    EXPECT_TRUE(error.contains("no_such_database_here")) << error.toStdString();
    EXPECT_FALSE(db.isOpen());
    EXPECT_FALSE(db.state().sqlServerMode);
}
