#pragma once

#include "platform/AppContext.h"

#include <QList>
#include <QString>

namespace vek {

class TDModule;

// One field row of the field-rights panel.
struct FieldRightEntry {
    QString fieldName;
    bool read = true;
    bool write = true;
    bool loadedRead = true;
    bool loadedWrite = true;

    bool changed() const { return read != loadedRead || write != loadedWrite; }
};

// The field-rights panel of the properties dialog without its widgets: one user's read
// and write right on each field of a resource. The fields are the resource's field list
// (else the columns of its table), then any field that only has a stored row; UserID and
// ShareMemo are never listed. A field without a stored row is readable and writable.
class FieldRightModel {
public:
    FieldRightModel(TDModule &db, const CurrentUser &actor);

    // Throws PermissionDenied unless the actor may grant field rights on the resource,
    // DbError on failure.
    void load(int resourceId, const QString &userId);

    int resourceId() const { return m_resourceId; }
    QString userId() const { return m_userId; }
    const QList<FieldRightEntry> &fields() const { return m_fields; }
    int indexOfField(const QString &name) const;
    void setRead(int row, bool on);
    void setWrite(int row, bool on);
    bool hasChanges() const;

    // Writes the changed rows in one transaction; returns how many. Throws as load().
    int save();

    // Fields a rights list never offers: the record's owner stamp and its name list.
    static bool isHiddenField(const QString &name);

private:
    QStringList currentFields(const QString &fieldList, const QString &table) const;

    TDModule &m_db;
    CurrentUser m_actor;
    int m_resourceId = 0;
    QString m_userId;
    QList<FieldRightEntry> m_fields;
};

} // namespace vek
