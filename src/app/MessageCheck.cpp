#include "MessageCheck.h"

#include "catalog/Catalog.h"
#include "platform/AppContext.h"
#include "platform/DbError.h"
#include "platform/Query.h"
#include "platform/TDModule.h"

namespace vek {

bool HasUnreadMessages(AppContext &ctx)
{
    if (!ctx.db.isOpen() || !ctx.user.loggedIn())
        return false;
    for (CatalogTable t : {CatalogTable::Inform, CatalogTable::Inform1}) {
        try {
            CreateCatalogTable(ctx.db, t);
        } catch (const DbError &) {
        }
    }
    try {
        const SqlDialect &d = ctx.db.dialect();
        return Query::scalar(ctx.db,
                             "SELECT 1 FROM usys_inform1 WHERE " + d.ciEquals("UserName", ":HostUser")
                                 + " AND (AlreadyRead IS NULL OR AlreadyRead = :HostFalse)" + d.limit(1),
                             {{":HostUser", ctx.user.name}, {":HostFalse", false}})
            .isValid();
    } catch (const DbError &) {
        return false;
    }
}

} // namespace vek
