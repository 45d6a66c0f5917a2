#pragma once

#include "platform/TDModule.h"

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

namespace vek::test {

// Whether ./test.sh started a PostgreSQL cluster for this run.
bool serverAvailable();
ServerParams serverParams(const QString &database);

// A database of its own for one test: an empty SQLite file in a temporary folder, or a
// fresh PostgreSQL database that is dropped afterwards.
class TestDatabase {
public:
    explicit TestDatabase(Engine engine);
    ~TestDatabase();
    TDModule &db() { return m_db; }
    Engine engine() const { return m_engine; }
    QString dir() const { return m_dir.path(); }
    QString file() const { return m_file; }
    QString serverDatabase() const { return m_serverDb; }
    // Reconnects to the same database (e.g. to check that data really landed).
    void reopen();

private:
    Engine m_engine;
    QTemporaryDir m_dir;
    QString m_file;
    QString m_serverDb;
    TDModule m_db;
};

// Base of tests that run on both engines: parameterise with Engine, skip the server
// case with a visible message when no cluster runs.
class EngineTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override;
    void TearDown() override { m_test.reset(); }
    TDModule &db() { return m_test->db(); }
    TestDatabase &testDb() { return *m_test; }

private:
    std::unique_ptr<TestDatabase> m_test;
};

std::string engineName(const ::testing::TestParamInfo<Engine> &info);

#define VEK_BOTH_ENGINES(Suite) \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite, ::testing::Values(::vek::Engine::Sqlite, ::vek::Engine::Postgres), \
                             ::vek::test::engineName)

} // namespace vek::test

// Readable QString in gtest failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE
