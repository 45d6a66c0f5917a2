#include "Catalog.h"

#include "platform/DbError.h"
#include "platform/Query.h"
#include "platform/TDModule.h"

namespace vek {

namespace {

void insertUser(TDModule &db, const QString &uid, const QString &level, const QString &pwd, const QString &descrip)
{
    const SqlDialect &d = db.dialect();
    Query::run(db,
               "INSERT INTO " + d.quoteIdent(CatalogName(CatalogTable::Users))
                   + " (uid, ulevel, pwd, descrip) VALUES (:HostUid, :HostLevel, :HostPwd, :HostDescrip)",
               {{":HostUid", uid}, {":HostLevel", level}, {":HostPwd", pwd}, {":HostDescrip", descrip}});
}

} // namespace

QString DefaultAppTitle()
{
    return QStringLiteral("VEK2000 资源管理平台");
}

void CreateFullCatalog(TDModule &db)
{
    Transaction tx(db);
    for (CatalogTable t : FullScriptOrder()) {
        Query::run(db, CatalogCreateStatement(t, db.dialect()));
        if (t == CatalogTable::Users)
            insertUser(db, "admin", "0", "", QStringLiteral("系统用户"));
    }
    tx.commit();
}

bool CreateCatalogTable(TDModule &db, CatalogTable table)
{
    if (!SingleTableRoutines().contains(table))
        throw DbError(QStringLiteral("系统表不能单独建立: %1").arg(CatalogName(table)));
    if (db.tableExists(CatalogName(table)))
        return false;
    Transaction tx(db);
    Query::run(db, CatalogCreateStatement(table, db.dialect()));
    if (table == CatalogTable::Users) {
        // The two quote marks are a value no typed password matches: these accounts
        // stay closed until an administrator sets a password.
        insertUser(db, "admin", "0", "", QStringLiteral("系统用户"));
        insertUser(db, "user", "1", "\"\"", QStringLiteral("普通用户"));
        insertUser(db, "guest", "2", "\"\"", QStringLiteral("共享用户"));
    }
    tx.commit();
    return true;
}

bool CatalogAbsent(TDModule &db)
{
    return !db.tableExists(CatalogName(CatalogTable::System));
}

QString ReadAppTitle(TDModule &db)
{
    const QString sql = "SELECT title FROM " + db.dialect().quoteIdent(CatalogName(CatalogTable::Setup))
        + db.dialect().limit(1);
    Query q(db, sql);
    // A stored row wins even when blank: the caller then shows the file name instead.
    return q.next() ? q.value(0).toString().trimmed() : DefaultAppTitle();
}

void WriteAppTitle(TDModule &db, const QString &title)
{
    const QString table = db.dialect().quoteIdent(CatalogName(CatalogTable::Setup));
    Transaction tx(db);
    Query::run(db, "DELETE FROM " + table);
    Query::run(db, "INSERT INTO " + table + " (title) VALUES (:HostTitle)", {{":HostTitle", title}});
    tx.commit();
}

} // namespace vek
