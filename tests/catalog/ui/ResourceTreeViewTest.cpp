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

class TreeView : public TreeViewTest {};

TEST_P(TreeView, RendersTreeOutlookAndMenuFromOneWalk)
{
    EXPECT_EQ(tree()->headerItem()->text(0), "资源列表");
    EXPECT_EQ(topLevelTexts(tree()), (QStringList{"教务", "课表", "其他"}));
    QTreeWidgetItem *f = item(form);
    ASSERT_TRUE(f);
    ASSERT_EQ(f->childCount(), 2);
    EXPECT_EQ(f->child(1)->text(0), "学生档案列表");
    EXPECT_FALSE(f->icon(0).isNull());
    EXPECT_EQ(ctx->shownResourceTitles, (QStringList{"成绩", "学生档案", "课表"}));

    OutlookBar *bar = view->outlookBar();
    ASSERT_EQ(bar->count(), 3);
    EXPECT_EQ(bar->itemText(0), "教务");
    EXPECT_EQ(bar->itemText(1), "其他");
    EXPECT_EQ(bar->itemText(2), "系统管理");
    QStringList firstGroup;
    for (QToolButton *b : bar->widget(0)->findChildren<QToolButton *>("outlookButton"))
        firstGroup << b->text();
    EXPECT_EQ(firstGroup, (QStringList{"成绩", "学生档案", "课表"})) << "课表 lands in the group created last";
    view->rebuild();
    EXPECT_FALSE(view->treeViewShown()) << "the outlook bar is in front after a build";

    // Fixed leading items, one item per top-level entry with its accelerator, 帮助 last.
    QMenu *menu = view->resourceMenu();
    EXPECT_EQ(actionTexts(menu), (QStringList{"文件(&F)", "编辑(&E)", "教务(&T)", "课表(&U)", "其他(&V)", "帮助(&H)"}));
    QMenu *file = menu->findChild<QMenu *>("mnuFile1");
    ASSERT_TRUE(file);
    EXPECT_EQ(actionTexts(file).mid(0, 5), (QStringList{"打开", "关闭", "—", "管理模式", "树型窗口"}));
    QMenu *style = file->findChild<QMenu *>("mnuStyle1");
    ASSERT_TRUE(style);
    EXPECT_EQ(actionTexts(style), (QStringList{"Outlook风格", "2000风格", "XP风格", "—", "显示背景图片", "设置背景图片"}));
    QMenu *help = menu->findChild<QMenu *>("mnuHelp1");
    ASSERT_TRUE(help);
    EXPECT_EQ(actionTexts(help), (QStringList{"帮助", "技术支持(&T)", "浏览器", "—", "关于(&A)"}));

    // A data form's item is a submenu whose items open it.
    QMenu *formMenu = menu->findChild<QMenu *>("Menu3");
    ASSERT_TRUE(formMenu);
    EXPECT_EQ(actionTexts(formMenu), (QStringList{"学生档案", "学生档案", "学生档案列表"}));
    formMenu->actions().at(2)->trigger();
    QAction *gridItem = menu->findChild<QAction *>("Menu2");
    ASSERT_TRUE(gridItem);
    gridItem->trigger();
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0].id, form);
    EXPECT_EQ(opened[0].title, "学生档案列表");
    EXPECT_EQ(opened[0].picture, Picture::List);
    EXPECT_EQ(opened[1].id, grid);
    EXPECT_EQ(opened[1].picture, Picture::Grid);

    // A rebuild does not leave the old submenus behind.
    view->rebuild();
    EXPECT_EQ(menu->findChildren<QMenu *>("Menu3").size(), 1);

    // With the library closed the views are empty, and nothing is reported.
    db().close();
    view->rebuild();
    EXPECT_EQ(tree()->topLevelItemCount(), 0);
    EXPECT_EQ(bar->count(), 0);
    EXPECT_TRUE(menu->actions().isEmpty());
    EXPECT_TRUE(ctx->shownResourceTitles.isEmpty());
    EXPECT_TRUE(prompter.shown().isEmpty());
}

TEST_P(TreeView, FixedItemsTriggerTheMainWindowsActions)
{
    QAction open("打开");
    open.setObjectName("actOpen");
    int opens = 0;
    QObject::connect(&open, &QAction::triggered, [&] { ++opens; });
    view->setTemplateActions({&open});
    QStringList placeholders;
    QObject::connect(view.get(), &ResourceTreeView::fixedItemTriggered, [&](const QString &n) { placeholders << n; });
    view->rebuild();

    QAction *copy = view->resourceMenu()->findChild<QAction *>("actOpen1");
    ASSERT_TRUE(copy);
    open.setEnabled(true);
    copy->trigger();
    EXPECT_EQ(opens, 1);
    QAction *exit = view->resourceMenu()->findChild<QAction *>("actExit1");
    ASSERT_TRUE(exit);
    EXPECT_EQ(exit->text(), "退出");
    exit->trigger();
    EXPECT_EQ(placeholders, QStringList{"actExit"});
    EXPECT_EQ(opens, 1);
}

TEST_P(TreeView, OpensByDoubleClickAndModulesBySingleClick)
{
    tree()->expandAll();
    QWidget *vp = tree()->viewport();
    const QPoint g = centre(item(grid));
    sendMouse(vp, QEvent::MouseButtonPress, g);
    sendMouse(vp, QEvent::MouseButtonRelease, g);
    EXPECT_TRUE(opened.isEmpty()) << "a grid opens at a double click";
    sendMouse(vp, QEvent::MouseButtonDblClick, g);
    sendMouse(vp, QEvent::MouseButtonRelease, g);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].id, grid);

    QTreeWidgetItem *module = tree()->topLevelItem(1);
    const QPoint m = centre(module);
    sendMouse(vp, QEvent::MouseButtonPress, m);
    sendMouse(vp, QEvent::MouseButtonRelease, m);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[1].title, "课表");
    EXPECT_EQ(opened[1].picture, Picture::Module);
}

TEST_P(TreeView, DeleteAsksAndNoLeavesRowAndNode)
{
    select(grid);
    prompter.answerNext(Prompter::Answer::No);
    action("actDelete")->trigger();
    EXPECT_EQ(prompter.lastText(), "是否确定要删除数据表格:[成绩]?");
    EXPECT_TRUE(item(grid));
    EXPECT_EQ(titleOf(grid), "成绩");
    EXPECT_FALSE(view->treeChanged());

    prompter.answerNext(Prompter::Answer::Yes);
    action("actDelete")->trigger();
    EXPECT_FALSE(item(grid));
    EXPECT_EQ(titleOf(grid), "");
    EXPECT_EQ(logged, QStringList{"删除:成绩"});
    EXPECT_TRUE(view->treeChanged());

    select(dir);
    prompter.clear();
    action("actDelete")->trigger();
    EXPECT_EQ(prompter.lastText(), "该结点包含子结点，请先删除其子结点后，再对其进行删除！");
    EXPECT_TRUE(item(dir));
}

TEST_P(TreeView, NewDirectoriesAppearWhereTheirRowIs)
{
    select(grid);
    action("actNewSubDir")->trigger();
    QTreeWidgetItem *created = tree()->currentItem();
    ASSERT_TRUE(created);
    EXPECT_EQ(created->text(0), "新目录");
    EXPECT_EQ(created->parent(), item(dir)) << "beside the selected grid, in its directory";
    const NodeRef n = tree()->nodeOf(created);
    EXPECT_EQ(Query::scalar(db(), "SELECT parent FROM usys_system WHERE id = :HostI", {{":HostI", n.id}}).toString(),
              "1");

    action("actNewMainDir")->trigger();
    EXPECT_EQ(tree()->topLevelItemCount(), 4);
    EXPECT_TRUE(view->treeChanged());

    // The tree switch rebuilds first when the tree changed, and shows the same rows.
    view->chooseStyle(0, 2);
    view->toggleTreeView();
    EXPECT_TRUE(view->treeViewShown());
    EXPECT_FALSE(view->treeChanged());
    EXPECT_EQ(topLevelTexts(tree()).first(), "新目录") << "a new main directory has dispID 0";
    view->toggleTreeView();
    EXPECT_FALSE(view->treeViewShown());
}

TEST_P(TreeView, OrdinaryUserCanNeitherEditNorDrag)
{
    loginAs("zhang", 1);
    Query::run(db(), "UPDATE usys_system SET ShareFlag = :HostT", {{":HostT", true}});
    view->rebuild();
    select(grid);
    for (const char *name : {"actNewMainDir", "actNewSubDir", "actRename", "actDelete", "actOrder", "actAddExternal"})
        EXPECT_FALSE(action(name)->isEnabled()) << name;
    const int rows = rowCount();
    // The commands refuse even when called directly.
    view->newMainDirectory();
    view->newSubDirectory();
    view->deleteSelected();
    view->startRename();
    EXPECT_FALSE(tree()->findChild<QLineEdit *>());
    EXPECT_EQ(rowCount(), rows);
    EXPECT_EQ(tree()->dragDropMode(), QAbstractItemView::NoDragDrop);
    EXPECT_TRUE(view->outlookBar()->buttonIconMenu()->actions().isEmpty());
    EXPECT_TRUE(view->outlookBar()->groupIconMenu()->actions().isEmpty());
    EXPECT_FALSE(tree()->dropOn(item(grid), tree()->topLevelItem(2)));
    EXPECT_EQ(item(grid)->parent(), item(dir));
    EXPECT_TRUE(prompter.shown().isEmpty());
}

TEST_P(TreeView, InlineRenameStoresOrRestores)
{
    addRow(db(), {"5", "6", "教师", "1", "t"});
    view->rebuild();
    select(grid);
    action("actRename")->trigger();
    auto *editor = tree()->findChild<QLineEdit *>();
    ASSERT_TRUE(editor);
    editor->setText("成绩单");
    pressReturn(editor);
    EXPECT_EQ(item(grid)->text(0), "成绩单");
    EXPECT_EQ(titleOf(grid), "成绩单");
    EXPECT_TRUE(view->treeChanged());
    EXPECT_FALSE(item(grid)->flags() & Qt::ItemIsEditable) << "read-only again";

    action("actRename")->trigger();
    editor = tree()->findChild<QLineEdit *>();
    ASSERT_TRUE(editor);
    editor->setText("教师");
    pressReturn(editor);
    EXPECT_EQ(prompter.lastText(), "应用已经存在,修改错误!");
    EXPECT_EQ(item(grid)->text(0), "成绩单") << "old text restored";
    EXPECT_EQ(titleOf(grid), "成绩单");
}

TEST_P(TreeView, DropMovesOnlyWhatTheCatalogTook)
{
    select(grid);
    EXPECT_EQ(tree()->dragDropMode(), QAbstractItemView::InternalMove);
    // Onto a data form: refused without a question.
    EXPECT_FALSE(tree()->dropAt(centre(item(form))));
    EXPECT_TRUE(prompter.shown().isEmpty());
    EXPECT_EQ(item(grid)->parent(), item(dir));

    prompter.answerNext(Prompter::Answer::No);
    EXPECT_FALSE(tree()->dropAt(centre(item(other))));
    EXPECT_EQ(prompter.lastText(), "是否确认要移动该节点?");
    EXPECT_EQ(item(grid)->parent(), item(dir));
    EXPECT_FALSE(view->treeChanged());

    prompter.answerNext(Prompter::Answer::Yes);
    EXPECT_TRUE(tree()->dropAt(centre(item(other))));
    EXPECT_EQ(item(grid)->parent(), item(other));
    EXPECT_EQ(Query::scalar(db(), "SELECT parent FROM usys_system WHERE id = :HostI", {{":HostI", grid}}).toString(),
              "5");
    EXPECT_TRUE(view->treeChanged());
}

VEK_BOTH_ENGINES(TreeView);
