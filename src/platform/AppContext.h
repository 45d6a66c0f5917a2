#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

namespace vek {

class Clock;
class IniFile;
class Prompter;
class TDModule;

// The user logged in to this program instance.
struct CurrentUser {
    QString name;
    int level = 1;      // 0 system user, 1 ordinary user, 2 shared user
    QString group;
    bool locked = false;

    bool loggedIn() const { return !name.isEmpty(); }
    bool isSystemUser() const { return level == 0; }
    // Rights are in force for everyone but system users.
    bool rightsInForce() const { return level != 0; }

    // A stored level: "0", "1" or "2"; anything else (NULL included) is an ordinary user.
    static int levelFromStored(const QVariant &stored)
    {
        const QString t = stored.toString().trimmed();
        if (t == QLatin1String("0"))
            return 0;
        if (t == QLatin1String("2"))
            return 2;
        return 1;
    }
};

// What every window and rule needs from the running program, handed in rather than
// found through globals, so tests can give their own.
struct AppContext {
    TDModule &db;
    IniFile &ini;
    Prompter &prompter;
    Clock &clock;
    CurrentUser user;
    QString computerName;            // this machine's name, at most 15 characters
    QStringList shownResourceTitles; // titles of resources the tree showed (picture not 0)
    bool sqlServerSwitch = false;    // the program was started with "sqlserver"
};

} // namespace vek
