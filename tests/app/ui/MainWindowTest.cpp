#include "app/ui/MainMenus.h"
#include "app/ui/ResourcePanel.h"
#include "app/ui/ResourceShell.h"
#include "app/ui/TfrmMain.h"
#include "catalog/Catalog.h"
#include "catalog/ResourceTree.h"
#include "grid/ui/TfrmDBGrid.h"
#include "platform/Query.h"
#include "support/DemoFixture.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTimer>

using namespace vek;

namespace {

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        TfrmMain::Options o;
        o.autoStart = false;
        main = std::make_unique<TfrmMain>(*f.ctx, o);
    }
    void TearDown() override
    {
        // Closing asks; the tests that do not close answer nothing.
        main.reset();
    }
    bool openAs(const QString &user, const QString &password)
    {
        main->shell().setUnattendedLogin(user, password);
        return main->shell().openLibraryFile(f.libraryPath());
    }
    bool enabled(const char *name) { return main->action(name)->isEnabled(); }
    int count(const QString &sql, Binds binds = {}) { return Query::scalar(f.db, sql, binds).toInt(); }

    test::DemoFixture f;
    std::unique_ptr<TfrmMain> main;
};

} // namespace

TEST_F(MainWindow, StartsWithoutALibrary)
{
    EXPECT_EQ(main->windowTitle(), DefaultAppTitle());
    EXPECT_EQ(main->statusText(2), "        用户未登录");
    EXPECT_EQ(main->statusText(1), "请选择要打开的资源库!");
    EXPECT_EQ(main->statusText(4), "2026年12月11日 09:30:00");
    EXPECT_EQ(main->statusText(5), " 星期五");
    EXPECT_TRUE(enabled("actOpen"));
    EXPECT_TRUE(enabled("actNewLibrary"));
    EXPECT_FALSE(enabled("actCloseLibrary"));
    EXPECT_FALSE(enabled("actLock"));
    EXPECT_FALSE(enabled("actSysSet"));
    EXPECT_TRUE(main->resourcePanel()->isCollapsed());
}

TEST_F(MainWindow, OpeningTheLibraryLogsInAndClosingResetsTheShell)
{
    ASSERT_TRUE(openAs("admin", "admin"));
    EXPECT_EQ(main->windowTitle(), "育英学校信息管理");
    EXPECT_EQ(main->statusText(2), "        admin");
    EXPECT_EQ(main->statusText(1), "欢迎使用本系统!");
    EXPECT_FALSE(enabled("actOpen"));
    EXPECT_FALSE(enabled("actNewLibrary"));
    EXPECT_TRUE(enabled("actCloseLibrary"));
    EXPECT_TRUE(enabled("actSysSet"));
    EXPECT_TRUE(enabled("actNewMainDir"));
    EXPECT_FALSE(main->resourcePanel()->isCollapsed());
    EXPECT_EQ(count("SELECT count(*) FROM usys_log WHERE 类型 = '进入' AND 用户 = 'admin'"), 1);
    EXPECT_EQ(count("SELECT count(*) FROM usys_log WHERE 类型 = '重新登录'"), 1);
    EXPECT_EQ(count("SELECT 登录次数 FROM usys_online WHERE 用户 = 'admin' AND 计算机名称 = 'office-pc'"), 1);

    // No keeps the library open.
    f.prompter.answerNext(Prompter::Answer::No);
    EXPECT_FALSE(main->shell().closeLibrary(true));
    EXPECT_TRUE(f.db.isOpen());

    f.prompter.answerNext(Prompter::Answer::Yes);
    // The online row is read before the connection goes.
    EXPECT_TRUE(main->shell().closeLibrary(true));
    EXPECT_EQ(f.prompter.shown().last().text, "是否关闭当前资源库?");
    EXPECT_EQ(main->windowTitle(), DefaultAppTitle());
    EXPECT_EQ(main->statusText(2), "        用户未登录");
    EXPECT_FALSE(f.db.isOpen());
    EXPECT_TRUE(enabled("actOpen"));
    EXPECT_FALSE(enabled("actCloseLibrary"));
    EXPECT_FALSE(enabled("actLock"));
    EXPECT_FALSE(enabled("actRelogin"));

    f.db.openSqliteFile(f.libraryPath());
    EXPECT_EQ(count("SELECT count(*) FROM usys_online WHERE 用户 = 'admin' AND 在线情况 = 0"), 1) << "marked offline";
}

TEST_F(MainWindow, ClosingTheLibraryWithAPendingEditPostsItOrKeepsTheLibrary)
{
    ASSERT_TRUE(openAs("admin", "admin"));
    const int id = count("SELECT id FROM usys_system WHERE AppTitle = :HostT", {{":HostT", QStringLiteral("学生档案")}});
    main->shell().openResource(id, QStringLiteral("学生档案"), Picture::Grid);
    ASSERT_EQ(main->mdiArea()->subWindowList().size(), 1);
    auto *grid = qobject_cast<TfrmDBGrid *>(main->mdiArea()->subWindowList().first()->widget());
    ASSERT_NE(grid, nullptr);
    RecordSet &rs = grid->session().records();
    const QVariant key = rs.keyAt(1);
    const QString other = rs.valueAt(0, "编号").toString();

    // A refused edit the user keeps keeps the window and the library.
    GridViewModel &m = grid->session().model();
    m.setEditable(true);
    ASSERT_TRUE(m.setData(m.index(1, m.columnOf("编号")), other));
    f.prompter.answerNext(Prompter::Answer::Yes); // close the library
    f.prompter.answerNext(Prompter::Answer::No);  // do not give the edit up
    EXPECT_FALSE(main->shell().closeLibrary(true));
    EXPECT_TRUE(f.db.isOpen());
    EXPECT_EQ(main->mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(rs.value("编号").toString(), other);

    // A good edit is saved on the way out.
    ASSERT_TRUE(m.setData(m.index(1, m.columnOf("编号")), "G-0001"));
    ASSERT_TRUE(m.setData(m.index(1, m.columnOf("姓名")), QStringLiteral("离开前改的")));
    f.prompter.answerNext(Prompter::Answer::Yes);
    EXPECT_TRUE(main->shell().closeLibrary(true));
    EXPECT_TRUE(main->mdiArea()->subWindowList().isEmpty());
    f.db.openSqliteFile(f.libraryPath());
    EXPECT_EQ(Query::scalar(f.db, "SELECT 姓名 FROM 学生档案 WHERE rowid = :HostK", {{":HostK", key}}).toString(),
              QStringLiteral("离开前改的"));
}

TEST_F(MainWindow, AFailedLoginLeavesNoLibraryOpen)
{
    EXPECT_FALSE(openAs("admin", "wrong"));
    EXPECT_FALSE(f.db.isOpen());
    EXPECT_EQ(main->statusText(2), "        用户未登录");
    EXPECT_EQ(main->windowTitle(), DefaultAppTitle());
}

TEST_F(MainWindow, AnOrdinaryUserGetsNoSystemCommandsByAnyRoute)
{
    ASSERT_TRUE(openAs("teacher", "teacher"));
    EXPECT_EQ(f.ctx->user.level, 1);
    EXPECT_FALSE(enabled("actSysSet"));
    EXPECT_FALSE(enabled("actNewMainDir"));
    EXPECT_FALSE(enabled("actDataTables"));
    EXPECT_TRUE(enabled("actChangePassword"));
    // The commands check for themselves, whatever calls them.
    main->shell().systemSettings();
    EXPECT_EQ(f.prompter.lastText(), "您没有权利使用本模块或打开发生错误,请与管理员联系！");
    f.prompter.clear();
    main->shell().toggleDataTables();
    EXPECT_EQ(f.prompter.lastText(), "您没有权利使用本模块或打开发生错误,请与管理员联系！");
}

TEST_F(MainWindow, TheExitQuestionCanKeepTheWindow)
{
    main->show();
    f.prompter.answerNext(Prompter::Answer::No);
    EXPECT_FALSE(main->close());
    EXPECT_EQ(f.prompter.lastText(), "是否确定退出应用?");
    EXPECT_TRUE(main->isVisible());
    f.prompter.answerNext(Prompter::Answer::Yes);
    EXPECT_TRUE(main->close());
}

TEST_F(MainWindow, PanelMenusAndInsertCommands)
{
    ASSERT_TRUE(openAs("admin", "admin"));
    main->show();
    ResourcePanel *panel = main->resourcePanel();
    main->action("actFormList")->trigger();
    EXPECT_TRUE(panel->isCollapsed());
    main->action("actFormList")->trigger();
    EXPECT_FALSE(panel->isCollapsed());

    QMenuBar *system = main->menus().systemMenuBar();
    EXPECT_TRUE(system->isHidden());
    main->action("actMenuManage")->trigger();
    EXPECT_FALSE(system->isHidden() && !main->resourceMenuAttached()) << "one of the two menus shows";

    auto *edit = new QLineEdit(main.get());
    edit->show();
    edit->setFocus();
    QApplication::setActiveWindow(main.get());
    QApplication::processEvents();
    if (QApplication::focusWidget() != edit)
        GTEST_SKIP() << "offscreen platform gave no focus";
    main->action("actInsertDate")->trigger();
    EXPECT_EQ(edit->text(), "2026-12-11");
}

TEST_F(MainWindow, AHiddenResourceCannotBeOpenedByAnyRoute)
{
    ASSERT_TRUE(openAs("guest", "guest"));
    EXPECT_EQ(f.ctx->user.level, 2);
    EXPECT_FALSE(f.ctx->shownResourceTitles.contains("学校网站"));
    EXPECT_TRUE(f.ctx->shownResourceTitles.contains("学生档案"));
    const int id = Query::scalar(f.db, "SELECT id FROM usys_system WHERE AppTitle = '学校网站'").toInt();
    main->shell().openByTitle("学校网站");
    EXPECT_EQ(f.prompter.lastText(), "您没有权利使用本模块或打开发生错误,请与管理员联系！");
    f.prompter.clear();
    main->shell().openResource(id, "学校网站", 3);
    EXPECT_EQ(f.prompter.lastText(), "您没有权利使用本模块或打开发生错误,请与管理员联系！");
    f.prompter.clear();
    main->shell().openByTitle("考试成绩");
    EXPECT_EQ(f.prompter.lastText(), "您没有权利使用本模块或打开发生错误,请与管理员联系！")
        << "a module the tree did not show";
}

TEST_F(MainWindow, BuiltInTitlesWithoutTheirWindowSaySo)
{
    ASSERT_TRUE(openAs("admin", "admin"));
    main->shell().openByTitle("考试成绩");
    EXPECT_EQ(f.prompter.lastText(), "模块“考试成绩”在本资源库中不可用。");
    const int id = Query::scalar(f.db, "SELECT id FROM usys_system WHERE AppTitle = '学生档案'").toInt();
    main->shell().openResource(id, "学生档案", 3);
    EXPECT_EQ(count("SELECT count(*) FROM usys_log WHERE 类型 = '进入' AND 应用名称 = '学生档案'"), 1);
}

TEST_F(MainWindow, ReloginLogsAndCountsTheLogins)
{
    ASSERT_TRUE(openAs("admin", "admin"));
    ASSERT_TRUE(main->shell().relogin());
    EXPECT_EQ(count("SELECT count(*) FROM usys_log WHERE 类型 = '重新登录'"), 2);
    EXPECT_EQ(count("SELECT count(*) FROM usys_log WHERE 类型 = '进入' AND (应用名称 IS NULL OR 应用名称 = '')"), 2);
    EXPECT_EQ(count("SELECT 登录次数 FROM usys_online WHERE 用户 = 'admin'"), 2);
    EXPECT_EQ(count("SELECT count(*) FROM usys_online WHERE 用户 = 'admin' AND 在线情况 = :HostOn", {{":HostOn", true}}), 1);
}

TEST_F(MainWindow, MessageCheckRunsWhileLoggedInAndLeavingMarksOffline)
{
    EXPECT_FALSE(main->messageTimer()->isActive());
    ASSERT_TRUE(openAs("admin", "admin"));
    EXPECT_TRUE(main->messageTimer()->isActive());
    Query::run(f.db, "INSERT INTO usys_inform1 (ID, UserName, AlreadyRead) VALUES (1, 'ADMIN', :HostNo)", {{":HostNo", false}});
    main->checkMessages();
    EXPECT_EQ(main->statusText(1), "您有新的消息，请查看!");
    EXPECT_EQ(main->messageTimer()->interval(), 5000) << "Message/Time seconds after the first tick";
    ASSERT_TRUE(f.ini->setValue("Message", "Time", "0"));
    main->checkMessages();
    EXPECT_FALSE(main->messageTimer()->isActive()) << "0 stops the check";

    main.reset(); // the program ends with the library open
    EXPECT_EQ(count("SELECT count(*) FROM usys_online WHERE 用户 = 'admin' AND 在线情况 = :HostOff", {{":HostOff", false}}), 1);
}
