#pragma once

#include <QList>
#include <QString>

namespace vek {

// What the engine's schema says about one column. Drivers report neither sizes nor
// date or currency kinds, so this is read from the schema itself.
struct ColumnInfo {
    enum class Kind { Text, Memo, Integer, Float, Currency, Boolean, Date, DateTime, Blob, Other };

    QString name;
    Kind kind = Kind::Text;
    int size = 0;          // declared length of text columns, 0 when unknown
    bool notNull = false;
    bool primaryKey = false;
    bool autoIncrement = false;
    QString declaredType;  // as the engine reports it

    bool isNumeric() const { return kind == Kind::Integer || kind == Kind::Float || kind == Kind::Currency; }
    bool isDate() const { return kind == Kind::Date || kind == Kind::DateTime; }

    // Kind of a declared column type, as either engine spells it.
    static Kind kindOfDeclaredType(const QString &declared);
};

using ColumnList = QList<ColumnInfo>;

} // namespace vek
