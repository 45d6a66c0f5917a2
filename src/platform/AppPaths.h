#pragma once

#include <QString>
#include <QStringList>

namespace vek {

// Where the program's files are. The settings file lives beside the program when that
// folder is writable (portable use), else in $XDG_CONFIG_HOME/vek2000/.
class AppPaths {
public:
    static QString settingsFileName() { return QStringLiteral("vek2000.Ini"); }

    // Folder of the running program (no trailing separator).
    static QString programDir();
    // Settings file: the override when given, else the rule above.
    static QString settingsFile(const QString &overridePath = {});
    static QString settingsFileFor(const QString &programDir, const QString &configHome);
    // Folder for the user's own files (form definitions, exports); created on demand.
    static QString userDataDir();

    // Resolves a path stored by the Windows original ("C:\vek\pic\x.bmp", "pic\x.bmp"):
    // backslashes become separators, and a path that does not exist as written is looked
    // up, by its trailing components, under each base folder, matching names without
    // regard to case. Returns the existing file, or an empty string.
    static QString resolveStoredPath(const QString &stored, const QStringList &baseDirs);
    static QString resolveStoredPath(const QString &stored);

    // Finds an existing entry of dir whose name equals name ignoring case.
    static QString findIgnoringCase(const QString &dir, const QString &name);
};

} // namespace vek
