#include "app/ui/TfrmSysSet.h"
#include "catalog/Catalog.h"
#include "catalog/LibraryFile.h"
#include "platform/Query.h"
#include "support/DemoFixture.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>

using namespace vek;

TEST(SysSet, ShowsTheDefaultsAndWritesWhatTheUserChose)
{
    test::DemoFixture f;
    ASSERT_TRUE(OpenLibraryFile(f.db, f.libraryPath(), f.prompter));
    f.ctx->user = CurrentUser{"admin", 0, {}, false};
    TfrmSysSet dlg(*f.ctx, f.dir.path());
    auto *tabs = dlg.findChild<QTabWidget *>("sysSetPages");
    ASSERT_NE(tabs, nullptr);
    const QStringList pages = {"系统属性", "背景属性", "启动界面", "窗体属性", "表格属性", "颜色设置", "其他"};
    ASSERT_EQ(tabs->count(), pages.size());
    for (int i = 0; i < pages.size(); ++i)
        EXPECT_EQ(tabs->tabText(i), pages[i]);

    auto *userList = dlg.findChild<QCheckBox *>("set_vek2000_UserList");
    auto *count = dlg.findChild<QSpinBox *>("set_vek2000_LoginCount");
    auto *title = dlg.findChild<QLineEdit *>("sysSetTitle");
    ASSERT_TRUE(userList && count && title);
    EXPECT_TRUE(userList->isChecked());
    EXPECT_EQ(count->value(), 3);
    EXPECT_EQ(title->text(), "育英学校信息管理");

    userList->setChecked(false);
    count->setValue(5);
    title->setText("育英中学");
    ASSERT_TRUE(dlg.save());
    IniFile reread(f.ini->path());
    EXPECT_EQ(reread.value("vek2000", "UserList"), "0");
    EXPECT_EQ(reread.value("vek2000", "LoginCount"), "5");
    EXPECT_EQ(reread.value("vek2000", "AppTitle"), "育英中学");
    EXPECT_EQ(reread.value("Splash", "UserName"), "1") << "unchanged keys keep their defaults";
    EXPECT_FALSE(reread.value("admin", "TreeView_BColor").isEmpty()) << "per-user colours";
    EXPECT_EQ(ReadAppTitle(f.db), "育英中学");
}
