#pragma once

#include "platform/TDModule.h"

#include <QString>

namespace vek {

class IniFile;

// The connection read from section DATABASE of the settings file at start-up with the
// "sqlserver" switch. SERVERNAME is "host" or "host:port".
ServerParams StartupServerParams(const IniFile &ini);

// Connects at start-up. Returns false with the server's text in error on failure; the
// caller then offers the connection dialog.
bool ConnectServerAtStartup(TDModule &db, const IniFile &ini, QString *error = nullptr);

// What a successful connection dialog remembers: the five DATABASE keys of the settings
// file (password in stored form) and the native settings in place of the registry.
// Returns false when the settings file could not be written.
bool RememberConnection(IniFile &ini, const ServerParams &params, int serverId, bool server);

// Drivers of the connection dialog, in its list order. A SQLite file stands where the
// desktop database file stood.
enum class ConnectDriver { Server = 0, LocalFile = 1, DbaseFolder = 2, OtherSource = 3 };

struct ConnectRequest {
    ConnectDriver driver = ConnectDriver::Server;
    ServerParams params;   // for a local file, params.database is the file path
    bool establish = false; // "建立数据库应用"
};

// "确定" of the connection dialog: connects, remembers what succeeded, and for the
// server with "建立数据库应用" gives the database the catalog. Returns false with the
// reason in error; the connection is then closed.
bool ConnectFromDialog(TDModule &db, IniFile &ini, const ConnectRequest &request, QString *error);

enum class EstablishResult { Created, AlreadyPresent };
// "建立数据库应用": gives a server database the full catalog when it has none.
// Throws DbError when the catalog could not be created (nothing of it is left).
EstablishResult EstablishServerApplication(TDModule &db);

} // namespace vek
