#include "catalog/Catalog.h"
#include "catalog/LibraryFile.h"
#include "platform/Prompter.h"
#include "platform/Query.h"
#include "platform/TDModule.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace vek;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(LibraryFile, NameRule)
{
    const struct {
        const char *chosen, *result;
    } cases[] = {{"/d/lib", "/d/lib.vek"},       {"/d/lib.VEK", "/d/lib.VEK"}, {"/d/a.txt", "/d/a.txt.vek"},
                 {"/d/lib.vek", "/d/lib.vek"},   {"/d.vek/lib", "/d.vek/lib.vek"}, {"/d/a.vek.bak", "/d/a.vek.bak.vek"}};
    for (const auto &c : cases)
        EXPECT_EQ(LibraryFileName(c.chosen), c.result) << c.chosen;
}

TEST(LibraryFile, CreateMakesAUsableLibraryAndSaysSo)
{
    QTemporaryDir dir;
    TDModule db;
    ScriptedPrompter prompter;
    const QString path = CreateLibrary(db, QDir(dir.path()).filePath("school"), prompter);
    EXPECT_EQ(path, QDir(dir.path()).filePath("school.vek"));
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown()[0].caption, "系统提示");
    EXPECT_EQ(prompter.shown()[0].text, "资源库文件创建完成，欢迎使用!");
    EXPECT_EQ(prompter.shown()[0].icon, Prompter::Icon::Information);
    // Connected and open at once, without a login.
    EXPECT_TRUE(db.isOpen());
    EXPECT_TRUE(db.state().libraryOpen);
    EXPECT_FALSE(CatalogAbsent(db));
    EXPECT_EQ(Query::scalar(db, "SELECT uid FROM usys_Users").toString(), "admin");
}

TEST(LibraryFile, CreateOverAnExistingFileLeavesItUntouched)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("old.vek");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("precious");
    }
    TDModule db;
    ScriptedPrompter prompter;
    EXPECT_TRUE(CreateLibrary(db, QDir(dir.path()).filePath("old"), prompter).isEmpty());
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown()[0].caption, "错误");
    EXPECT_EQ(prompter.shown()[0].text, "数据文件已经存在!");
    EXPECT_EQ(readAll(path), "precious");
}

TEST(LibraryFile, CreateInAFolderThatCannotBeWrittenFails)
{
    TDModule db;
    ScriptedPrompter prompter;
    EXPECT_TRUE(CreateLibrary(db, "/nonexistent-folder/x/lib", prompter).isEmpty());
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_TRUE(prompter.shown()[0].text.startsWith("数据文件创建失败!"));
    EXPECT_EQ(prompter.shown()[0].icon, Prompter::Icon::Error);
    EXPECT_FALSE(db.isOpen());
}

TEST(LibraryFile, OpenReportsFailureForAFileThatIsNoLibrary)
{
    QTemporaryDir dir;
    const QString plain = QDir(dir.path()).filePath("plain.vek");
    {
        TDModule db;
        db.createSqliteFile(plain);
        Query::run(db, "CREATE TABLE other (x integer)");
    }
    const QString text = QDir(dir.path()).filePath("text.vek");
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(2048, 'z'));
    }
    for (const QString &path : {plain, text, QDir(dir.path()).filePath("missing.vek")}) {
        TDModule db;
        ScriptedPrompter prompter;
        EXPECT_FALSE(OpenLibraryFile(db, path, prompter)) << path.toStdString();
        ASSERT_EQ(prompter.shown().size(), 1);
        EXPECT_EQ(prompter.shown()[0].text, "打开资源库文件失败!");
        EXPECT_EQ(prompter.shown()[0].caption, "系统提示");
        EXPECT_FALSE(db.isOpen());
        EXPECT_FALSE(db.state().libraryOpen);
    }
    EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath("missing.vek")));
}

TEST(LibraryFile, OpenAndCaption)
{
    QTemporaryDir dir;
    QString path;
    {
        TDModule db;
        ScriptedPrompter p;
        path = CreateLibrary(db, QDir(dir.path()).filePath("Grade7.VEK"), p);
        ASSERT_FALSE(path.isEmpty());
    }
    TDModule db;
    ScriptedPrompter prompter;
    ASSERT_TRUE(OpenLibraryFile(db, path, prompter));
    EXPECT_TRUE(prompter.shown().isEmpty());
    EXPECT_TRUE(db.state().libraryOpen);
    EXPECT_EQ(LibraryCaption(db, path), DefaultAppTitle()) << "no stored title: the default";
    WriteAppTitle(db, "");
    EXPECT_EQ(LibraryCaption(db, path), "Grade7") << "a blank title: the file's name";
    WriteAppTitle(db, "七年级");
    EXPECT_EQ(LibraryCaption(db, path), "七年级");

    CloseLibrary(db);
    EXPECT_FALSE(db.isOpen());
    EXPECT_FALSE(db.state().libraryOpen);
}
