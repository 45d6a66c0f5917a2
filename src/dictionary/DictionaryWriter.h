#pragma once

#include "platform/ColumnInfo.h"

#include <QString>

namespace vek {

class TDModule;

// Writes dictionary rows from a table's structure.
class DictionaryWriter {
public:
    explicit DictionaryWriter(TDModule &db) : m_db(db) {}

    // Gives every text column of the physical table a row under the table's name, ready
    // for a choice list: IsDefine 1, every flag false, Type left empty (the list window
    // finds these rows by that). Columns that already have a row under that name keep it.
    // Runs in one transaction; returns the number of rows written. Throws DbError.
    int FillDictionaryFromTable(const QString &table);

    // The dictionary's type name of a column kind ("字符", "整数", …); empty when it has none.
    static QString TypeNameFor(const ColumnInfo &column);

private:
    TDModule &m_db;
};

} // namespace vek
