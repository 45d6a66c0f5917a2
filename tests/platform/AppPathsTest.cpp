#include "platform/AppPaths.h"
#include "platform/Csv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vek;

namespace {
void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}
} // namespace

TEST(AppPaths, SettingsFileBesideAWritableProgramElseInTheConfigFolder)
{
    QTemporaryDir prog, config;
    EXPECT_EQ(AppPaths::settingsFileFor(prog.path(), config.path()), QDir(prog.path()).filePath("vek2000.Ini"));
    QFile::setPermissions(prog.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (QFileInfo(prog.path()).isWritable())
        GTEST_SKIP() << "running as root: every folder is writable";
    EXPECT_EQ(AppPaths::settingsFileFor(prog.path(), config.path()),
              QDir(config.path()).filePath("vek2000/vek2000.Ini"));
}

TEST(AppPaths, StoredWindowsPathsResolveIgnoringCase)
{
    QTemporaryDir base, data;
    touch(QDir(base.path()).filePath("Pic/Logo.BMP"));
    touch(QDir(data.path()).filePath("forms/dyna12.dat"));
    const QStringList bases = {base.path(), data.path()};
    const struct {
        const char *stored;
        QString expected;
    } cases[] = {
        {"C:\\vek2000\\pic\\logo.bmp", QDir(base.path()).filePath("Pic/Logo.BMP")},
        {"pic\\LOGO.bmp", QDir(base.path()).filePath("Pic/Logo.BMP")},
        {"logo.bmp", QString()}, // not in a base folder itself
        {"D:\\x\\FORMS\\Dyna12.dat", QDir(data.path()).filePath("forms/dyna12.dat")},
        {"\\\\server\\share\\pic\\logo.bmp", QDir(base.path()).filePath("Pic/Logo.BMP")},
        {"C:\\nothing\\here.bmp", QString()},
        {"..\\..\\etc\\passwd", QString()},
        {"", QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(AppPaths::resolveStoredPath(c.stored, bases), c.expected) << c.stored;
}

TEST(Csv, ParsesQuotedFieldsAndRoundTrips)
{
    const QString text = "a,\"b,c\",\"say \"\"hi\"\"\"\r\n1,,\"two\nlines\"\nlast";
    const QList<QStringList> rows = Csv::parse(text);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0], (QStringList{"a", "b,c", "say \"hi\""}));
    EXPECT_EQ(rows[1], (QStringList{"1", "", "two\nlines"}));
    EXPECT_EQ(rows[2], QStringList{"last"});
    for (const QStringList &row : rows)
        EXPECT_EQ(Csv::parse(Csv::formatRow(row)).value(0), row);
}
