#include "catalog/ResourceTreeOps.h"
#include "catalog/TreeFixture.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>

using namespace vek;
using vek::test::Row;
using vek::test::addRow;

namespace {

NodeRef refOf(TDModule &db, int id)
{
    const ResourceRow r = ResourceTree::readRow(db, id);
    return NodeRef{id, id, r.title, TreePictureOf(r), KindOf(r)};
}

} // namespace

class TreeOps : public vek::test::TreeTest {
protected:
    void SetUp() override
    {
        TreeTest::SetUp();
        if (IsSkipped())
            return;
        ops = std::make_unique<ResourceTreeOps>(*ctx, [this](const QString &kind, const QString &title) {
            // The log writer works on the same connection, inside the operation.
            Query::run(db(), "INSERT INTO usys_log (应用名称, 类型, 用户) VALUES (:HostT, :HostK, 'admin')",
                       {{":HostT", title}, {":HostK", kind}});
        });
    }
    QString codeOf(int id)
    {
        return Query::scalar(db(), "SELECT child FROM usys_system WHERE id = :HostI", {{":HostI", id}}).toString();
    }
    QString parentOf(int id)
    {
        return Query::scalar(db(), "SELECT parent FROM usys_system WHERE id = :HostI", {{":HostI", id}}).toString();
    }
    QVariant dispOf(int id)
    {
        return Query::scalar(db(), "SELECT dispID FROM usys_system WHERE id = :HostI", {{":HostI", id}});
    }
    int logCount() { return Query::scalar(db(), "SELECT count(*) FROM usys_log").toInt(); }

    std::unique_ptr<ResourceTreeOps> ops;
};

TEST_P(TreeOps, NewDirectoriesTakeTheNextCodeAndTheirContainer)
{
    const OpResult main = ops->newMainDirectory();
    ASSERT_TRUE(main.ok());
    EXPECT_EQ(main.code, "1");
    EXPECT_EQ(main.parentCode, "0");
    EXPECT_EQ(titleOf(main.id), "新目录") << "the id given is the row's identity";
    EXPECT_EQ(dispOf(main.id).toInt(), 0);

    const OpResult sub = ops->newSubDirectory(refOf(db(), main.id));
    ASSERT_TRUE(sub.ok());
    EXPECT_EQ(sub.code, "2");
    EXPECT_EQ(parentOf(sub.id), "1");

    // A selected data form or grid puts the new directory beside it, in its directory.
    const int form = addRow(db(), {"1", "3", "表单", "0", "t"});
    const OpResult beside = ops->newSubDirectory(refOf(db(), form));
    ASSERT_TRUE(beside.ok());
    EXPECT_EQ(beside.parentCode, "1");
    EXPECT_EQ(parentOf(beside.id), "1");
    NodeRef formChild{0, form, "表单", Picture::Grid, NodeKind::FormGrid};
    EXPECT_EQ(ops->newSubDirectory(formChild).parentCode, "1");
    EXPECT_EQ(ops->newSubDirectory(NodeRef{}).parentCode, "0") << "nothing selected";

    // Deleted rows do not make the id of the next one wrong.
    Query::run(db(), "DELETE FROM usys_system WHERE id = :HostI", {{":HostI", beside.id}});
    const OpResult again = ops->newMainDirectory();
    EXPECT_EQ(titleOf(again.id), "新目录");
    EXPECT_EQ(codeOf(again.id), again.code);
}

TEST_P(TreeOps, OrdinaryUsersChangeNothingByAnyRoute)
{
    const int dir = addRow(db(), {"0", "1", "目录"});
    const int dir2 = addRow(db(), {"0", "2", "目录二"});
    const int grid = addRow(db(), {"1", "3", "表格", "1", "t", {}, "zhang"});
    const int before = rowCount();
    for (int level : {1, 2}) {
        loginAs("zhang", level); // the owner of the grid, still not a system user
        EXPECT_EQ(ops->newMainDirectory().status, OpStatus::NotAllowed);
        EXPECT_EQ(ops->newSubDirectory(refOf(db(), dir)).status, OpStatus::NotAllowed);
        EXPECT_EQ(ops->rename(refOf(db(), grid), "新名").status, OpStatus::NotAllowed);
        EXPECT_EQ(ops->remove(refOf(db(), grid)).status, OpStatus::NotAllowed);
        EXPECT_EQ(ops->move(refOf(db(), grid), refOf(db(), dir2)).status, OpStatus::NotAllowed);
        EXPECT_EQ(ops->saveOrder("0", {{dir2, "目录二"}, {dir, "目录"}}).status, OpStatus::NotAllowed);
        EXPECT_EQ(ops->addExternal(refOf(db(), dir), "网", "http://x.org").status, OpStatus::NotAllowed);
        EXPECT_EQ(ops->setIconIndex("目录", 3).status, OpStatus::NotAllowed);
        EXPECT_TRUE(ops->siblings(refOf(db(), dir)).isEmpty());
    }
    EXPECT_EQ(rowCount(), before);
    EXPECT_EQ(titleOf(grid), "表格");
    EXPECT_EQ(parentOf(grid), "1");
    EXPECT_TRUE(dispOf(dir).isNull());
    EXPECT_TRUE(prompter.shown().isEmpty()) << "no question was asked";
}

TEST_P(TreeOps, RenameCarriesAResourceTitleToItsDependants)
{
    const int grid = addRow(db(), {"0", "1", "学生", "1", "学生表"});
    addRow(db(), {"0", "2", "教师", "1", "教师表"});
    const int dir = addRow(db(), {"0", "3", "目录"});
    addDict("学生", {}, {}, false);
    addDict("学生", {}, {}, false);
    addDict("学生表", {}, {}, false); // rows of the physical table stay
    Query::run(db(), "INSERT INTO usys_dotab (TableName, AppName, DotName) VALUES ('学生表', '学生', 'a.dot')");
    Query::run(db(), "INSERT INTO usys_xlstab (TableName, AppName) VALUES ('学生表', '学生')");

    ASSERT_TRUE(ops->rename(refOf(db(), grid), " 学生档案 ").ok());
    EXPECT_EQ(titleOf(grid), "学生档案");
    EXPECT_EQ(Query::scalar(db(), "SELECT count(*) FROM usys_dict WHERE TableName = '学生档案'").toInt(), 2);
    EXPECT_EQ(Query::scalar(db(), "SELECT count(*) FROM usys_dict WHERE TableName = '学生表'").toInt(), 1);
    EXPECT_EQ(Query::scalar(db(), "SELECT AppName FROM usys_dotab").toString(), "学生档案");
    EXPECT_EQ(Query::scalar(db(), "SELECT AppName FROM usys_xlstab").toString(), "学生档案");

    // A title in use (letter case ignored) is refused and changes nothing.
    Query::run(db(), "UPDATE usys_system SET AppTitle = 'Teacher' WHERE child = '2'");
    const OpResult taken = ops->rename(refOf(db(), grid), "TEACHER");
    EXPECT_EQ(taken.status, OpStatus::Refused);
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown()[0].text, "应用已经存在,修改错误!");
    EXPECT_EQ(prompter.shown()[0].caption, "系统提示");
    EXPECT_EQ(prompter.shown()[0].icon, Prompter::Icon::Error);
    EXPECT_EQ(titleOf(grid), "学生档案");

    // Its own title in other letter case, or unchanged, is no clash; a blank one is refused.
    prompter.clear();
    EXPECT_TRUE(ops->rename(refOf(db(), grid), "学生档案").ok());
    EXPECT_EQ(ops->rename(refOf(db(), grid), "   ").status, OpStatus::Refused);
    EXPECT_TRUE(prompter.shown().isEmpty());
    EXPECT_EQ(titleOf(grid), "学生档案");

    // Directories are renamed without the check.
    ASSERT_TRUE(ops->rename(refOf(db(), dir), "Teacher").ok());
    EXPECT_EQ(titleOf(dir), "Teacher");
}

TEST_P(TreeOps, RenameIsAllOrNothing)
{
    const int grid = addRow(db(), {"0", "1", "学生", "1", "学生表"});
    addDict("学生", {}, {}, false);
    Query::run(db(), "INSERT INTO usys_xlstab (TableName, AppName) VALUES ('学生表', '学生')");
    // The last statement of the cascade fails.
    if (GetParam() == Engine::Sqlite) {
        // A trigger body holds its own statements, which Query refuses: set up directly.
        QSqlQuery raw(db().database());
        ASSERT_TRUE(raw.exec("CREATE TRIGGER no_xls BEFORE UPDATE ON usys_xlstab "
                             "BEGIN SELECT RAISE(ABORT, 'locked'); END"));
    } else
        Query::run(db(), "ALTER TABLE usys_xlstab ADD CONSTRAINT no_xls CHECK (AppName = '学生')");

    const OpResult r = ops->rename(refOf(db(), grid), "学生档案");
    EXPECT_EQ(r.status, OpStatus::Failed);
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown()[0].icon, Prompter::Icon::Error);
    EXPECT_EQ(titleOf(grid), "学生");
    EXPECT_EQ(Query::scalar(db(), "SELECT TableName FROM usys_dict").toString(), "学生");
    EXPECT_EQ(db().transactionDepth(), 0);
}

TEST_P(TreeOps, DeleteRefusesParentsAsksAndLogs)
{
    const int dir = addRow(db(), {"0", "1", "目录"});
    const int grid = addRow(db(), {"1", "2", "表格", "1", "t"});
    const int form = addRow(db(), {"1", "3", "表单", "0", "t"});
    const int web = addRow(db(), {"1", "4", "主页", "2", {}, "www.x.org"});
    addDict("表单", "代码", {}, false); // the form carries child nodes in the tree

    EXPECT_EQ(ops->remove(refOf(db(), dir)).status, OpStatus::Refused);
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown()[0].text, "该结点包含子结点，请先删除其子结点后，再对其进行删除！");
    EXPECT_EQ(prompter.shown()[0].icon, Prompter::Icon::Error);

    // No leaves the row; Yes logs and removes only the usys_system row.
    prompter.clear();
    prompter.answerNext(Prompter::Answer::No);
    EXPECT_EQ(ops->remove(refOf(db(), grid)).status, OpStatus::Declined);
    EXPECT_EQ(prompter.lastText(), "是否确定要删除数据表格:[表格]?");
    EXPECT_EQ(titleOf(grid), "表格");
    EXPECT_EQ(logCount(), 0);

    prompter.answerNext(Prompter::Answer::Yes);
    ASSERT_TRUE(ops->remove(refOf(db(), form)).ok());
    EXPECT_EQ(prompter.lastText(), "是否确定要删除数据窗体:[表单]?");
    EXPECT_EQ(prompter.shown().last().caption, "系统提示");
    EXPECT_EQ(titleOf(form), "");
    EXPECT_EQ(Query::scalar(db(), "SELECT count(*) FROM usys_dict WHERE TableName = '表单'").toInt(), 1);
    EXPECT_EQ(Query::scalar(db(), "SELECT 类型 FROM usys_log WHERE 应用名称 = '表单'").toString(), "删除");

    prompter.answerNext(Prompter::Answer::Yes);
    ASSERT_TRUE(ops->remove(refOf(db(), web)).ok());
    EXPECT_EQ(prompter.lastText(), "是否确定要删除数据窗体:[主页]?");
    prompter.answerNext(Prompter::Answer::Yes);
    ASSERT_TRUE(ops->remove(refOf(db(), grid)).ok());
    prompter.answerNext(Prompter::Answer::Yes);
    ASSERT_TRUE(ops->remove(refOf(db(), dir)).ok()) << "empty now";
    EXPECT_EQ(prompter.lastText(), "是否确定要删除:[目录]?");
    EXPECT_EQ(rowCount(), 0);
    EXPECT_EQ(logCount(), 4);
    EXPECT_TRUE(prompter.allAnswersUsed());
}

TEST_P(TreeOps, DeleteKeepsRowsThatHangBelowAResource)
{
    const int form = addRow(db(), {"0", "1", "表单", "0", "t"});
    addRow(db(), {"1", "2", "挂在表单下", "1", "t2"});
    EXPECT_EQ(ops->remove(refOf(db(), form)).status, OpStatus::Refused);
    EXPECT_EQ(prompter.lastText(), "该结点包含子结点，请先删除其子结点后，再对其进行删除！");
    // A form's child node is no row: nothing to delete, nothing asked.
    prompter.clear();
    EXPECT_EQ(ops->remove(NodeRef{0, form, "表单", Picture::Grid, NodeKind::FormGrid}).status, OpStatus::Refused);
    EXPECT_TRUE(prompter.shown().isEmpty());
    EXPECT_EQ(rowCount(), 2);
}

TEST_P(TreeOps, MoveRefusesSilentlyThenAsks)
{
    const int a = addRow(db(), {"0", "1", "甲"});
    const int b = addRow(db(), {"0", "2", "乙"});
    const int a1 = addRow(db(), {"1", "3", "甲一"});
    const int a11 = addRow(db(), {"3", "4", "甲一一"});
    const int grid = addRow(db(), {"1", "5", "表格", "1", "t"});
    const int form = addRow(db(), {"0", "6", "表单", "0", "t"});
    const int underForm = addRow(db(), {"6", "7", "表单下", "1", "t"});
    const int untyped = addRow(db(), {"0", "8", "旧表", {}, "old"});

    const struct {
        NodeRef dragged, target;
        const char *why;
    } refused[] = {
        {refOf(db(), a1), NodeRef{}, "no target"},
        {refOf(db(), a1), refOf(db(), a1), "itself"},
        {refOf(db(), a1), refOf(db(), a), "its current parent"},
        {refOf(db(), a), refOf(db(), a11), "below itself"},
        {refOf(db(), a1), refOf(db(), grid), "not a directory"},
        {refOf(db(), underForm), refOf(db(), b), "a data form's rows stay"},
        {NodeRef{0, form, "表单", Picture::Grid, NodeKind::FormGrid}, refOf(db(), b), "a form child"},
    };
    for (const auto &c : refused)
        EXPECT_EQ(ops->move(c.dragged, c.target).status, OpStatus::Refused) << c.why;
    EXPECT_TRUE(prompter.shown().isEmpty()) << "refusals are silent";

    prompter.answerNext(Prompter::Answer::No);
    EXPECT_EQ(ops->move(refOf(db(), a1), refOf(db(), b)).status, OpStatus::Declined);
    EXPECT_EQ(prompter.shown().last().caption, "确认信息");
    EXPECT_EQ(prompter.shown().last().text, "是否确认要移动该节点?");
    EXPECT_EQ(parentOf(a1), "1");

    prompter.answerNext(Prompter::Answer::Yes);
    const OpResult moved = ops->move(refOf(db(), a1), refOf(db(), b));
    ASSERT_TRUE(moved.ok());
    EXPECT_EQ(moved.parentCode, "2");
    EXPECT_EQ(parentOf(a1), "2");
    EXPECT_EQ(parentOf(a11), "3") << "its subtree goes with it";

    // A resource drawn like a directory takes rows, as the tree shows it as one.
    prompter.answerNext(Prompter::Answer::Yes);
    EXPECT_TRUE(ops->move(refOf(db(), grid), refOf(db(), untyped)).ok());
    EXPECT_EQ(parentOf(grid), "8");
}

TEST_P(TreeOps, OrderWritesPositionsByTitleAmongSiblings)
{
    const int x = addRow(db(), {"0", "1", "目录"});
    const int a = addRow(db(), {"1", "2", "甲", "1", "t", {}, {}, false, 0});
    const int b = addRow(db(), {"1", "3", "乙", "1", "t", {}, {}, false, 1});
    const int b2 = addRow(db(), {"1", "4", "乙", "1", "t", {}, {}, false, 2});
    const int c = addRow(db(), {"1", "5", "丙", "1", "t", {}, {}, false, 3});
    const int elsewhere = addRow(db(), {"0", "6", "甲", "1", "t", {}, {}, false, 7});

    QString parent;
    QList<SiblingEntry> list = ops->siblings(refOf(db(), b), &parent);
    EXPECT_EQ(parent, "1");
    ASSERT_EQ(list.size(), 4);
    EXPECT_EQ(list[0].id, a);
    EXPECT_EQ(list[3].id, c);

    std::swap(list[0], list[3]); // 丙 乙 乙 甲
    ASSERT_TRUE(ops->saveOrder(parent, list).ok());
    EXPECT_EQ(dispOf(c).toInt(), 0);
    EXPECT_EQ(dispOf(a).toInt(), 3);
    EXPECT_EQ(dispOf(b).toInt(), 2) << "siblings sharing a title share the position written last";
    EXPECT_EQ(dispOf(b2).toInt(), 2);
    EXPECT_EQ(dispOf(elsewhere).toInt(), 7) << "a row of the same title in another directory keeps its place";
    EXPECT_TRUE(dispOf(x).isNull());

    QStringList after;
    for (const SiblingEntry &e : ops->siblings(refOf(db(), a)))
        after << e.title;
    EXPECT_EQ(after, (QStringList{"丙", "乙", "乙", "甲"}));
}

TEST(ExternalEntry, AcceptedAddresses)
{
    const auto exists = [](const QString &p) { return p == "/opt/tool" ? p : QString(); };
    const struct {
        const char *title, *address;
        bool accepted;
    } cases[] = {
        {"网站", "www.example.org", true},
        {"网站", "http://example.org", true},
        {"网站", "HTTPS://example.org", true},
        {"工具", "/opt/tool", true},
        {"工具", "/opt/missing", false},
        {"", "http://example.org", false},
        {"", "www.example.org", false}, // a resource without a title could not be found again
        {"  ", "/opt/tool", false},
        {"空", "", false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ResourceTreeOps::isExternalEntryAcceptable(QString::fromUtf8(c.title), c.address, exists),
                  c.accepted)
            << c.title << " " << c.address;
    }
}

TEST_P(TreeOps, ExternalResourcesAreAddedAndEdited)
{
    const QString programDir = QDir(testDb().dir()).filePath("prog");
    ASSERT_TRUE(QDir().mkpath(programDir + "/tools"));
    const QString tool = programDir + "/tools/run.sh";
    QFile f(tool);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    ops->setProgramDir(programDir);
    ops->setFileResolver([&](const QString &p) {
        const QString abs = QDir::isAbsolutePath(p) ? p : programDir + "/" + p;
        return QFileInfo(abs).isFile() ? abs : QString();
    });

    const int dir = addRow(db(), {"0", "1", "工具箱"});
    const int grid = addRow(db(), {"1", "2", "表格", "1", "t"});

    const OpResult web = ops->addExternal(refOf(db(), dir), "主页", "http://example.org");
    ASSERT_TRUE(web.ok());
    EXPECT_EQ(web.picture, Picture::Web);
    EXPECT_EQ(web.parentCode, "1");
    Query q(db(), "SELECT AppTitle, ExeFileName, Owner, Flag, OrderID, parent, child FROM usys_system WHERE id = :HostI",
            {{":HostI", web.id}});
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(1).toString(), "http://example.org");
    EXPECT_EQ(q.value(2).toString(), "admin");
    EXPECT_EQ(q.value(3).toString(), "2");
    EXPECT_EQ(q.value(4).toInt(), 0);
    EXPECT_EQ(q.value(6).toString(), "3");

    // Beside a grid, the program folder left off the stored path.
    const OpResult file = ops->addExternal(refOf(db(), grid), "运行", tool);
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.parentCode, "1");
    EXPECT_EQ(file.picture, Picture::FirstFilePicture);
    EXPECT_EQ(Query::scalar(db(), "SELECT ExeFileName FROM usys_system WHERE id = :HostI", {{":HostI", file.id}})
                  .toString(),
              "tools/run.sh");

    EXPECT_EQ(ops->addExternal(NodeRef{}, "主页", "www.other.org").status, OpStatus::Refused);
    EXPECT_EQ(prompter.lastText(), "已存在相同应用程序名,请检查!");
    EXPECT_EQ(prompter.shown().last().icon, Prompter::Icon::Warning);
    prompter.clear();
    EXPECT_EQ(ops->addExternal(NodeRef{}, "缺失", "/nowhere/x").status, OpStatus::Refused);
    EXPECT_TRUE(prompter.shown().isEmpty()) << "an unusable entry adds nothing, silently";
    const OpResult top = ops->addExternal(NodeRef{}, "顶层", "www.top.org");
    ASSERT_TRUE(top.ok());
    EXPECT_EQ(parentOf(top.id), "0");

    const OpResult edited = ops->editExternal(refOf(db(), web.id), "www.new.org");
    ASSERT_TRUE(edited.ok());
    EXPECT_EQ(titleOf(web.id), "主页");
    EXPECT_EQ(Query::scalar(db(), "SELECT ExeFileName FROM usys_system WHERE id = :HostI", {{":HostI", web.id}})
                  .toString(),
              "www.new.org");
    EXPECT_EQ(ops->editExternal(refOf(db(), grid), "www.x.org").status, OpStatus::Refused) << "not external";
}

TEST_P(TreeOps, IconsAreStoredByTitle)
{
    const int a = addRow(db(), {"0", "1", "甲"});
    const int a2 = addRow(db(), {"0", "2", "甲", "1", "t"});
    const int b = addRow(db(), {"0", "3", "乙"});
    ASSERT_TRUE(ops->setIconIndex("甲", 12).ok());
    auto icon = [&](int id) {
        return Query::scalar(db(), "SELECT IconIndex FROM usys_system WHERE id = :HostI", {{":HostI", id}});
    };
    EXPECT_EQ(icon(a).toInt(), 12);
    EXPECT_EQ(icon(a2).toInt(), 12);
    EXPECT_TRUE(icon(b).isNull());
    EXPECT_EQ(ops->setIconIndex("乙", kOutlookPictureCount).status, OpStatus::Refused);
    EXPECT_TRUE(icon(b).isNull());
}

TEST_P(TreeOps, PropertiesOfResourcesOnly)
{
    const int dir = addRow(db(), {"0", "1", "目录"});
    const int form = addRow(db(), {"1", "2", "表单", "0", "学生", {}, "li", true});
    Query::run(db(), "UPDATE usys_system SET CreatePerson = 'wang', Description = '说明', DatabasAlias = 'x' "
                     "WHERE id = :HostI",
               {{":HostI", form}});
    EXPECT_FALSE(ops->properties(refOf(db(), dir)).has_value());

    // A form's child node shows the form's own values.
    auto p = ops->properties(NodeRef{0, form, "表单", Picture::Grid, NodeKind::FormGrid});
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->id, form);
    EXPECT_EQ(p->owner, "li");
    EXPECT_EQ(p->firstTable, "学生");
    EXPECT_EQ(p->createPerson, "wang");
    EXPECT_EQ(p->description, "说明");
    EXPECT_EQ(p->databasAlias, "x");
    EXPECT_TRUE(p->shareFlag);
    EXPECT_EQ(p->createDate, "未知");

    Query::run(db(), "UPDATE usys_system SET CreateDate = :HostD WHERE id = :HostI",
               {{":HostD", QDateTime(QDate(2023, 9, 1), QTime(8, 30))}, {":HostI", form}});
    EXPECT_EQ(ops->properties(refOf(db(), form))->createDate, "2023-09-01");
}

VEK_BOTH_ENGINES(TreeOps);
