#pragma once

#include <QString>
#include <QStringList>

namespace vek {

class TDModule;

// Names of a table and its fields as SQL, spelled as the engine's schema spells them.
// A name the schema lacks is refused with DbError instead of being quoted blindly:
// SQLite would read an unknown double-quoted name as a text literal.
class TableNames {
public:
    TableNames(TDModule &db, const QString &table);

    const QString &table() const { return m_quotedTable; }
    QString field(const QString &name) const;

private:
    TDModule &m_db;
    QString m_quotedTable;
    QStringList m_fields;
};

} // namespace vek
