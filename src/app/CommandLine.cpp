#include "CommandLine.h"

#include "DemoLibrary.h"
#include "catalog/LibraryFile.h"
#include "platform/AppPaths.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "platform/TDModule.h"

#include <QTextStream>

namespace vek {

namespace {

// Options that take a value, with where the value goes.
struct ValueOption {
    const char *name;
    QString CommandLine::*target;
};

const ValueOption kValueOptions[] = {
    {"--ini", &CommandLine::iniPath},
    {"--new", &CommandLine::newLibrary},
    {"--make-demo", &CommandLine::demoLibrary},
    {"--screenshot", &CommandLine::screenshot},
};

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine cl;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        bool matched = false;
        for (const ValueOption &o : kValueOptions) {
            const QString name = QString::fromLatin1(o.name);
            if (a == name) {
                if (i + 1 >= arguments.size()) {
                    cl.error = QStringLiteral("%1 needs a value").arg(name);
                    return cl;
                }
                cl.*o.target = arguments[++i];
                matched = true;
            } else if (a.startsWith(name + '=')) {
                cl.*o.target = a.mid(name.size() + 1);
                matched = true;
            }
        }
        if (matched)
            continue;
        if (a.compare(QLatin1String("sqlserver"), Qt::CaseInsensitive) == 0)
            cl.sqlServer = true;
        else if (a.compare(QLatin1String("{debug}"), Qt::CaseInsensitive) == 0)
            cl.debug = true;
        else if (a.startsWith(QLatin1String("--"))) {
            cl.error = QStringLiteral("unknown option %1").arg(a);
            return cl;
        } else if (cl.libraryPath.isEmpty())
            cl.libraryPath = a;
        else {
            cl.error = QStringLiteral("unexpected argument %1").arg(a);
            return cl;
        }
    }
    return cl;
}

QString CommandLine::usage()
{
    return QStringLiteral(
        "usage: vek2000 [LIBRARY.vek | sqlserver] [{debug}] [options]\n"
        "  --ini PATH          use PATH as the settings file\n"
        "  --new PATH          create a new resource library and exit\n"
        "  --make-demo PATH    create the demo library and exit\n"
        "  --screenshot PNG    render the main window to PNG and exit\n");
}

std::optional<int> RunCommandLineTask(const CommandLine &cl, Prompter &prompter)
{
    if (!cl.error.isEmpty()) {
        QTextStream(stderr) << cl.error << '\n' << CommandLine::usage();
        return 2;
    }
    if (!cl.newLibrary.isEmpty()) {
        TDModule db;
        return CreateLibrary(db, cl.newLibrary, prompter).isEmpty() ? 1 : 0;
    }
    if (!cl.demoLibrary.isEmpty()) {
        if (!MakeDemoLibrary(cl.demoLibrary, prompter))
            return 1;
        // The demo's calculated column lives in the settings file the program will use.
        IniFile ini(AppPaths::settingsFile(cl.iniPath));
        WriteDemoSettings(ini);
        if (!ini.lastError().isEmpty())
            QTextStream(stderr) << QStringLiteral("演示设置未能写入 ") << ini.path() << ": " << ini.lastError() << '\n';
        QTextStream(stdout) << QStringLiteral("演示资源库已建立: ") << LibraryFileName(cl.demoLibrary) << '\n';
        return 0;
    }
    return std::nullopt;
}

} // namespace vek
