#pragma once

#include <QString>
#include <QVariantMap>

namespace vek {

class IniFile;
class TDModule;
struct AppContext;

// A standing filter made ready to run: its text with the current user as a bound value
// and "&Now" as today's date. Nothing of the user's name is pasted into the text.
struct PreparedFilter {
    QString text;       // condition text, with :HostCurrentUser where "UserName" stood
    QVariantMap binds;  // values for the placeholders in text
    bool isEmpty() const { return text.trimmed().isEmpty(); }
};

PreparedFilter PrepareFilter(const QString &stored, const QString &userName, const QDate &today);

// Grouping of a grid or form from GroupText (one field a line), written to the
// resource's section of the settings file as ClassField, ClassField1, ClassField2.
struct GroupingSettings {
    QStringList fields;
    QString codedField;   // the hierarchical-code grouping field, or empty
    bool coded = false;
    bool showCounts = false;
};

GroupingSettings PrepareGrouping(IniFile &ini, const QString &title, const QString &groupText, bool groupCoding,
                                 bool groupRecn);

// What the shell hands to the window it opens. Built afresh for every open, so nothing
// of the previous resource is carried over.
struct CurrentResource {
    int id = 0;
    QString title;
    QString flag;
    QString mainTable;
    QString fieldList;
    QString afterSaveSql;   // DDLSQL
    QString afterSaveHint;  // DDLHint
    QString queryFields;    // QueryField
    QString recordHint;     // RecordHints, "记录数" when empty
    QString groupHint;      // GroupHints
    PreparedFilter filter;
    GroupingSettings grouping;
    int pageCount = 1;
    int formStyle = 0;
    QString pageField;
    QString pageCaption;
    bool shortCut = false;
    bool externalTable = false;
    QString layoutCacheName; // "Dyna" + id + ".dat"
    QString outsideUser;
    QString outsidePassword;
    QString outsideAlias;
    QString exeFileName;
    bool mayUpdate = false;

    bool isValid() const { return id != 0; }
};

// Reads the resource row by id and prepares its state; an invalid result when the row
// is gone. Throws DbError when the catalog cannot be read.
CurrentResource LoadCurrentResource(AppContext &ctx, int id);

// Drops the statistics scratch tables "tjtmp0" to "tjtmp10" that exist.
void DropStatisticsTables(TDModule &db);

// Browse mode's table list: the connection's tables without the catalog tables.
QStringList DataTableNames(TDModule &db);

} // namespace vek
