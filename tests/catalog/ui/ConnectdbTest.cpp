#include "catalog/Catalog.h"
#include "catalog/ui/TfrmConnectdb.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "platform/Query.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>

using namespace vek;

TEST(Connectdb, ServerWithEstablishGetsTheCatalogAndIsRemembered)
{
    if (!test::serverAvailable())
        GTEST_SKIP() << "*** no PostgreSQL test cluster (run ./test.sh): server-mode test skipped ***";
    test::TestDatabase target(Engine::Postgres);
    target.db().close();
    QTemporaryDir dir;
    IniFile ini(QDir(dir.path()).filePath("vek2000.Ini"));
    TDModule db;
    ScriptedPrompter prompter;
    TfrmConnectdb dlg(db, ini, prompter, {false, true});
    EXPECT_EQ(dlg.windowTitle(), "用户登录");
    auto *driver = dlg.findChild<QComboBox *>("connectDriver");
    EXPECT_FALSE(driver->isEnabled()) << "outside browse mode the server is fixed";
    const ServerParams p = test::serverParams(target.serverDatabase());
    dlg.findChild<QLineEdit *>("connectServer")->setText(QString("%1:%2").arg(p.host).arg(p.port));
    dlg.findChild<QLineEdit *>("connectDatabase")->setText(p.database);
    dlg.findChild<QLineEdit *>("connectUser")->setText(p.user);
    dlg.findChild<QCheckBox *>("connectEstablish")->setChecked(true);
    ASSERT_TRUE(dlg.tryConnect()) << prompter.lastText().toStdString();
    EXPECT_TRUE(db.state().sqlServerMode);
    EXPECT_FALSE(CatalogAbsent(db));
    EXPECT_EQ(Query::scalar(db, "SELECT uid FROM usys_users").toString(), "admin");

    IniFile reread(ini.path());
    EXPECT_EQ(reread.value("DATABASE", "DATABASENAME"), p.database);
    EXPECT_EQ(reread.value("DATABASE", "ServerId"), "0");
    // The next dialog starts from what was remembered, the password field empty.
    TfrmConnectdb again(db, reread, prompter, {false, true});
    EXPECT_EQ(again.findChild<QLineEdit *>("connectDatabase")->text(), p.database);
    EXPECT_TRUE(again.findChild<QLineEdit *>("connectPassword")->text().isEmpty());
    db.close();
}

TEST(Connectdb, AFailureIsShownAndTheDialogStays)
{
    QTemporaryDir dir;
    IniFile ini(QDir(dir.path()).filePath("vek2000.Ini"));
    TDModule db;
    ScriptedPrompter prompter;
    TfrmConnectdb dlg(db, ini, prompter, {true, false});
    auto *driver = dlg.findChild<QComboBox *>("connectDriver");
    EXPECT_TRUE(driver->isEnabled());
    driver->setCurrentIndex(1); // a database file
    dlg.findChild<QLineEdit *>("connectDatabase")->setText(QDir(dir.path()).filePath("missing.vek"));
    EXPECT_FALSE(dlg.tryConnect());
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown()[0].icon, Prompter::Icon::Error);
    EXPECT_FALSE(db.isOpen());
    EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath("missing.vek")));
    EXPECT_FALSE(ini.contains("DATABASE", "DATABASENAME")) << "only what succeeded is remembered";
}
