#include "OperationLog.h"

#include "catalog/Catalog.h"
#include "platform/AppContext.h"
#include "platform/Clock.h"
#include "platform/DbError.h"
#include "platform/Query.h"
#include "platform/TDModule.h"

namespace vek {

void OperationLog::write(const QString &kind, const QString &title, const QString &userName)
{
    const QDateTime now = m_clock.now();
    // Empty, not NULL: viewers compare these columns with text.
    const auto text = [](const QString &s) { return s.isNull() ? QString(QLatin1String("")) : s; };
    Query::run(m_db,
               "INSERT INTO usys_log (应用名称, 类型, 用户, 日期, 时间) "
               "VALUES (:HostApp, :HostType, :HostUser, :HostDate, :HostTime)",
               {{":HostApp", text(title)},
                {":HostType", kind},
                {":HostUser", text(userName)},
                {":HostDate", now.date()},
                {":HostTime", now.time().toString(QStringLiteral("HH:mm:ss"))}});
}

void OperationLog::writeCreatingTable(const QString &kind, const QString &title, const QString &userName)
{
    try {
        write(kind, title, userName);
    } catch (const DbError &) {
        // Only a table that is really missing is made; any other failure stands.
        if (m_db.tableExists(CatalogName(CatalogTable::Log)))
            throw;
        CreateCatalogTable(m_db, CatalogTable::Log);
        write(kind, title, userName);
    }
}

void WriteLogEntry(AppContext &ctx, const QString &kind, const QString &title)
{
    OperationLog(ctx.db, ctx.clock).write(kind, title, ctx.user.name);
}

} // namespace vek
