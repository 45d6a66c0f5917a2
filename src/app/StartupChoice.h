#pragma once

#include <QDateTime>
#include <QString>

namespace vek {

// What the main window opens when it is first shown.
struct StartupChoice {
    enum class Kind { None, Server, LibraryFile } kind = Kind::None;
    QString path;
};

// "sqlserver" → server mode; a ".vek" argument (any case) → that file; no argument and
// exactly one "*.vek" file in the working folder → that file; anything else → none.
StartupChoice ChooseStartup(bool sqlServerSwitch, const QString &argument, const QString &workingDir);

// The date and weekday texts of the status bar.
QString StatusDateText(const QDateTime &t);
QString WeekdayText(const QDateTime &t);

} // namespace vek
