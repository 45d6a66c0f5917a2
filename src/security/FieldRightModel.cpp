#include "FieldRightModel.h"

#include "Permissions.h"
#include "RightsStore.h"

#include "platform/Query.h"
#include "platform/TDModule.h"

#include <algorithm>

namespace vek {

FieldRightModel::FieldRightModel(TDModule &db, const CurrentUser &actor) : m_db(db), m_actor(actor) {}

bool FieldRightModel::isHiddenField(const QString &name)
{
    const QString n = name.trimmed();
    return n.compare(QLatin1String("UserID"), Qt::CaseInsensitive) == 0
        || n.compare(QLatin1String("ShareMemo"), Qt::CaseInsensitive) == 0;
}

void FieldRightModel::load(int resourceId, const QString &userId)
{
    Permissions::require(Permissions(m_db, m_actor).mayEditFieldRights(resourceId));
    m_resourceId = resourceId;
    m_userId = userId.trimmed();
    m_fields.clear();

    QString fieldList;
    QString table;
    {
        Query q(m_db, QStringLiteral("SELECT FirstFieldlist, FirstTable FROM usys_system WHERE id = :HostId"),
                {{":HostId", resourceId}});
        if (q.next()) {
            fieldList = q.value(0).toString();
            table = q.value(1).toString().trimmed();
        }
    }

    const QList<FieldRightRow> stored = RightsStore(m_db).fieldRows(resourceId, m_userId);
    auto storedFor = [&stored](const QString &name) -> const FieldRightRow * {
        for (const FieldRightRow &r : stored) {
            if (r.fieldName.compare(name, Qt::CaseInsensitive) == 0)
                return &r;
        }
        return nullptr;
    };
    auto add = [this](const QString &name, bool read, bool write) {
        if (isHiddenField(name) || indexOfField(name) >= 0)
            return;
        m_fields << FieldRightEntry{name, read, write, read, write};
    };
    // Fields added to the table after rights were stored are offered too.
    for (const QString &name : currentFields(fieldList, table)) {
        const FieldRightRow *r = storedFor(name);
        add(name, r ? r->read : true, r ? r->write : true);
    }
    for (const FieldRightRow &r : stored)
        add(r.fieldName, r.read, r.write);
}

QStringList FieldRightModel::currentFields(const QString &fieldList, const QString &table) const
{
    QStringList names;
    if (!fieldList.trimmed().isEmpty()) {
        for (QString name : fieldList.split(QLatin1Char(','))) {
            name = name.trimmed();
            if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
                name = name.mid(1, name.size() - 2).trimmed();
            if (!name.isEmpty())
                names << name;
        }
        return names;
    }
    if (table.isEmpty() || !m_db.tableExists(table))
        return names;
    for (const ColumnInfo &c : m_db.columns(table))
        names << c.name;
    return names;
}

int FieldRightModel::indexOfField(const QString &name) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).fieldName.compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void FieldRightModel::setRead(int row, bool on)
{
    if (row >= 0 && row < m_fields.size())
        m_fields[row].read = on;
}

void FieldRightModel::setWrite(int row, bool on)
{
    if (row >= 0 && row < m_fields.size())
        m_fields[row].write = on;
}

bool FieldRightModel::hasChanges() const
{
    return std::any_of(m_fields.begin(), m_fields.end(), [](const FieldRightEntry &f) { return f.changed(); });
}

int FieldRightModel::save()
{
    Permissions::require(Permissions(m_db, m_actor).mayEditFieldRights(m_resourceId));
    if (!hasChanges())
        return 0;
    const int written = RightsStore::saveChanged(m_db, std::as_const(m_fields), [&](RightsStore &store, const FieldRightEntry &f) {
        store.replaceFieldRow(m_resourceId, m_userId, f.fieldName, FieldRightRow{f.fieldName, f.read, f.write});
    });
    for (FieldRightEntry &f : m_fields) {
        f.loadedRead = f.read;
        f.loadedWrite = f.write;
    }
    return written;
}

} // namespace vek
