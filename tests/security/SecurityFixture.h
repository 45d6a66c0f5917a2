#pragma once

// Shared set-up of the login and account tests: a library with its catalog, a real
// settings file, a scripted prompter and a fixed clock.

#include "catalog/Catalog.h"
#include "platform/AppContext.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "platform/Query.h"
#include "platform/TDModule.h"
#include "security/PasswordHash.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QList>
#include <memory>

namespace vek::test {

// Hashing at the lowest cost while a test runs: the tests hash many passwords.
class CheapHashing {
public:
    CheapHashing() : m_saved(PasswordHash::currentLimits()) { PasswordHash::setLimits(PasswordHash::minimumLimits()); }
    ~CheapHashing() { PasswordHash::setLimits(m_saved); }

private:
    PasswordHash::Limits m_saved;
};

struct SecurityEnv {
    SecurityEnv(TDModule &db, const QString &dir)
        : ini(QDir(dir).filePath(QStringLiteral("vek2000.Ini"))),
          clock(QDateTime(QDate(2024, 3, 8), QTime(9, 30, 15))),
          ctx{db, ini, prompter, clock, CurrentUser{}, QStringLiteral("OFFICE-PC")}
    {
    }
    IniFile ini;
    ScriptedPrompter prompter;
    FixedClock clock;
    AppContext ctx;
};

inline void addUser(TDModule &db, const QString &uid, const QVariant &pwd, const QVariant &level = QStringLiteral("1"),
                    const QVariant &group = QVariant())
{
    Query::run(db, "INSERT INTO usys_Users (uid, pwd, ulevel, ugroup) VALUES (:u, :p, :l, :g)",
               {{":u", uid}, {":p", pwd}, {":l", level}, {":g", group}});
}

inline QVariant storedPassword(TDModule &db, const QString &uid)
{
    return Query::scalar(db, "SELECT pwd FROM usys_Users WHERE uid = :u", {{":u", uid}});
}

struct LogRow {
    QString app, kind, user;
    QDate date;
    QString time;
};

inline QList<LogRow> logRows(TDModule &db)
{
    QList<LogRow> out;
    Query q(db, "SELECT 应用名称, 类型, 用户, 日期, 时间 FROM usys_log ORDER BY 编号");
    while (q.next())
        out.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toDate(),
                    q.value(4).toString()});
    return out;
}

// Both engines, the full catalog made, cheap hashing.
class SecurityTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        if (withCatalog())
            CreateFullCatalog(db());
        env = std::make_unique<SecurityEnv>(db(), testDb().dir());
    }
    void TearDown() override
    {
        env.reset();
        EngineTest::TearDown();
    }
    virtual bool withCatalog() const { return true; }

    AppContext &ctx() { return env->ctx; }
    ScriptedPrompter &prompter() { return env->prompter; }

    CheapHashing cheap;
    std::unique_ptr<SecurityEnv> env;
};

} // namespace vek::test
