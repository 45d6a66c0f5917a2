#include "DemoFixture.h"

#include "app/DemoLibrary.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

namespace vek::test {

namespace {

// The demo library is made once per test program and copied for each test: making it
// generates thousands of rows.
QString demoTemplate()
{
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString p = QDir(folder.path()).filePath("template.vek");
        ConsolePrompter quiet;
        if (!MakeDemoLibrary(p, quiet))
            throw std::runtime_error("demo library could not be made");
        return p;
    }();
    return path;
}

} // namespace

DemoFixture::DemoFixture()
{
    if (!QFile::copy(demoTemplate(), libraryPath()))
        throw std::runtime_error("demo library could not be copied");
    QFile::setPermissions(libraryPath(), QFile::ReadOwner | QFile::WriteOwner);
    ini = std::make_unique<IniFile>(QDir(dir.path()).filePath("vek2000.Ini"));
    ctx = std::make_unique<AppContext>(AppContext{db, *ini, prompter, clock});
    ctx->computerName = QStringLiteral("office-pc");
}

QString DemoFixture::libraryPath() const
{
    return QDir(dir.path()).filePath("demo.vek");
}

} // namespace vek::test
