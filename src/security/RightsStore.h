#pragma once

#include "RightsRecord.h"
#include "platform/TDModule.h"

#include <QList>
#include <QString>
#include <optional>

namespace vek {

class TDModule;

// A user's stored read and write right on one field of a resource.
struct FieldRightRow {
    QString fieldName;
    bool read = true;
    bool write = true;
};

// The stored rights rows (usys_displist per resource and user, usys_dispfield per
// resource, user and field). User ids and field names match without regard to case.
// Reads of a table that is absent create it and find no row; any other failure throws
// DbError. Writes do not open a transaction: the caller holds one over the whole save.
class RightsStore {
public:
    explicit RightsStore(TDModule &db) : m_db(db) {}

    std::optional<RightsRecord> resourceRow(int appId, const QString &userId) const;
    // Deletes the user's row for the resource, then stores rights when given.
    void replaceResourceRow(int appId, const QString &userId, const std::optional<RightsRecord> &rights);

    std::optional<FieldRightRow> fieldRow(int appId, const QString &userId, const QString &field) const;
    QList<FieldRightRow> fieldRows(int appId, const QString &userId) const;
    void replaceFieldRow(int appId, const QString &userId, const QString &field,
                         const std::optional<FieldRightRow> &row);

    // Creates the two rights tables where the schema says they are absent.
    void ensureTables();

    // The editors' save: makes sure the tables exist, then calls write(store, entry) for
    // each entry whose changed() is true, all in one transaction. Returns how many were
    // written. Throws DbError; nothing is written then.
    template <typename Entries, typename Write>
    static int saveChanged(TDModule &db, const Entries &entries, Write write)
    {
        RightsStore store(db);
        store.ensureTables();
        int written = 0;
        Transaction tx(db);
        for (const auto &e : entries) {
            if (!e.changed())
                continue;
            write(store, e);
            ++written;
        }
        tx.commit();
        return written;
    }

private:
    TDModule &m_db;
};

} // namespace vek
