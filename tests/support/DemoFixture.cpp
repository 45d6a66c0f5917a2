#include "DemoFixture.h"

#include "app/DemoLibrary.h"

#include <QDir>
#include <stdexcept>

namespace vek::test {

DemoFixture::DemoFixture()
{
    ConsolePrompter quiet;
    if (!MakeDemoLibrary(libraryPath(), quiet))
        throw std::runtime_error("demo library could not be made");
    ini = std::make_unique<IniFile>(QDir(dir.path()).filePath("vek2000.Ini"));
    ctx = std::make_unique<AppContext>(AppContext{db, *ini, prompter, clock});
    ctx->computerName = QStringLiteral("office-pc");
}

QString DemoFixture::libraryPath() const
{
    return QDir(dir.path()).filePath("demo.vek");
}

} // namespace vek::test
