#include "catalog/TreeFixture.h"

#include <QDir>
#include <QFile>

using namespace vek;
using vek::test::Row;
using vek::test::addRow;
using vek::test::titles;

class TreeWalk : public vek::test::TreeTest {};

TEST_P(TreeWalk, WalkGivesKindsPicturesAndOrder)
{
    const QString existing = QDir(testDb().dir()).filePath("tool.sh");
    QFile f(existing);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();

    addRow(db(), {"0", "2", "学籍", {}, {}, {}, {}, false, 2});
    addRow(db(), {"0", "1", "教务", {}, {}, {}, {}, false, 1});
    addRow(db(), {"1", "3", "课程表", "3", {}, {}, {}, false, 5});
    addRow(db(), {"1", "4", "成绩", "1", "成绩表", {}, {}, false, 1});
    addRow(db(), {"1", "5", "无表格", "1", {}, {}, {}, false, 2});
    addRow(db(), {"1", "6", "旧表", {}, "旧表", {}, {}, false, 3});
    addRow(db(), {"2", "7", "主页", "2", {}, "www.example.org", {}, false, 1});
    addRow(db(), {"2", "8", "报告", "2", {}, "report.HTML", {}, false, 2});
    addRow(db(), {"2", "9", "工具", "2", {}, existing, {}, false, 3});
    addRow(db(), {"2", "A00001", "丢失", "2", {}, "/nowhere/gone.exe", {}, false, 4});

    const ResourceTreeModel m = ResourceTree::build(*ctx);
    ASSERT_EQ(titles(m.roots), (QStringList{"教务", "学籍"})) << "siblings by dispID";
    const TreeNode &jw = m.roots[0];
    EXPECT_EQ(jw.ref.picture, Picture::Directory);
    EXPECT_EQ(jw.ref.kind, NodeKind::Directory);
    ASSERT_EQ(titles(jw.children), (QStringList{"成绩", "无表格", "旧表", "课程表"}));
    EXPECT_EQ(jw.children[0].ref.picture, Picture::Grid);
    EXPECT_EQ(jw.children[1].ref.picture, Picture::Directory) << "grid without a table";
    EXPECT_EQ(jw.children[2].ref.picture, Picture::Directory) << "no flag, with a table";
    EXPECT_EQ(jw.children[2].ref.kind, NodeKind::Untyped);
    EXPECT_EQ(jw.children[3].ref.picture, Picture::Module);

    const QList<TreeNode> &ext = m.roots[1].children;
    ASSERT_EQ(ext.size(), 4);
    EXPECT_EQ(ext[0].ref.picture, Picture::Web);
    EXPECT_EQ(ext[1].ref.picture, Picture::Web) << "upper-cased extension .HTML";
    EXPECT_EQ(ext[2].ref.picture, Picture::FirstFilePicture) << "existing file: its own icon";
    EXPECT_EQ(m.filePictures, QStringList{QFileInfo(existing).absoluteFilePath()});
    EXPECT_EQ(ext[3].ref.picture, Picture::FileMissing);

    // Resources drawn like a directory are not in the list of titles reachable by name.
    EXPECT_EQ(m.shownTitles, (QStringList{"成绩", "课程表", "主页", "报告", "工具", "丢失"}));
}

TEST_P(TreeWalk, DataFormGetsItsChildrenFromTheDictionary)
{
    const int form = addRow(db(), {"0", "1", "学生档案", "0", "学生"});
    addRow(db(), {"0", "2", "简单", "0", "简单表"});
    addDict("学生档案", "班级表", {}, false);
    addDict("学生档案", {}, "  男,女 ", false);
    addDict("学生档案", "  ", "   ", true);
    addDict("简单", "   ", "  ", false); // blanks count as empty

    const ResourceTreeModel m = ResourceTree::build(*ctx);
    ASSERT_EQ(m.roots.size(), 2);
    const TreeNode &node = m.roots[0];
    EXPECT_EQ(node.ref.picture, Picture::DataForm);
    ASSERT_EQ(titles(node.children), (QStringList{"学生档案", "学生档案代码表", "学生档案列表", "学生档案统计"}));
    const int pictures[] = {Picture::Grid, Picture::CodeTable, Picture::List, Picture::Statistics};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(node.children[i].ref.picture, pictures[i]);
        EXPECT_TRUE(node.children[i].ref.isFormChild());
        EXPECT_EQ(node.children[i].ref.resourceId, form);
    }
    EXPECT_EQ(titles(m.roots[1].children), QStringList{"简单"}) << "only the grid child";

    // Its menu item becomes a submenu: grid, form, then the extras, each opening it.
    const MenuEntry &e = m.menu[0];
    EXPECT_FALSE(e.opens());
    EXPECT_EQ(e.picture, Picture::Directory);
    ASSERT_EQ(e.children.size(), 5);
    EXPECT_EQ(e.children[0].picture, Picture::Grid);
    EXPECT_EQ(e.children[1].picture, Picture::DataForm);
    EXPECT_EQ(e.children[4].title, "学生档案统计");
    for (const MenuEntry &c : e.children)
        EXPECT_EQ(c.id, form);

    // The dictionary service may be plugged in instead of the catalog default.
    ResourceTreeSources src;
    src.extras = [](const QString &title) { return DataFormExtras{false, title == "简单", false}; };
    const ResourceTreeModel m2 = ResourceTree::build(*ctx, src);
    EXPECT_EQ(titles(m2.roots[0].children), QStringList{"学生档案"});
    EXPECT_EQ(titles(m2.roots[1].children), (QStringList{"简单", "简单列表"}));
}

TEST_P(TreeWalk, OutlookGroupsAreFlatAndTakeIconsByTitle)
{
    addRow(db(), {"0", "1", "散件", "1", "t1"}); // before any directory
    addRow(db(), {"0", "2", "目录甲", {}, {}, {}, {}, false, 1, 7});
    addRow(db(), {"2", "3", "甲一", "1", "t2", {}, {}, false, 1});
    addRow(db(), {"2", "4", "目录乙", {}, {}, {}, {}, false, 2});
    addRow(db(), {"4", "5", "乙一", "2", {}, "http://x.org", {}, false, 1, 5});
    addRow(db(), {"2", "6", "甲二", "1", "t3", {}, {}, false, 3, 99}); // after the nested directory
    addRow(db(), {"0", "7", "甲一", "1", "t4", {}, {}, false, 9, 4});   // same title: the first row's icon

    const ResourceTreeModel m = ResourceTree::build(*ctx);
    QStringList groups;
    for (const OutlookGroup &g : m.groups)
        groups << g.title;
    ASSERT_EQ(groups, (QStringList{"分组目录", "目录甲", "目录乙", "系统管理"}));
    EXPECT_TRUE(m.groups[0].open);
    EXPECT_FALSE(m.groups[1].open);
    EXPECT_EQ(m.groups[1].picture, 7);
    EXPECT_EQ(m.groups[2].picture, 0) << "NULL IconIndex";

    ASSERT_EQ(m.groups[0].buttons.size(), 1);
    ASSERT_EQ(m.groups[1].buttons.size(), 1);
    EXPECT_EQ(m.groups[1].buttons[0].title, "甲一");
    ASSERT_EQ(m.groups[2].buttons.size(), 3) << "resources after a nested directory land in its group";
    EXPECT_EQ(m.groups[2].buttons[0].title, "乙一");
    EXPECT_EQ(m.groups[2].buttons[0].tag, -1);
    EXPECT_EQ(m.groups[2].buttons[0].picture, 5);
    EXPECT_EQ(m.groups[2].buttons[1].title, "甲二");
    EXPECT_EQ(m.groups[2].buttons[1].tag, 0);
    EXPECT_EQ(m.groups[2].buttons[1].picture, 1) << "an IconIndex outside the image list reads as 1";
    EXPECT_EQ(m.groups[2].buttons[2].picture, 0) << "甲一 takes the icon of the first 甲一 row (NULL)";

    const OutlookGroup &sys = m.groups.last();
    EXPECT_TRUE(sys.system);
    EXPECT_FALSE(sys.open);
    EXPECT_EQ(sys.picture, 1);
    ASSERT_EQ(sys.buttons.size(), 11) << "no 事件提醒 without reminders";
    EXPECT_EQ(sys.buttons.first().title, "用户管理");
    EXPECT_EQ(sys.buttons.first().picture, 30);
    EXPECT_EQ(sys.buttons.last().title, "退出应用");
    EXPECT_EQ(sys.buttons.last().picture, 27);

    ResourceTreeSources src;
    src.hasReminders = [] { return true; };
    const ResourceTreeModel m2 = ResourceTree::build(*ctx, src);
    EXPECT_EQ(m2.groups.last().buttons.first().title, "事件提醒");
    EXPECT_EQ(m2.groups.last().buttons.first().picture, 18);
}

TEST_P(TreeWalk, MenuNestsByCodeAndNumbersItsTopLevel)
{
    addRow(db(), {"0", "1", "目录", {}, {}, {}, {}, false, 1});
    addRow(db(), {"1", "2", "表一", "1", "t1"});
    addRow(db(), {"2", "3", "挂在表下", "1", "t2"}); // rows may hang under a resource
    addRow(db(), {"0", "4", "顶层表", "1", "t3", {}, {}, false, 2});

    const ResourceTreeModel m = ResourceTree::build(*ctx);
    ASSERT_EQ(m.menu.size(), 2);
    const MenuEntry &dir = m.menu[0];
    EXPECT_EQ(dir.name, "Menu1");
    EXPECT_FALSE(dir.opens());
    ASSERT_EQ(dir.children.size(), 1);
    EXPECT_EQ(dir.children[0].name, "Menu2");
    EXPECT_EQ(dir.children[0].picture, Picture::Grid);
    ASSERT_EQ(dir.children[0].children.size(), 1);
    EXPECT_EQ(dir.children[0].children[0].name, "Menu3");
    EXPECT_TRUE(dir.children[0].children[0].opens());
    // Two leading items + two entries: letters from max(89 - 4, 65) = 'U'.
    EXPECT_EQ(m.menu[0].caption(), "目录(&U)");
    EXPECT_EQ(m.menu[1].caption(), "顶层表(&V)");
    EXPECT_TRUE(dir.children[0].accelerator.isEmpty()) << "only top-level items";
    // The tree nests the same way.
    ASSERT_EQ(m.roots[0].children.size(), 1);
    EXPECT_EQ(titles(m.roots[0].children[0].children), QStringList{"挂在表下"});
}

TEST(MenuAccelerator, LettersSkipEAndHThenNumbers)
{
    const struct {
        int index, count;
        const char *acc;
    } cases[] = {
        {0, 5, ""},   {1, 5, ""},    // the leading 文件 and 编辑 keep theirs
        {2, 3, "V"},  {2, 5, "T"},   {4, 5, "V"},
        {2, 20, "F"}, {3, 20, "G"},  {4, 20, "I"},  // start 'E' is skipped; after G comes I
        {2, 22, "C"}, {3, 22, "D"},  {4, 22, "F"},  // after D comes F
        {2, 30, "A"}, {25, 30, "Z"}, {26, 30, "1"}, {27, 30, "2"}, {35, 40, "10"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(MenuAccelerator(c.index, c.count), QString::fromLatin1(c.acc)) << c.index << "/" << c.count;
    // Every item gets a distinct accelerator, never E or H.
    for (int count = 3; count <= 40; ++count) {
        QStringList seen;
        for (int i = 2; i < count; ++i) {
            const QString a = MenuAccelerator(i, count);
            EXPECT_FALSE(a == "E" || a == "H" || a.isEmpty() || seen.contains(a)) << i << "/" << count;
            EXPECT_TRUE(a.size() > 1 || (a[0] >= 'A' && a[0] <= 'Z') || a[0].isDigit());
            seen << a;
        }
    }
}

TEST_P(TreeWalk, VisibilityByOwnerLevelRightsAndShare)
{
    addRow(db(), {"0", "1", "目录"});
    const int own = addRow(db(), {"1", "2", "自己的", "1", "t", {}, "Zhang"});
    const int sharedNoRow = addRow(db(), {"1", "3", "共享无权限", "1", "t", {}, "li", true});
    const int sharedDenied = addRow(db(), {"1", "4", "共享被禁", "1", "t", {}, "li", true});
    const int privateBrowse = addRow(db(), {"1", "5", "可浏览", "1", "t", {}, "li", false});
    const int privateUpdate = addRow(db(), {"1", "6", "可修改", "1", "t", {}, "li", false});
    addRow(db(), {"1", "7", "私有", "1", "t", {}, "li", false});
    addRow(db(), {"7", "8", "私有下的共享", "1", "t", {}, "li", true});
    addRights(sharedDenied, "ZHANG", false, false);
    addRights(privateBrowse, "zhang", true, false);
    addRights(privateUpdate, "zhang ", false, true);
    addRights(sharedNoRow, "wang", false, false); // someone else's row does not count

    loginAs("zhang", 1);
    ResourceTreeModel m = ResourceTree::build(*ctx);
    ASSERT_EQ(m.roots.size(), 1);
    EXPECT_EQ(titles(m.roots[0].children), (QStringList{"自己的", "共享无权限", "可浏览", "可修改", "私有下的共享"}));
    EXPECT_FALSE(m.shownTitles.contains("共享被禁"));
    EXPECT_FALSE(m.shownTitles.contains("私有"));

    ResourceRow ownRow = ResourceTree::readRow(db(), own);
    EXPECT_TRUE(IsResourceVisibleByCatalog(*ctx, ownRow));
    addRights(own, "zhang", false, false);
    EXPECT_TRUE(IsResourceVisibleByCatalog(*ctx, ownRow)) << "the owner sees it whatever the rights row says";

    loginAs("admin", 0);
    m = ResourceTree::build(*ctx);
    EXPECT_EQ(m.roots[0].children.size(), 6) << "a system user sees every resource";
    EXPECT_EQ(titles(m.roots[0].children[5].children), QStringList{"私有下的共享"});

    // The rights service may decide instead; directories do not ask it.
    ResourceTreeSources src;
    QStringList asked;
    src.visible = [&](const ResourceRow &r) {
        asked << r.title;
        return r.title == "私有";
    };
    m = ResourceTree::build(*ctx, src);
    EXPECT_EQ(titles(m.roots[0].children), QStringList{"私有"});
    EXPECT_FALSE(asked.contains("目录"));
}

TEST_P(TreeWalk, MissingRightsTableIsMadeAgainAndMeansNoRow)
{
    const int shared = addRow(db(), {"0", "1", "共享", "1", "t", {}, "li", true});
    addRow(db(), {"0", "2", "不共享", "1", "t", {}, "li", false});
    Query::run(db(), "DROP TABLE usys_displist");
    loginAs("zhang", 1);
    const ResourceTreeModel m = ResourceTree::build(*ctx);
    EXPECT_EQ(titles(m.roots), QStringList{"共享"});
    EXPECT_TRUE(db().tableExists("usys_displist"));
    addRights(shared, "zhang", false, false);
    EXPECT_TRUE(ResourceTree::build(*ctx).roots.isEmpty());
}

TEST_P(TreeWalk, BrokenCodesDoNotHangTheWalk)
{
    addRow(db(), {"0", "1", "甲"});
    addRow(db(), {"1", "1", "自己的父亲"}); // code equal to its parent's
    addRow(db(), {"5", "6", "环一"});       // a loop not reachable from the top
    addRow(db(), {"6", "5", "环二"});
    const ResourceTreeModel m = ResourceTree::build(*ctx);
    ASSERT_EQ(titles(m.roots), QStringList{"甲"});
    EXPECT_EQ(titles(m.roots[0].children), QStringList{"自己的父亲"});
    EXPECT_TRUE(m.roots[0].children[0].children.isEmpty());
}

TEST_P(TreeWalk, StyleComesFromTheSettings)
{
    const struct {
        const char *value;
        int style, preset;
    } cases[] = {{"1", 1, 9}, {"2", 2, 10}, {"0", 0, 2}, {"7", 0, 2}, {"x", 0, 2}};
    for (const auto &c : cases) {
        ASSERT_TRUE(ini->setValue("Outlook", "style", c.value));
        const ResourceTreeModel m = ResourceTree::build(*ctx);
        EXPECT_EQ(m.style, c.style) << c.value;
        EXPECT_EQ(m.outlookPreset, c.preset) << c.value;
    }
}

VEK_BOTH_ENGINES(TreeWalk);
