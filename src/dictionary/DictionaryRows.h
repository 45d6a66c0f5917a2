#pragma once

#include "DictionaryKey.h"

#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QStringList>

namespace vek {

class TDModule;

// One usys_dict row and where its key stands for the key asked about.
struct DictionaryRow {
    DictionaryKey::Level level = DictionaryKey::Level::None;
    QString field; // EField, trimmed
    QSqlRecord values;

    // A column's value; a column an older catalog lacks reads as null.
    QVariant value(const QString &column) const;
    QString text(const QString &column) const { return value(column).toString().trimmed(); }
    bool flag(const QString &column) const;
};

// The dictionary rows of one key, read in one short query (all columns, so that an older
// catalog without some of them still answers), in order of precedence: title rows, then
// table rows, then public rows, each in the order they were written (id).
class DictionaryRows {
public:
    static DictionaryRows load(TDModule &db, const DictionaryKey &key, bool withPublic,
                               const QString &field = QString());

    const QList<DictionaryRow> &rows() const { return m_rows; }
    bool isEmpty() const { return m_rows.isEmpty(); }
    // Field names in order of first appearance, each once (letter case ignored).
    QStringList fields() const;
    QList<DictionaryRow> rowsOf(const QString &field) const;

    // The first non-blank text of column for field, in order of precedence.
    QString firstText(const QString &field, const QString &column) const;
    // The first row of field whose column holds a non-blank text.
    const DictionaryRow *firstWith(const QString &field, const QString &column) const;
    // Flags hold when any row of the field sets them: a public attribute marks the field in
    // every resource, whatever the resource's own row says.
    bool anyFlag(const QString &field, const QString &column) const;
    // Caption: the first non-blank CField, else the field name.
    QString caption(const QString &field) const;

private:
    QList<DictionaryRow> m_rows;
};

} // namespace vek
