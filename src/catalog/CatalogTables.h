#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace vek {

class SqlDialect;

// The catalog tables, numbered as in the one ordered list every routine uses.
enum class CatalogTable {
    System = 0, Dict, Users, OrderList, DispList, DoTab, DoTab1, DispField, XlsTab, XlsTab1,
    MastDetail, UserGroup, Log, Online, Inform, Inform1, Download, Setup, Everyday
};

// Ordered catalog table names; index n is catalog table number n.
const QStringList &CatalogNames();
QString CatalogName(CatalogTable t);
// Whether name is one of the catalog list (case ignored); browse mode hides those.
bool IsCatalogTable(const QString &name);

// One column of a catalog table, in the types the catalog is written in.
struct CatalogColumn {
    enum class Type { Identity, Varchar, Text, Bit, Integer, Float, DateTime } type;
    QString name;
    int size = 0;
};

struct CatalogTableDef {
    CatalogTable table;
    QList<CatalogColumn> columns;
};

// Definition of one table (not for usys_orderlist, which no script creates).
const CatalogTableDef &CatalogDefinition(CatalogTable t);
// The tables the full script creates, in the order it creates them.
const QList<CatalogTable> &FullScriptOrder();
// The ten tables that can also be created one by one when found absent.
const QList<CatalogTable> &SingleTableRoutines();

QString CatalogCreateStatement(CatalogTable t, const SqlDialect &dialect);

} // namespace vek
