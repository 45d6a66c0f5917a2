#pragma once

#include <QString>

namespace vek {

class Prompter;
class TDModule;

// The name a new library gets: the chosen name with ".vek" appended unless its
// extension already is ".vek" in any case (lib -> lib.vek, lib.VEK kept, a.txt -> a.txt.vek).
QString LibraryFileName(const QString &chosen);

// Creates a new library file with the full catalog and connects to it. Reports through
// the prompter with the system's own messages; on any failure no file is left behind
// (an existing file is never touched). Returns the path created, or an empty string.
QString CreateLibrary(TDModule &db, const QString &chosen, Prompter &prompter);

// Connects to an existing library file. On failure reports "打开资源库文件失败!",
// leaves the connection closed and returns false. The login is the caller's next step.
bool OpenLibraryFile(TDModule &db, const QString &path, Prompter &prompter);

// Caption of the main window for an open library: its own title, or when that is
// blank the file's name without ".vek".
QString LibraryCaption(TDModule &db, const QString &path);

// Disconnects and clears the shell state.
void CloseLibrary(TDModule &db);

} // namespace vek
