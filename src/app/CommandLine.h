#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace vek {

// What the program was asked to do on its command line.
struct CommandLine {
    bool sqlServer = false;   // "sqlserver": start in server mode
    bool debug = false;       // "{debug}"
    QString libraryPath;      // a ".vek" file to open
    QString iniPath;          // --ini: settings file to use
    QString newLibrary;       // --new: create a library and exit
    QString demoLibrary;      // --make-demo: create the demo library and exit
    QString screenshot;       // --screenshot: render the main window to a PNG and exit
    QString error;            // set when the arguments could not be read

    static CommandLine parse(const QStringList &arguments);
    static QString usage();
};

class Prompter;

// Runs the options that work without a window (--new, --make-demo, bad arguments) and
// returns the exit code; nothing when the main window is to start.
std::optional<int> RunCommandLineTask(const CommandLine &cl, Prompter &prompter);

} // namespace vek
