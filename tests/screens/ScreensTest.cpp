#include "app/ui/ResourceShell.h"
#include "app/ui/TfrmMain.h"
#include "app/ui/TfrmSysSet.h"
#include "catalog/LibraryFile.h"
#include "catalog/ui/ResourceTreeView.h"
#include "catalog/ui/TfrmConnectdb.h"
#include "catalog/ui/TfrmOrder.h"
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
