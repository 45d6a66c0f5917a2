#include "RightsStore.h"

#include "catalog/Catalog.h"
#include "platform/DbError.h"
#include "platform/Query.h"
#include "platform/TDModule.h"

namespace vek {

namespace {

// Runs a read of a rights table; when it fails because the table is absent from a
// library, creates the table and reports no rows. Any other failure is a real one and is
// passed on; a database without a catalog never gets catalog tables written into it.
template <typename Read>
auto readCreatingAbsent(TDModule &db, CatalogTable table, Read read) -> decltype(read())
{
    try {
        return read();
    } catch (const DbError &) {
        if (!CatalogAbsent(db) && CreateCatalogTable(db, table))
            return {};
        throw;
    }
}

RightsRecord rightsFrom(const Query &q)
{
    RightsRecord r;
    r.add = q.value(0).toBool();
    r.remove = q.value(1).toBool();
    r.browse = q.value(2).toBool();
    r.update = q.value(3).toBool();
    r.print = q.value(4).toBool();
    r.exportData = q.value(5).toBool();
    return r;
}

} // namespace

std::optional<RightsRecord> RightsStore::resourceRow(int appId, const QString &userId) const
{
    return readCreatingAbsent(m_db, CatalogTable::DispList, [&]() -> std::optional<RightsRecord> {
        Query q(m_db,
                "SELECT addRight, deleteRight, browseRight, updateRight, printRight, exportRight "
                "FROM usys_displist WHERE AppId = :HostAppId AND "
                    + m_db.dialect().ciEquals("UserID", ":HostUserId"),
                {{":HostAppId", appId}, {":HostUserId", userId.trimmed()}});
        if (!q.next())
            return std::nullopt;
        return rightsFrom(q);
    });
}

void RightsStore::replaceResourceRow(int appId, const QString &userId, const std::optional<RightsRecord> &rights)
{
    const QString uid = userId.trimmed();
    Query::run(m_db,
               "DELETE FROM usys_displist WHERE AppId = :HostAppId AND " + m_db.dialect().ciEquals("UserID", ":HostUserId"),
               {{":HostAppId", appId}, {":HostUserId", uid}});
    if (!rights)
        return;
    Query::run(m_db,
               "INSERT INTO usys_displist (Appid, browseRight, updateRight, addRight, exportRight, printRight, "
               "deleteRight, UserID) VALUES (:HostAppId, :R, :w, :a, :e, :p, :d, :HostUserId)",
               {{":HostAppId", appId},
                {":R", rights->browse},
                {":w", rights->update},
                {":a", rights->add},
                {":e", rights->exportData},
                {":p", rights->print},
                {":d", rights->remove},
                {":HostUserId", uid}});
}

std::optional<FieldRightRow> RightsStore::fieldRow(int appId, const QString &userId, const QString &field) const
{
    return readCreatingAbsent(m_db, CatalogTable::DispField, [&]() -> std::optional<FieldRightRow> {
        const SqlDialect &d = m_db.dialect();
        Query q(m_db,
                "SELECT FieldName, ReadRight, WriteRight FROM usys_dispfield WHERE " + d.ciEquals("Uid", ":HostUid")
                    + " AND TableID = :HostTableID AND " + d.ciEquals("FieldName", ":HostFieldName"),
                {{":HostUid", userId.trimmed()}, {":HostTableID", appId}, {":HostFieldName", field.trimmed()}});
        if (!q.next())
            return std::nullopt;
        return FieldRightRow{q.value(0).toString().trimmed(), q.value(1).toBool(), q.value(2).toBool()};
    });
}

QList<FieldRightRow> RightsStore::fieldRows(int appId, const QString &userId) const
{
    return readCreatingAbsent(m_db, CatalogTable::DispField, [&]() -> QList<FieldRightRow> {
        QList<FieldRightRow> rows;
        Query q(m_db,
                "SELECT FieldName, ReadRight, WriteRight FROM usys_dispfield WHERE "
                    + m_db.dialect().ciEquals("Uid", ":HostUid") + " AND TableID = :HostTableID ORDER BY FieldName",
                {{":HostUid", userId.trimmed()}, {":HostTableID", appId}});
        while (q.next()) {
            const QString name = q.value(0).toString().trimmed();
            bool seen = false;
            for (const FieldRightRow &r : rows)
                seen = seen || r.fieldName.compare(name, Qt::CaseInsensitive) == 0;
            if (!seen && !name.isEmpty())
                rows << FieldRightRow{name, q.value(1).toBool(), q.value(2).toBool()};
        }
        return rows;
    });
}

void RightsStore::replaceFieldRow(int appId, const QString &userId, const QString &field,
                                  const std::optional<FieldRightRow> &row)
{
    const SqlDialect &d = m_db.dialect();
    const QString uid = userId.trimmed();
    Query::run(m_db,
               "DELETE FROM usys_dispfield WHERE " + d.ciEquals("Uid", ":HostUid")
                   + " AND TableID = :HostTableID AND " + d.ciEquals("FieldName", ":HostFieldName"),
               {{":HostUid", uid}, {":HostTableID", appId}, {":HostFieldName", field.trimmed()}});
    if (!row)
        return;
    Query::run(m_db,
               "INSERT INTO usys_dispfield (Uid, TableID, FieldName, WriteRight, ReadRight) "
               "VALUES (:HostUserName, :HostAppID, :HostField, :HostWrite, :HostRead)",
               {{":HostUserName", uid},
                {":HostAppID", appId},
                {":HostField", field.trimmed()},
                {":HostWrite", row->write},
                {":HostRead", row->read}});
}

void RightsStore::ensureTables()
{
    CreateCatalogTable(m_db, CatalogTable::DispList);
    CreateCatalogTable(m_db, CatalogTable::DispField);
}

} // namespace vek
