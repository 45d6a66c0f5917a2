#pragma once

#include <QList>
#include <QString>

namespace vek {

// When a shell action may be used.
enum class ActionNeed {
    Always,
    NoLibrary,      // "打开", "新建资源库": only while no library is open
    Library,        // a library (or browsed database) is open
    LibrarySystem,  // a library is open and the user is a system user
    Editing,        // record actions: only while "编辑" is ticked in the grid window
};

struct ShellActionDef {
    const char *name;      // objectName of the QAction
    const char *caption;   // text as the user sees it
    const char *shortcut;  // portable key sequence text, or empty
    ActionNeed need;
    bool built;            // false: its window arrives later and the action stays disabled
};

// The state availability depends on.
struct ShellConditions {
    bool libraryOpen = false;
    bool browseMode = false;
    int userLevel = 1;
    bool editing = false;
};

const QList<ShellActionDef> &ShellActionDefs();
const ShellActionDef *FindShellAction(const QString &name);
bool ShellActionEnabled(const ShellActionDef &def, const ShellConditions &c);

} // namespace vek
