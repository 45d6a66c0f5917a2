#pragma once

#include "CatalogTables.h"

#include <QString>

namespace vek {

class TDModule;

// Title shown when no library (or a library without a title of its own) is open.
QString DefaultAppTitle();

// Creates the eighteen catalog tables and the default admin user, in one transaction:
// a library gets the whole catalog or none of it. Throws DbError.
void CreateFullCatalog(TDModule &db);

// Creates one catalog table found absent (with the three default users for usys_Users).
// Does nothing and returns false when the engine's schema says the table exists, so a
// failing query never leads to a second copy. Throws DbError.
bool CreateCatalogTable(TDModule &db, CatalogTable table);

// True when the connected database has no catalog (no usys_system table).
bool CatalogAbsent(TDModule &db);

// The library's own title from usys_setup (trimmed, possibly blank), else the default
// title when the table holds no row.
QString ReadAppTitle(TDModule &db);
// Replaces the stored title by one row holding title. Throws DbError.
void WriteAppTitle(TDModule &db, const QString &title);

} // namespace vek
