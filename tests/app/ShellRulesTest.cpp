#include "app/SettingsDefaults.h"
#include "app/ShellActions.h"
#include "app/StartupChoice.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vek;

TEST(SettingsDefaults, OneTableServesEveryReader)
{
    QTemporaryDir dir;
    IniFile ini(QDir(dir.path()).filePath("vek2000.Ini"));
    EXPECT_EQ(SettingInt(ini, "vek2000", "LoginCount"), 3);
    EXPECT_FALSE(SettingBool(ini, "VEK2000", "usercancel")) << "names match ignoring case";
    EXPECT_TRUE(SettingBool(ini, "vek2000", "UserList"));
    EXPECT_EQ(SettingText(ini, "Login", "UserName"), "系统管理员");
    EXPECT_EQ(SettingInt(ini, "Message", "Time"), 5);
    EXPECT_EQ(SettingText(ini, "vek2000", "InfoPlat"), "资源中心");
    // Per-user colours are found under any user's section.
    EXPECT_EQ(SettingColor(ini, "bob", "TreeView_BColor"), 16777215);
    ASSERT_TRUE(ini.setValue("vek2000", "LoginCount", "5"));
    EXPECT_EQ(SettingInt(ini, "vek2000", "LoginCount"), 5);
    EXPECT_EQ(FindSettingDefault("nosuch", "key"), nullptr);
}

TEST(SettingsDefaults, SkinNumber)
{
    EXPECT_EQ(EffectiveSkin(7), 1);
    EXPECT_EQ(EffectiveSkin(5), 1);
    EXPECT_EQ(EffectiveSkin(4), 4);
}

TEST(ShellActions, AvailabilityFollowsLibraryLevelAndEditing)
{
    const ShellConditions none{};
    ShellConditions user{true, false, 1, false};
    ShellConditions admin{true, false, 0, false};
    ShellConditions browse{true, true, 0, false};
    ShellConditions editing{true, false, 1, true};
    const struct {
        const char *action;
        bool none, user, admin, browse, editing;
    } cases[] = {
        {"actNewLibrary", true, false, false, false, false},
        {"actOpen", true, false, false, false, false},
        {"actCloseLibrary", false, true, true, true, true},
        {"actLock", false, true, true, true, true},
        {"actSysSet", false, false, true, false, false},
        {"actNewMainDir", false, false, true, false, false},
        {"actNewExternal", false, false, true, false, false},
        {"actConnectDatabase", true, true, true, true, true},
        {"actDictionary", false, false, false, false, false}, // its window is not built yet
    };
    for (const auto &c : cases) {
        const ShellActionDef *d = FindShellAction(c.action);
        ASSERT_NE(d, nullptr) << c.action;
        EXPECT_EQ(ShellActionEnabled(*d, none), c.none) << c.action;
        EXPECT_EQ(ShellActionEnabled(*d, user), c.user) << c.action;
        EXPECT_EQ(ShellActionEnabled(*d, admin), c.admin) << c.action;
        EXPECT_EQ(ShellActionEnabled(*d, browse), c.browse) << c.action;
        EXPECT_EQ(ShellActionEnabled(*d, editing), c.editing) << c.action;
    }
}

TEST(ShellActions, NamesAreUnique)
{
    QSet<QString> seen;
    for (const ShellActionDef &d : ShellActionDefs()) {
        const QString name = QString::fromLatin1(d.name);
        EXPECT_FALSE(seen.contains(name)) << d.name;
        seen.insert(name);
    }
}

TEST(StartupChoice, ServerArgumentOrTheOneLibraryOfTheFolder)
{
    QTemporaryDir dir;
    auto touch = [&](const char *name) {
        QFile f(QDir(dir.path()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    };
    EXPECT_EQ(ChooseStartup(false, {}, dir.path()).kind, StartupChoice::Kind::None);
    touch("school.VEK");
    StartupChoice c = ChooseStartup(false, {}, dir.path());
    EXPECT_EQ(c.kind, StartupChoice::Kind::LibraryFile);
    EXPECT_TRUE(c.path.endsWith("school.VEK"));
    touch("other.vek");
    EXPECT_EQ(ChooseStartup(false, {}, dir.path()).kind, StartupChoice::Kind::None) << "two libraries: none opens";
    c = ChooseStartup(false, "/x/Lib.Vek", dir.path());
    EXPECT_EQ(c.kind, StartupChoice::Kind::LibraryFile);
    EXPECT_EQ(c.path, "/x/Lib.Vek");
    EXPECT_EQ(ChooseStartup(false, "/x/notes.txt", dir.path()).kind, StartupChoice::Kind::None);
    EXPECT_EQ(ChooseStartup(true, "/x/Lib.vek", dir.path()).kind, StartupChoice::Kind::Server);
}

TEST(StartupChoice, StatusBarDateAndWeekday)
{
    const QDateTime sunday(QDate(2026, 12, 13), QTime(9, 5, 7));
    EXPECT_EQ(StatusDateText(sunday), "2026年12月13日 09:05:07");
    EXPECT_EQ(WeekdayText(sunday), " 星期天");
    EXPECT_EQ(WeekdayText(sunday.addDays(1)), " 星期一");
    EXPECT_EQ(WeekdayText(sunday.addDays(6)), " 星期六");
}
