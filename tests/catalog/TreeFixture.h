#pragma once

// Rows of usys_system and the context of a logged-in user, for the tree's tests.

#include "catalog/Catalog.h"
#include "catalog/ResourceTree.h"
#include "platform/AppContext.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "platform/Query.h"
#include "platform/TDModule.h"
#include "support/TestSupport.h"

#include <QDir>
#include <memory>

namespace vek::test {

struct Row {
    QString parent, child, title, flag, firstTable, exe, owner;
    bool share = false;
    QVariant dispId = QVariant();
    QVariant icon = QVariant();
};

inline int addRow(TDModule &db, const Row &r)
{
    Query q(db,
            "INSERT INTO usys_system (parent, child, AppTitle, Flag, FirstTable, ExeFileName, Owner, ShareFlag, "
            "dispID, IconIndex) VALUES (:HostP, :HostC, :HostT, :HostF, :HostFT, :HostE, :HostO, :HostS, :HostD, "
            ":HostI)"
                + db.dialect().returning("id"),
            {{":HostP", r.parent},
             {":HostC", r.child},
             {":HostT", r.title},
             {":HostF", r.flag},
             {":HostFT", r.firstTable},
             {":HostE", r.exe},
             {":HostO", r.owner},
             {":HostS", r.share},
             {":HostD", r.dispId},
             {":HostI", r.icon}});
    q.next();
    return q.value(0).toInt();
}

inline QStringList titles(const QList<TreeNode> &nodes)
{
    QStringList out;
    for (const TreeNode &n : nodes)
        out << n.ref.title;
    return out;
}

inline CurrentUser userOf(const QString &name, int level)
{
    CurrentUser u;
    u.name = name;
    u.level = level;
    return u;
}

// A library with a catalog, and the context a logged-in user works in.
class TreeTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        CreateFullCatalog(db());
        ini = std::make_unique<IniFile>(QDir(testDb().dir()).filePath("vek2000.Ini"));
        ctx = std::make_unique<AppContext>(AppContext{db(), *ini, prompter, clock, userOf("admin", 0), {}, {}, false});
    }
    void loginAs(const QString &name, int level) { ctx->user = userOf(name, level); }
    void addRights(int appId, const QString &user, bool browse, bool update)
    {
        Query::run(db(),
                   "INSERT INTO usys_displist (Appid, UserID, browseRight, updateRight) VALUES (:HostA, :HostU, :HostB, "
                   ":HostUp)",
                   {{":HostA", appId}, {":HostU", user}, {":HostB", browse}, {":HostUp", update}});
    }
    void addDict(const QString &table, const QString &fromTable, const QString &range, bool count)
    {
        Query::run(db(),
                   "INSERT INTO usys_dict (EField, TableName, FromTable, " + db().dialect().quoteIdent("Range")
                       + ", CountFlag) VALUES ('f', :HostT, :HostF, :HostR, :HostC)",
                   {{":HostT", table}, {":HostF", fromTable}, {":HostR", range}, {":HostC", count}});
    }
    QString titleOf(int id)
    {
        return Query::scalar(db(), "SELECT AppTitle FROM usys_system WHERE id = :HostI", {{":HostI", id}}).toString();
    }
    int rowCount() { return Query::scalar(db(), "SELECT count(*) FROM usys_system").toInt(); }

    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2024, 3, 4), QTime(9, 0))};
    std::unique_ptr<IniFile> ini;
    std::unique_ptr<AppContext> ctx;
};

} // namespace vek::test
