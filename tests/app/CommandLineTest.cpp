#include "app/CommandLine.h"
#include "platform/IniFile.h"
#include "platform/Query.h"
#include "platform/TDModule.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vek;

namespace {

struct ProgramRun {
    int code;
    QString out, err;
};

ProgramRun runProgram(const QStringList &args)
{
    QProcess p;
    p.start(VEK2000_BIN, args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST(CommandLine, Parse)
{
    CommandLine cl = CommandLine::parse({"vek2000", "sqlserver", "{debug}", "--ini", "/t/a.Ini"});
    EXPECT_TRUE(cl.sqlServer);
    EXPECT_TRUE(cl.debug);
    EXPECT_EQ(cl.iniPath, "/t/a.Ini");
    EXPECT_TRUE(cl.error.isEmpty());

    EXPECT_TRUE(CommandLine::parse({"vek2000", "SqlServer"}).sqlServer) << "any mix of capitals";

    cl = CommandLine::parse({"vek2000", "/d/school.vek", "--new=/d/n"});
    EXPECT_EQ(cl.libraryPath, "/d/school.vek");
    EXPECT_EQ(cl.newLibrary, "/d/n");

    EXPECT_FALSE(CommandLine::parse({"vek2000", "--ini"}).error.isEmpty());
    EXPECT_FALSE(CommandLine::parse({"vek2000", "--bogus"}).error.isEmpty());
    EXPECT_FALSE(CommandLine::parse({"vek2000", "a.vek", "b.vek"}).error.isEmpty());
}

TEST(CommandLine, NewCreatesTheLibraryOnceAndRefusesTheSecondTime)
{
    QTemporaryDir dir;
    const QString base = QDir(dir.path()).filePath("x");
    ProgramRun r = runProgram({"--new", base});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("资源库文件创建完成，欢迎使用!")) << r.out.toStdString();
    ASSERT_TRUE(QFile::exists(base + ".vek"));
    const QByteArray before = [&] {
        QFile f(base + ".vek");
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();

    r = runProgram({"--new", base});
    EXPECT_NE(r.code, 0);
    EXPECT_TRUE(r.err.contains("数据文件已经存在!")) << r.err.toStdString();
    QFile f(base + ".vek");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);

    r = runProgram({"--new", "/nonexistent-folder/y"});
    EXPECT_NE(r.code, 0);
    EXPECT_TRUE(r.err.contains("数据文件创建失败!")) << r.err.toStdString();
}

TEST(CommandLine, MakeDemoBuildsTheSchoolLibrary)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("demo.vek");
    const QString ini = QDir(dir.path()).filePath("vek2000.Ini");
    const ProgramRun r = runProgram({"--make-demo", path, "--ini", ini});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(IniFile(ini).value("学生档案", "CalcField0"), "年龄:now-出生日期") << "the settings file named by --ini";

    TDModule db;
    db.openSqliteFile(path);
    EXPECT_GE(Query::scalar(db, "SELECT count(*) FROM 学生档案").toInt(), 30);
    EXPECT_EQ(Query::scalar(db, "SELECT count(DISTINCT 班级) FROM 学生档案").toInt(), 4);
    Query q(db, "SELECT AppTitle, FirstTable, Flag, parent FROM usys_system WHERE Flag = '1'");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), "学生档案");
    EXPECT_EQ(q.value(1).toString(), "学生档案");
    const QString parent = q.value(3).toString();
    EXPECT_EQ(Query::scalar(db, "SELECT AppTitle FROM usys_system WHERE child = :HostCode AND (Flag IS NULL OR Flag = '')",
                            {{":HostCode", parent}})
                  .toString(),
              "学生管理")
        << "the grid application hangs under its directory";
    EXPECT_EQ(Query::scalar(db, "SELECT 出生日期 FROM 学生档案 ORDER BY 编号 LIMIT 1").toString().size(), 10)
        << "dates stored as yyyy-MM-dd";
}
