#include "Program.h"

#include "ResourceShell.h"
#include "TfrmMain.h"
#include "app/CommandLine.h"
#include "app/SettingsDefaults.h"
#include "platform/AppPaths.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "platform/TDModule.h"
#include "platform/ui/WidgetPrompter.h"

#include <QApplication>
#include <QDir>
#include <QHostInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTextStream>
#include <QTimer>

namespace vek {

namespace {

QStringList argumentsOf(int argc, char **argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

// Single instance: a second program with "Mutex" on ends at once, silently.
bool anotherInstanceRuns(QLocalServer &server)
{
    const QString name = QStringLiteral("VEK2000_TOOLS-") + qEnvironmentVariable("USER");
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(200))
        return true;
    QLocalServer::removeServer(name);
    server.listen(name);
    return false;
}

int screenshot(TfrmMain &main, const QString &path)
{
    main.show();
    main.startUp();
    QApplication::processEvents();
    const bool ok = main.grab().save(path);
    if (!ok)
        QTextStream(stderr) << QStringLiteral("不能保存截图: ") << path << '\n';
    return ok ? 0 : 1;
}

} // namespace

int RunProgram(int argc, char **argv)
{
    const CommandLine cl = CommandLine::parse(argumentsOf(argc, argv));
    if (!cl.error.isEmpty() || !cl.newLibrary.isEmpty() || !cl.demoLibrary.isEmpty()) {
        QCoreApplication app(argc, argv);
        ConsolePrompter prompter;
        return RunCommandLineTask(cl, prompter).value_or(0);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vek2000"));
    QApplication::setApplicationVersion(QStringLiteral("0.1"));
    QApplication::setQuitOnLastWindowClosed(true);

    IniFile ini(AppPaths::settingsFile(cl.iniPath));
    QLocalServer instance;
    if (SettingBool(ini, "vek2000", "Mutex") && anotherInstanceRuns(instance))
        return 0;

    TDModule db;
    WidgetPrompter prompter;
    SystemClock clock;
    AppContext ctx{db, ini, prompter, clock};
    ctx.computerName = QHostInfo::localHostName().left(15);
    ctx.sqlServerSwitch = cl.sqlServer;

    TfrmMain::Options options;
    options.libraryArgument = cl.libraryPath;
    options.sqlServer = cl.sqlServer;
    options.workingDir = QDir::currentPath();
    options.autoStart = cl.screenshot.isEmpty();
    TfrmMain main(ctx, options);
    prompter.setParent(&main);

    if (!cl.screenshot.isEmpty()) {
        // Unattended: log in as the user the environment names (the demo's admin by default).
        main.shell().setUnattendedLogin(qEnvironmentVariable("VEK2000_USER", QStringLiteral("admin")),
                                        qEnvironmentVariable("VEK2000_PASSWORD", QStringLiteral("admin")));
        return screenshot(main, cl.screenshot);
    }
    main.show();
    return app.exec();
}

} // namespace vek
