#include "platform/IniFile.h"
#include "platform/PasswordCodec.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <unistd.h>

using vek::IniFile;

namespace {

QByteArray gb(const QString &text)
{
    QStringEncoder encoder("GB18030");
    return encoder.encode(text);
}

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = decoder.decode(bytes); // decode() is lazy: convert to run it
    Q_UNUSED(decoded);
    return !decoder.hasError();
}

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const QString &name = QStringLiteral("vek2000.Ini")) const
    {
        return m_dir.filePath(name);
    }
    void write(const QByteArray &bytes, const QString &name = QStringLiteral("vek2000.Ini"))
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    QByteArray read(const QString &name = QStringLiteral("vek2000.Ini")) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

// ---- lookup ---------------------------------------------------------------------------

TEST_F(IniFileTest, NamesMatchWithoutRegardToCase)
{
    write("[DATABASE]\nUserName=x\nSERVERNAME = srv \n[Login]\nuserName=y\n");
    IniFile ini(path());
    const struct {
        const char *section, *key, *expected;
    } cases[] = {
        {"database", "USERNAME", "x"}, {"Database", "username", "x"},
        {"DATABASE", "UserName", "x"}, {" database ", "servername", "srv"},
        {"LOGIN", "USERNAME", "y"},    {"login", "missing", "def"},
        {"nosuch", "UserName", "def"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(ini.value(c.section, c.key, "def"), QString(c.expected));
        EXPECT_EQ(ini.contains(c.section, c.key), QString(c.expected) != "def");
    }
    EXPECT_EQ(ini.sections(), QStringList({"DATABASE", "Login"}));
    EXPECT_EQ(ini.keys("database"), QStringList({"UserName", "SERVERNAME"}));

    // A write through other spelling replaces the value and keeps the file's spelling.
    ASSERT_TRUE(ini.setValue("database", "USERNAME", "z")) << ini.lastError().toStdString();
    EXPECT_EQ(read(), QByteArray("[DATABASE]\nUserName=z\nSERVERNAME = srv \n[Login]\nuserName=y\n"));
}

TEST_F(IniFileTest, FirstOccurrenceWins)
{
    write("[A]\nk=1\nK=2\n[b]\nx=1\n[a]\nk=3\nonly=4\n");
    IniFile ini(path());
    EXPECT_EQ(ini.value("A", "k"), "1");
    EXPECT_FALSE(ini.contains("a", "only")); // the later [a] is not looked into
    EXPECT_EQ(ini.sections(), QStringList({"A", "b"}));
    EXPECT_EQ(ini.keys("a"), QStringList({"k"}));

    ASSERT_TRUE(ini.setValue("a", "K", "9"));
    EXPECT_EQ(read(), QByteArray("[A]\nk=9\nK=2\n[b]\nx=1\n[a]\nk=3\nonly=4\n"));

    // Removing the key removes its duplicate too, so it is really gone.
    ASSERT_TRUE(ini.removeKey("A", "k"));
    EXPECT_FALSE(ini.contains("A", "k"));
    EXPECT_EQ(read(), QByteArray("[A]\n[b]\nx=1\n[a]\nk=3\nonly=4\n"));

    // Removing the section removes every occurrence of it.
    ASSERT_TRUE(ini.removeSection("a"));
    EXPECT_FALSE(ini.containsSection("A"));
    EXPECT_EQ(read(), QByteArray("[b]\nx=1\n"));
    // Absent things are already gone: nothing to write, no failure.
    EXPECT_TRUE(ini.removeKey("b", "nosuch"));
    EXPECT_TRUE(ini.removeSection("nosuch"));
    EXPECT_EQ(read(), QByteArray("[b]\nx=1\n"));
}

// ---- values ---------------------------------------------------------------------------

TEST_F(IniFileTest, ValuesAreLiteralByteForByte)
{
    const QString values[] = {
        "a,b,c", "C:\\p\\x.bmp", "\"quoted\"", "x;y#z", "a=b=c", "[not a section]",
        "资源中心,宋体", "",
    };
    for (const QString &v : values) {
        SCOPED_TRACE(v.toStdString());
        QFile::remove(path());
        {
            IniFile ini(path());
            ASSERT_TRUE(ini.setValue("Grid", "FieldList", v)) << ini.lastError().toStdString();
            EXPECT_EQ(ini.value("Grid", "FieldList", "def"), v);
        }
        EXPECT_EQ(read(), "[Grid]\nFieldList=" + v.toUtf8() + "\n");
        IniFile again(path());
        EXPECT_EQ(again.value("Grid", "FieldList", "def"), v);
        EXPECT_TRUE(again.contains("Grid", "FieldList"));
    }
}

TEST_F(IniFileTest, BlanksAroundNamesAndValuesAreTrimmedOnRead)
{
    const QByteArray original = "  [ Splash ]  \n\tFileName \t=  C:\\p\\x.bmp \t\n";
    write(original);
    IniFile ini(path());
    EXPECT_EQ(ini.value("Splash", "FileName"), "C:\\p\\x.bmp");
    EXPECT_EQ(ini.rawValue("splash", "filename"), QByteArray("C:\\p\\x.bmp"));
    EXPECT_TRUE(ini.rawValue("splash", "nosuch").isNull());
    // A value written again keeps the line's blanks before the value.
    ASSERT_TRUE(ini.setValue("splash", "filename", "y.bmp"));
    EXPECT_EQ(read(), QByteArray("  [ Splash ]  \n\tFileName \t=  y.bmp\n"));
}

TEST_F(IniFileTest, IntegersAndBooleans)
{
    write("[v]\nb1=1\nb0=0\nbt=TRUE\nbf=false\nbx=yes\nb2=2\nbe=\n"
          "i=12\nneg=-16777201\nhex=0x1F\ndhex=$FF00000F\nbad=12abc\nsp= 7 \n");
    IniFile ini(path());
    const struct {
        const char *key;
        bool def, expected;
    } bools[] = {
        {"b1", false, true}, {"b0", true, false}, {"bt", false, true}, {"bf", true, false},
        {"bx", true, true},  {"bx", false, false}, {"b2", false, false}, {"be", true, true},
        {"none", true, true},
    };
    for (const auto &c : bools) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(ini.boolValue("V", c.key, c.def), c.expected);
    }
    const struct {
        const char *key;
        int expected;
    } ints[] = {
        {"i", 12}, {"neg", -16777201}, {"hex", 31}, {"dhex", int(0xFF00000Fu)},
        {"bad", -5}, {"be", -5}, {"sp", 7}, {"none", -5},
    };
    for (const auto &c : ints) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(ini.intValue("v", c.key, -5), c.expected);
    }

    ASSERT_TRUE(ini.setBool("v", "b0", true));
    ASSERT_TRUE(ini.setBool("v", "bt", false));
    ASSERT_TRUE(ini.setInt("v", "i", -42));
    const QByteArray file = read();
    EXPECT_TRUE(file.contains("\nb0=1\nbt=0\n")) << file.constData();
    EXPECT_TRUE(file.contains("\ni=-42\n")) << file.constData();
}

// ---- where writes go ------------------------------------------------------------------

TEST_F(IniFileTest, NewKeyGoesAfterTheLastKeyOfItsSection)
{
    write("; settings\n[A]\nx=1\n; about B\n\n[B]\ny=2\n\n[Empty]\n; nothing yet\n");
    IniFile ini(path());
    ASSERT_TRUE(ini.setValue("a", "z", "3"));
    ASSERT_TRUE(ini.setValue("B", "w", "4"));
    ASSERT_TRUE(ini.setValue("empty", "e", "5"));
    EXPECT_EQ(read(), QByteArray("; settings\n[A]\nx=1\nz=3\n; about B\n\n[B]\ny=2\nw=4\n\n"
                                 "[Empty]\ne=5\n; nothing yet\n"));
    EXPECT_EQ(ini.keys("A"), QStringList({"x", "z"}));
}

TEST_F(IniFileTest, NewSectionIsAppendedAtTheEnd)
{
    write("[A]\nx=1"); // no line ending at the end
    IniFile ini(path());
    ASSERT_TRUE(ini.setValue("Outlook", "style", "2"));
    ASSERT_TRUE(ini.setValue("A", "y", "2"));
    EXPECT_EQ(read(), QByteArray("[A]\nx=1\ny=2\n[Outlook]\nstyle=2\n"));
    EXPECT_EQ(ini.sections(), QStringList({"A", "Outlook"}));
}

TEST_F(IniFileTest, MissingFileIsEmptyAndBecomesUtf8WithLf)
{
    IniFile ini(path());
    EXPECT_TRUE(ini.sections().isEmpty());
    EXPECT_TRUE(ini.lastError().isEmpty());
    EXPECT_FALSE(QFile::exists(path())); // reading creates nothing
    ASSERT_TRUE(ini.setValue("Login", "UserName", "系统管理员"));
    EXPECT_EQ(read(), QByteArray("[Login]\nUserName=") + QString("系统管理员").toUtf8() + "\n");
    EXPECT_EQ(IniFile(path()).encoding(), IniFile::Encoding::Utf8);
}

// ---- encodings and line endings -------------------------------------------------------

TEST_F(IniFileTest, Gb18030FileKeepsItsEncodingAndUntouchedLines)
{
    // "乚" and "乗" have ']' and '\\' as their second GB18030 byte.
    const QString text = "; 系统设置文件\r\n"
                         "[系统]\r\n"
                         "标题=资源中心\r\n"
                         "路径 = C:\\图片\\背景.bmp\r\n"
                         "\r\n"
                         "# 注释行：不要改动\r\n"
                         "[乚设置]\r\n"
                         "字体=宋体\r\n"
                         "乗=值\r\n";
    const QByteArray original = gb(text);
    ASSERT_TRUE(original.contains(QByteArray("\x81\x5D", 2)));
    ASSERT_FALSE(isValidUtf8(original));
    write(original);

    IniFile ini(path());
    EXPECT_EQ(ini.encoding(), IniFile::Encoding::Gb18030);
    EXPECT_EQ(ini.value("系统", "路径"), "C:\\图片\\背景.bmp");
    EXPECT_EQ(ini.value("乚设置", "乗"), "值");
    EXPECT_EQ(ini.sections(), QStringList({"系统", "乚设置"}));

    ASSERT_TRUE(ini.setValue("系统", "标题", "新的标题")) << ini.lastError().toStdString();
    QString expected = text;
    expected.replace("标题=资源中心", "标题=新的标题");
    EXPECT_EQ(read(), gb(expected));

    IniFile again(path());
    EXPECT_EQ(again.encoding(), IniFile::Encoding::Gb18030);
    EXPECT_EQ(again.value("系统", "标题"), "新的标题");

    // A new key and a new section are GB18030 with CRLF too.
    ASSERT_TRUE(again.setValue("乚设置", "字号", "12"));
    ASSERT_TRUE(again.setValue("新节", "键", "值"));
    expected.replace("乗=值\r\n", "乗=值\r\n字号=12\r\n[新节]\r\n键=值\r\n");
    EXPECT_EQ(read(), gb(expected));
}

TEST_F(IniFileTest, Utf8BomIsKept)
{
    const QByteArray bom("\xEF\xBB\xBF");
    const QByteArray body = QString("[vek2000]\nFontName=宋体\n; 注释\n").toUtf8();
    write(bom + body);
    IniFile ini(path());
    EXPECT_EQ(ini.encoding(), IniFile::Encoding::Utf8Bom);
    EXPECT_EQ(ini.sections(), QStringList({"vek2000"})); // the BOM is not part of the name
    EXPECT_EQ(ini.value("VEK2000", "fontname"), "宋体");
    ASSERT_TRUE(ini.setValue("vek2000", "FontName", "黑体"));
    EXPECT_EQ(read(), bom + QString("[vek2000]\nFontName=黑体\n; 注释\n").toUtf8());
    EXPECT_EQ(IniFile(path()).encoding(), IniFile::Encoding::Utf8Bom);
}

TEST_F(IniFileTest, CrlfIsKept)
{
    write("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    IniFile ini(path());
    ASSERT_TRUE(ini.setValue("A", "x", "10"));
    ASSERT_TRUE(ini.setValue("A", "n", "new"));
    ASSERT_TRUE(ini.setValue("C", "z", "3"));
    EXPECT_EQ(read(), QByteArray("[A]\r\nx=10\r\nn=new\r\n\r\n[B]\r\ny=2\r\n[C]\r\nz=3\r\n"));
}

// ---- failures -------------------------------------------------------------------------

TEST_F(IniFileTest, WriteToUnwritableLocationFailsWithoutPartialFile)
{
    write("not a folder", "plain.txt");
    const QString badPath = path("plain.txt") + "/vek2000.Ini";
    IniFile ini(badPath);
    EXPECT_FALSE(ini.setValue("A", "x", "1"));
    EXPECT_FALSE(ini.lastError().isEmpty());
    EXPECT_FALSE(ini.contains("A", "x")); // the object is unchanged too
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
              QStringList({"plain.txt"}));
    EXPECT_EQ(read("plain.txt"), QByteArray("not a folder"));

    // A read-only folder (only meaningful when not running as root).
    if (::geteuid() != 0) {
        const QString sub = m_dir.filePath("ro");
        ASSERT_TRUE(QDir().mkdir(sub));
        QFile seed(sub + "/vek2000.Ini");
        ASSERT_TRUE(seed.open(QIODevice::WriteOnly));
        seed.write("[A]\nx=1\n");
        seed.close();
        ASSERT_TRUE(QFile::setPermissions(sub, QFile::ReadOwner | QFile::ExeOwner));
        IniFile ro(sub + "/vek2000.Ini");
        EXPECT_FALSE(ro.setValue("A", "x", "2"));
        EXPECT_FALSE(ro.lastError().isEmpty());
        EXPECT_EQ(ro.value("A", "x"), "1");
        EXPECT_EQ(QDir(sub).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                  QStringList({"vek2000.Ini"}));
        QFile::setPermissions(sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

TEST_F(IniFileTest, RefusesNamesAndValuesThatWouldBreakTheFile)
{
    const QByteArray original = "[DATABASE]\nUserName=x\n";
    write(original);
    IniFile ini(path());
    const struct {
        const char *section, *key, *value;
    } cases[] = {
        {"DATABASE", "UserName", "x\n[DATABASE]\npassword=p"}, // injected lines
        {"DATABASE", "UserName", "x\ry"},
        {"", "k", "v"},
        {"A]B", "k", "v"},
        {"A\nB", "k", "v"},
        {"A", "", "v"},
        {"A", "k=v", "v"},
        {"A", ";k", "v"},
        {"A", "[k", "v"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key + "/" + c.value);
        EXPECT_FALSE(ini.setValue(c.section, c.key, c.value));
        EXPECT_FALSE(ini.lastError().isEmpty());
    }
    EXPECT_FALSE(ini.setRawValue("DATABASE", "password", QByteArray("a\nb")));
    // Bytes that are not UTF-8 would turn a UTF-8 file into another encoding.
    EXPECT_FALSE(ini.setRawValue("DATABASE", "password", QByteArray("\xB4\xAB")));
    EXPECT_EQ(read(), original);
    EXPECT_EQ(ini.value("DATABASE", "UserName"), "x");
}

TEST_F(IniFileTest, TwoInstancesOnOneFileDoNotUndoEachOther)
{
    write("[vek2000]\nAppTitle=a\n");
    IniFile mainWindow(path());
    IniFile dialog(path());
    EXPECT_EQ(mainWindow.value("vek2000", "AppTitle"), "a");

    ASSERT_TRUE(dialog.setValue("vek2000", "AppTitle", "b"));
    ASSERT_TRUE(mainWindow.setValue("Login", "UserName", "u")); // must not drop "b"
    EXPECT_EQ(read(), QByteArray("[vek2000]\nAppTitle=b\n[Login]\nUserName=u\n"));
    EXPECT_EQ(dialog.value("login", "username"), "u");
    EXPECT_EQ(mainWindow.value("vek2000", "AppTitle"), "b");
}

// ---- stored passwords -----------------------------------------------------------------

TEST(IniFilePasswordCodec, ShiftsEveryByteBy123)
{
    EXPECT_EQ(vek::shiftPasswordUp("908172"), QByteArray("\xB4\xAB\xB3\xAC\xB2\xAD"));
    EXPECT_EQ(vek::shiftPasswordDown("\xB4\xAB\xB3\xAC\xB2\xAD"), QByteArray("908172"));
    QByteArray all(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    const QByteArray up = vek::shiftPasswordUp(all);
    EXPECT_EQ(uchar(up.at(0)), 123);
    EXPECT_EQ(uchar(up.at(133)), 0); // wraps modulo 256
    EXPECT_EQ(vek::shiftPasswordDown(up), all);
}

TEST_F(IniFileTest, StoredPasswordInGb18030FileIsRawShiftedBytes)
{
    const QByteArray legacy = gb("[DATABASE]\n; 连接\nUSERNAME=sa\nPASSWORD=")
                              + vek::shiftPasswordUp(gb("密码908172")) + "\n";
    ASSERT_FALSE(isValidUtf8(legacy));
    write(legacy);
    IniFile ini(path());
    ASSERT_EQ(ini.encoding(), IniFile::Encoding::Gb18030);
    EXPECT_EQ(ini.readStoredPassword("database", "password"), "密码908172");
    EXPECT_EQ(ini.readStoredPassword("database", "nosuch", "dflt"), "dflt");

    ASSERT_TRUE(ini.writeStoredPassword("DATABASE", "password", "新908172"));
    EXPECT_EQ(read(), gb("[DATABASE]\n; 连接\nUSERNAME=sa\nPASSWORD=")
                          + vek::shiftPasswordUp(gb("新908172")) + "\n");
    IniFile again(path());
    EXPECT_EQ(again.encoding(), IniFile::Encoding::Gb18030);
    EXPECT_EQ(again.readStoredPassword("DATABASE", "PASSWORD"), "新908172");
}

TEST_F(IniFileTest, StoredPasswordInUtf8FileKeepsTheFileUtf8)
{
    write(QString("[DATABASE]\nSERVERNAME=服务器\n").toUtf8());
    IniFile ini(path());
    ASSERT_EQ(ini.encoding(), IniFile::Encoding::Utf8);
    EXPECT_EQ(ini.readStoredPassword("DATABASE", "password", "dflt"), "dflt");
    ASSERT_TRUE(ini.writeStoredPassword("DATABASE", "password", "密码908172"))
        << ini.lastError().toStdString();

    const QByteArray stored = QString::fromLatin1(vek::shiftPasswordUp(gb("密码908172"))).toUtf8();
    const QByteArray file = read();
    EXPECT_EQ(file, QString("[DATABASE]\nSERVERNAME=服务器\npassword=").toUtf8() + stored + "\n");
    EXPECT_TRUE(isValidUtf8(file));
    IniFile again(path());
    EXPECT_EQ(again.encoding(), IniFile::Encoding::Utf8);
    EXPECT_EQ(again.readStoredPassword("database", "PASSWORD"), "密码908172");
    EXPECT_EQ(again.rawValue("database", "PASSWORD"), stored);
}

TEST_F(IniFileTest, PasswordThatCannotReadBackIsRefused)
{
    // "廆" is 8F 40 in GB18030 and shifts to a line feed; "哎" (B0 A5) ends in a blank.
    const char *encodings[] = {"[A]\nk=1\n", "\xEF\xBB\xBF[A]\nk=1\n"};
    for (const char *seed : encodings) {
        SCOPED_TRACE(seed);
        write(seed);
        IniFile ini(path());
        EXPECT_FALSE(ini.writeStoredPassword("A", "password", "x廆y"));
        EXPECT_FALSE(ini.writeStoredPassword("A", "password", "x哎"));
        EXPECT_FALSE(ini.lastError().isEmpty());
        EXPECT_EQ(read(), QByteArray(seed));
    }
    write(gb("[A]\nk=资源中心\n"));
    IniFile ini(path());
    ASSERT_EQ(ini.encoding(), IniFile::Encoding::Gb18030);
    EXPECT_FALSE(ini.writeStoredPassword("A", "password", "x廆y"));
    EXPECT_EQ(read(), gb("[A]\nk=资源中心\n"));
    // Interior blanks are fine.
    ASSERT_TRUE(ini.writeStoredPassword("A", "password", "哎x"));
    EXPECT_EQ(IniFile(path()).readStoredPassword("A", "password"), "哎x");
}

} // namespace
