#pragma once

#include "DictionaryKey.h"
#include "FieldList.h"
#include "LookupList.h"

#include "platform/ColumnInfo.h"

#include <QList>
#include <QMap>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <optional>

namespace vek {

class TDModule;

// How a value of a field is entered.
struct FieldInputInfo {
    QStringList choices;     // the choice list, one entry per line
    bool lookup = false;     // the choices came from a lookup table
    bool chooseOnly = false; // the value must be one of the choices (data forms)
    double maxValue = 0;     // a numeric range, when minValue < maxValue
    double minValue = 0;
    bool asRadio = false;    // data forms show the choices as radio buttons
    bool readOnly = false;   // the field may not be changed, in grids and data forms alike
    bool hasRange() const { return minValue < maxValue; }
};

struct FieldText {
    QString field;
    QString text;
    bool operator==(const FieldText &o) const { return field == o.field && text == o.text; }
};

// Required fields with their captions, item for item.
struct RequiredFields {
    QStringList names;
    QStringList captions;
};

struct FooterFlags {
    bool sum = false;
    bool average = false;
    bool count = false;
};

struct FooterFields {
    QStringList sum;
    QStringList average;
    QStringList count;
};

struct StatisticsFields {
    QStringList names;
    QStringList captions;
};

struct LookupPair {
    QString table;
    QString codeColumn;
    QString nameColumn;
};

struct LookupSource {
    QString fromTable;
    QString fromFieldName;
    QString fromTableSql;
};

// The questions every window asks the field dictionary (usys_dict). Each call reads the
// catalog afresh with one short query; nothing is kept between calls.
//
// Rows are found by the rule of DictionaryKey: title rows, then table rows, then public
// rows. Questions about a field, or about the fields of a record set (a FieldList), take
// the first of these that says something: a text from the first row where it is not
// blank, a flag when any row sets it. Questions about a key as a whole (footers,
// statistics, Has…) read the key's own rows only: a public row says nothing about which
// fields a resource has.
//
// In browse mode the library has no catalog: every answer is the neutral one (captions
// and titles are the field names) and nothing is queried.
//
// Failures: the quiet lookups (GetFieldCaption, GetFieldInputInfo, GetFooterFlags,
// GetFooterFields, HasStatisticsFields, IsDocumentField, HasReminders) swallow a failing
// query and answer what they had; the others throw DbError to the caller.
class FieldDictionary {
public:
    explicit FieldDictionary(TDModule &db) : m_db(db) {}

    // Captions and titles.
    QString GetFieldCaption(const DictionaryKey &key, const QString &field);
    // Grid column title: the first row's GridTitleCaption or, failing that, its CField;
    // else the field name. A "|" in it splits the title into header levels.
    QString GetGridTitle(const DictionaryKey &key, const QString &field);
    // Fields whose caption differs from their name, with the caption.
    QList<FieldText> GetCaptionMap(const DictionaryKey &key);

    // Input aids. The first row that defines one (a non-blank Range, a range with
    // MinValue < MaxValue, a FromTable) gives the choices and their options.
    FieldInputInfo GetFieldInputInfo(const DictionaryKey &key, const QString &field);
    LookupChoices BuildLookupList(const QString &columns, const QString &table, const QString &tail = QString(),
                                  bool chooseGrid = false);
    QStringList GetFieldRange(const DictionaryKey &key, const QString &field);
    bool IsDocumentField(const DictionaryKey &key, const QString &field);
    std::optional<LookupPair> GetLookupPair(const DictionaryKey &key, const QString &field);
    std::optional<LookupSource> GetLookupSource(const DictionaryKey &key, const QString &field);
    // Copies the lookup row whose lookupColumn equals value into the target's columns of the
    // same names. Auto numbers and the owner stamps (UserID, ShareMemo) are not copied, and
    // columns the target lacks are skipped. False when no row matches.
    bool FillFromLookup(const QString &lookupTable, const QString &lookupColumn, const QVariant &value,
                        QSqlRecord &target);

    // Record rules of a record set with the given fields.
    // Defaults, one per field, "USERID" (any case) replaced by userId.
    QList<FieldText> GetDefaultValues(const DictionaryKey &key, const FieldList &fields, const QString &userId);
    RequiredFields GetRequiredFields(const DictionaryKey &key, const FieldList &fields);
    QStringList GetUniqueFields(const DictionaryKey &key, const FieldList &fields);
    QStringList GetAutoAddFields(const DictionaryKey &key, const FieldList &fields);

    bool HasDictionaryRows(const DictionaryKey &key);
    bool HasFieldRow(const DictionaryKey &key, const QString &field);

    // Display patterns (NumberFormat) of the numeric columns (small integer, integer,
    // float, currency; not large integers, not booleans), by column name as spelled in
    // columns. Columns without a DisplayFormat are left out. While editing, values are
    // shown at full precision (NumberFormat::editText).
    QMap<QString, QString> ApplyDisplayFormats(const DictionaryKey &key, const ColumnList &columns);

    // Grid footers.
    FooterFlags GetFooterFlags(const DictionaryKey &key);
    FooterFields GetFooterFields(const DictionaryKey &key);

    // Statistics.
    bool HasStatisticsFields(const DictionaryKey &key);
    StatisticsFields GetStatisticsFields(const DictionaryKey &key);
    QStringList GetStatisticsDateFields(const DictionaryKey &key);

    bool HasChoiceLists(const DictionaryKey &key);
    bool HasLookupFields(const DictionaryKey &key);
    // Whether any field of a resource of the library drives a date reminder.
    bool HasReminders();

private:
    bool browsing() const;

    TDModule &m_db;
};

} // namespace vek
