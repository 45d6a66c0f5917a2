#include "catalog/ui/TreeViewFixture.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

using namespace vek;
using namespace vek::test;

class TreeDialogs : public TreeViewTest {};

TEST_P(TreeDialogs, OrderDialogSwapsAndStores)
{
    select(grid);
    onModal([](QDialog *dlg) {
        auto *list = dlg->findChild<QListWidget *>("orderList");
        auto *up = dlg->findChild<QPushButton *>("btnUp");
        auto *down = dlg->findChild<QPushButton *>("btnDown");
        EXPECT_EQ(dlg->windowTitle(), "调整顺序");
        EXPECT_EQ(list->count(), 2);
        EXPECT_EQ(list->currentRow(), 0) << "the selected node";
        EXPECT_FALSE(up->isEnabled()) << "no neighbour above";
        click(down);
        EXPECT_EQ(list->item(1)->text(), "成绩");
        EXPECT_FALSE(down->isEnabled());
        click(dlg->findChild<QPushButton *>("btnOk"));
    });
    action("actOrder")->trigger();
    EXPECT_FALSE(QApplication::activeModalWidget());
    QTreeWidgetItem *d = item(dir);
    ASSERT_EQ(d->childCount(), 2);
    EXPECT_EQ(d->child(0)->text(0), "学生档案") << "rebuilt in the new order";
    EXPECT_EQ(d->child(1)->text(0), "成绩");
}

TEST_P(TreeDialogs, ExternalResourceDialog)
{
    select(dir);
    onModal([](QDialog *dlg) {
        EXPECT_EQ(dlg->windowTitle(), "添加应用程序或网络资源");
        dlg->findChild<QLineEdit *>("editTitle")->setText("主页");
        dlg->findChild<QLineEdit *>("editAddress")->setText("www.example.org");
        click(dlg->findChild<QPushButton *>("btnOk"));
    });
    action("actAddExternal")->trigger();
    QTreeWidgetItem *added = tree()->currentItem();
    ASSERT_TRUE(added);
    EXPECT_EQ(added->text(0), "主页");
    EXPECT_EQ(added->parent(), item(dir));
    EXPECT_EQ(tree()->nodeOf(added).picture, Picture::Web);

    // The same title again: warned, nothing added.
    onModal([](QDialog *dlg) {
        dlg->findChild<QLineEdit *>("editTitle")->setText("主页");
        dlg->findChild<QLineEdit *>("editAddress")->setText("http://other.org");
        click(dlg->findChild<QPushButton *>("btnOk"));
    });
    action("actAddExternal")->trigger();
    EXPECT_EQ(prompter.lastText(), "已存在相同应用程序名,请检查!");
    EXPECT_EQ(item(dir)->childCount(), 3);

    // Editing keeps the title and changes the address.
    tree()->setCurrentItem(added);
    onModal([](QDialog *dlg) {
        EXPECT_EQ(dlg->windowTitle(), "修改应用程序或网络资源");
        auto *title = dlg->findChild<QLineEdit *>("editTitle");
        EXPECT_TRUE(title->isReadOnly());
        EXPECT_EQ(title->text(), "主页");
        auto *address = dlg->findChild<QLineEdit *>("editAddress");
        EXPECT_EQ(address->text(), "www.example.org");
        address->setText("http://new.org");
        click(dlg->findChild<QPushButton *>("btnOk"));
    });
    action("actEditExternal")->trigger();
    EXPECT_EQ(Query::scalar(db(), "SELECT ExeFileName FROM usys_system WHERE AppTitle = '主页'").toString(),
              "http://new.org");

    TfrmToolAdd fresh(TfrmToolAdd::Mode::New);
    fresh.applyChosenFile("/opt/tools/report.tar.gz");
    EXPECT_EQ(fresh.title(), "report.tar");
    EXPECT_EQ(fresh.address(), "/opt/tools/report.tar.gz");
    fresh.setValues("留下", {});
    fresh.applyChosenFile("/opt/x.sh");
    EXPECT_EQ(fresh.title(), "留下") << "a typed title stays";
}

TEST_P(TreeDialogs, IconMenusStorePicturesByTitle)
{
    OutlookBar *bar = view->outlookBar();
    ASSERT_EQ(bar->buttonIconMenu()->actions().size(), kOutlookPictureCount);
    QToolButton *button = nullptr;
    for (QToolButton *b : bar->buttons()) {
        if (b->property("title").toString() == "成绩")
            button = b;
    }
    ASSERT_TRUE(button);
    bar->setIconTarget(button);
    bar->buttonIconMenu()->actions().at(12)->trigger();
    EXPECT_EQ(button->property("picture").toInt(), 12);
    EXPECT_EQ(Query::scalar(db(), "SELECT IconIndex FROM usys_system WHERE id = :HostI", {{":HostI", grid}}).toInt(), 12);

    bar->setIconTargetGroup(0);
    EXPECT_EQ(bar->groupIconMenu()->actions().at(5)->text(), "5");
    bar->groupIconMenu()->actions().at(5)->trigger();
    EXPECT_EQ(Query::scalar(db(), "SELECT IconIndex FROM usys_system WHERE id = :HostI", {{":HostI", dir}}).toInt(), 5);
    view->rebuild();
    EXPECT_EQ(view->model().groups[0].picture, 5);
}

TEST_P(TreeDialogs, StylesTickOneItemAndPersist)
{
    view->rebuild();
    QMenu *styles = view->styleMenu();
    auto styleAction = [&](const char *name) { return styles->findChild<QAction *>(name); };
    EXPECT_TRUE(styleAction("styleOutlook")->isChecked());
    EXPECT_EQ(view->outlookPreset(), 2);

    styleAction("style2000")->trigger();
    EXPECT_EQ(view->outlookPreset(), 9);
    EXPECT_EQ(view->tickedStyle(), 1);
    EXPECT_FALSE(styleAction("styleOutlook")->isChecked());

    // The resource menu's copies carry their own presets and tick the style menu.
    view->resourceMenu()->findChild<QAction *>("actStyleOutlook1")->trigger();
    EXPECT_EQ(view->outlookPreset(), 3);
    EXPECT_TRUE(styleAction("styleOutlook")->isChecked());
    view->resourceMenu()->findChild<QAction *>("actStyleXP1")->trigger();
    EXPECT_EQ(view->outlookPreset(), 10);
    view->saveStyle(*ini);
    EXPECT_EQ(ini->value("Outlook", "style"), "2");

    styleAction("styleTree")->trigger();
    EXPECT_TRUE(view->treeViewShown());
    EXPECT_EQ(view->tickedStyle(), -1);
    view->saveStyle(*ini);
    EXPECT_EQ(ini->value("Outlook", "style"), "2") << "树型窗口 writes nothing";

    view->rebuild();
    EXPECT_TRUE(styleAction("styleXP")->isChecked());
    EXPECT_EQ(view->outlookPreset(), 10);
}

TEST_P(TreeDialogs, PropertiesOfAFormChildAreTheForms)
{
    QList<ResourceProperties> got;
    QObject::connect(view.get(), &ResourceTreeView::propertiesRequested,
                     [&](const ResourceProperties &p) { got << p; });
    select(dir);
    EXPECT_FALSE(action("actProperties")->isEnabled());
    tree()->expandAll();
    tree()->setCurrentItem(item(form)->child(0));
    ASSERT_TRUE(action("actProperties")->isEnabled());
    action("actProperties")->trigger();
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0].id, form);
    EXPECT_EQ(got[0].firstTable, "学生");
}

VEK_BOTH_ENGINES(TreeDialogs);
