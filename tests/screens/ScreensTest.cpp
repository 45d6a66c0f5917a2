#include "app/CurrentResource.h"
#include "app/ui/ResourceOpener.h"
#include "app/ui/ResourceShell.h"
#include "app/ui/TfrmMain.h"
#include "app/ui/TfrmSysSet.h"
#include "catalog/LibraryFile.h"
#include "catalog/ui/ResourceTreeView.h"
#include "catalog/ui/TfrmConnectdb.h"
#include "catalog/ui/TfrmOrder.h"
#include "grid/ui/ClassificationPane.h"
#include "grid/ui/TfrmDBGrid.h"
#include "platform/Query.h"
#include "security/ui/TfrmLogin.h"
#include "support/DemoFixture.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <gtest/gtest.h>

using namespace vek;

namespace {

// Renders a window to build/screens/<name>.png and checks that it drew something.
void render(QWidget &w, const QString &name)
{
    w.show();
    QApplication::processEvents();
    QDir().mkpath(VEK_SCREENS_DIR);
    const QString path = QDir(VEK_SCREENS_DIR).filePath(name + ".png");
    const QPixmap shot = w.grab();
    ASSERT_FALSE(shot.isNull());
    ASSERT_TRUE(shot.save(path)) << path.toStdString();
    const QImage img = shot.toImage();
    // A blank image has one colour: a window that drew nothing would pass otherwise.
    const QRgb first = img.pixel(img.width() / 2, img.height() / 2);
    bool varied = false;
    for (int y = 0; y < img.height() && !varied; y += 7)
        for (int x = 0; x < img.width() && !varied; x += 7)
            varied = img.pixel(x, y) != first;
    EXPECT_TRUE(varied) << name.toStdString();
}

} // namespace

TEST(Screens, MainWindowAfterLogin)
{
    test::DemoFixture f;
    TfrmMain::Options o;
    o.autoStart = false;
    TfrmMain main(*f.ctx, o);
    main.resize(1100, 720);
    main.shell().setUnattendedLogin("admin", "admin");
    ASSERT_TRUE(main.shell().openLibraryFile(f.libraryPath()));
    main.setStyleIndex(3);
    render(main, "main-tree");
    main.setStyleIndex(0);
    render(main, "main-outlook");
    ResourceTreeView *tree = main.shell().treeView();
    ASSERT_FALSE(tree->model().roots.isEmpty());
    TfrmOrder order(tree->ops(), tree->model().roots.first().ref, &main);
    render(order, "order");
    f.prompter.answerNext(Prompter::Answer::Yes);
}

TEST(Screens, LoginDialog)
{
    test::DemoFixture f;
    ASSERT_TRUE(OpenLibraryFile(f.db, f.libraryPath(), f.prompter));
    TfrmLogin dlg(*f.ctx);
    render(dlg, "login");
}

TEST(Screens, SettingsAndConnectionDialogs)
{
    test::DemoFixture f;
    ASSERT_TRUE(OpenLibraryFile(f.db, f.libraryPath(), f.prompter));
    f.ctx->user = CurrentUser{"admin", 0, {}, false};
    TfrmSysSet settings(*f.ctx, f.dir.path());
    render(settings, "settings");
    TfrmConnectdb connect(f.db, *f.ini, f.prompter, {true, true});
    render(connect, "connect");
}

TEST(Screens, GridApplication)
{
    test::DemoFixture f;
    f.ini->setInt("学生档案", "CalcFieldCount", 1);
    f.ini->setValue("学生档案", "CalcField0", "年龄:now-出生日期");
    TfrmMain::Options o;
    o.autoStart = false;
    TfrmMain main(*f.ctx, o);
    main.resize(1280, 760);
    main.shell().setUnattendedLogin("admin", "admin");
    ASSERT_TRUE(main.shell().openLibraryFile(f.libraryPath()));
    main.setStyleIndex(3);
    TfrmDBGrid *grid = main.shell().opener().openGrid(LoadCurrentResource(
        *f.ctx, Query::scalar(f.db, "SELECT id FROM usys_system WHERE AppTitle = :HostT", {{":HostT", QStringLiteral("学生档案")}}).toInt()));
    ASSERT_NE(grid, nullptr) << f.prompter.texts().join("\n").toStdString();
    grid->toggleFindBar();
    render(main, "grid");
    grid->toggleRetrieval();
    render(main, "grid-retrieval");

    TfrmDBGrid *school = main.shell().opener().openGrid(LoadCurrentResource(
        *f.ctx, Query::scalar(f.db, "SELECT id FROM usys_system WHERE AppTitle = :HostT", {{":HostT", QStringLiteral("学生升级")}}).toInt()));
    ASSERT_NE(school, nullptr) << f.prompter.texts().join("\n").toStdString();
    ASSERT_FALSE(school->classification()->rootNode().children.isEmpty());
    school->classification()->selectValue({school->classification()->rootNode().children.first().value});
    render(main, "grid-school");
    f.prompter.answerNext(Prompter::Answer::Yes);
}
