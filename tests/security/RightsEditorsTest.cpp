#include "security/RightsFixture.h"

#include "platform/DbError.h"
#include "security/AppPropertyModel.h"
#include "security/FieldRightModel.h"
#include "security/Permissions.h"
#include "security/UserRightModel.h"

using namespace vek;
using vek::test::RightsFixture;

TEST(AppPropertyUser, RoleLabels)
{
    struct Case {
        int level;
        bool owner;
        const char *label;
    } cases[] = {{0, false, "System"}, {1, false, "User"}, {2, false, "Guest"},
                 {0, true, "S/O"},     {1, true, "Owner"}, {2, true, "G/O"}};
    for (const Case &c : cases) {
        AppPropertyUser u;
        u.level = c.level;
        u.owner = c.owner;
        EXPECT_EQ(u.roleLabel(), QString(c.label)) << c.level << c.owner;
    }
}

// 学生档案 is a shared data form owned by bob; carol has a stored row; dave and the
// guest gina have none.
class RightsEditors : public RightsFixture {
protected:
    void SetUp() override
    {
        RightsFixture::SetUp();
        if (IsSkipped())
            return;
        addUser("bob", "1");
        addUser("carol", "1");
        addUser("dave", "1");
        addUser("gina", "2");
        form = addResource("学生档案", "学生", "0", "bob", true);
        grant(form, "bob", rights("p"));
        grant(form, "carol", rights("bu"));
    }

    int form = 0;
};

TEST_P(RightsEditors, PropertiesShowWhatEachUserHas)
{
    AppPropertyModel m(db(), user("admin", 0));
    m.load(form);
    EXPECT_EQ(m.properties().title, "学生档案");
    EXPECT_EQ(m.properties().tableLabel(), "表名称:");
    EXPECT_EQ(m.properties().createDate, "未知");
    ASSERT_TRUE(m.accessPageAvailable());
    EXPECT_TRUE(m.fieldRightsAvailable());

    QStringList order;
    for (const AppPropertyUser &u : m.users())
        order << u.userId;
    EXPECT_EQ(order, (QStringList{"admin", "bob", "carol", "dave", "gina"})); // by level
    const auto at = [&](const char *id) { return m.users().at(m.indexOfUser(id)); };
    EXPECT_TRUE(at("admin").fixed);
    EXPECT_EQ(at("bob").roleLabel(), "Owner");
    EXPECT_TRUE(at("bob").fixed);
    EXPECT_EQ(at("bob").rights, RightsRecord::all());
    EXPECT_FALSE(at("carol").fixed);
    EXPECT_EQ(at("carol").rights, rights("bu"));
    // Without a row a shared resource gives browse only, and that is what is shown.
    EXPECT_EQ(at("dave").rights, rights("b"));
    EXPECT_EQ(at("gina").rights, rights("b"));
}

TEST_P(RightsEditors, ConfirmingUnchangedGrantsNothing)
{
    const QStringList before = rightsRows();
    AppPropertyModel m(db(), user("admin", 0));
    m.load(form);
    EXPECT_FALSE(m.hasChanges());
    EXPECT_EQ(m.save(), 0);
    EXPECT_EQ(rightsRows(), before); // the owner's stored row is kept as well

    const Permissions dave(db(), user("dave", 1));
    EXPECT_TRUE(dave.isResourceVisible(form));
    EXPECT_FALSE(dave.updateRight(form).update);
    EXPECT_EQ(dave.resourceRights(form), RightsRecord());
}

TEST_P(RightsEditors, OneTickWritesOnlyThatUsersRow)
{
    AppPropertyModel m(db(), user("admin", 0));
    m.load(form);
    m.setRight(m.indexOfUser("dave"), Right::Print, true);
    EXPECT_EQ(m.save(), 1);
    EXPECT_EQ(rightsRows(), (QStringList{QString("%1/bob/000010").arg(form), QString("%1/carol/110000").arg(form),
                                         QString("%1/dave/100010").arg(form)}));
    EXPECT_EQ(Permissions(db(), user("dave", 1)).resourceRights(form), rights("bp"));
    EXPECT_EQ(m.save(), 0); // saved once, nothing left to write
}

TEST_P(RightsEditors, TickingAToolTicksBrowse)
{
    AppPropertyModel props(db(), user("admin", 0));
    props.load(form);
    const int dave = props.indexOfUser("dave");
    props.setRight(dave, Right::Browse, false);
    props.setRight(dave, Right::Update, true);
    EXPECT_EQ(props.users().at(dave).rights, rights("u")); // no coupling for update here
    for (Right r : {Right::Delete, Right::Print, Right::Export}) {
        props.setRight(dave, Right::Browse, false);
        props.setRight(dave, r, true);
        EXPECT_TRUE(props.users().at(dave).rights.browse);
    }
    props.setRight(dave, Right::Print, false);
    EXPECT_TRUE(props.users().at(dave).rights.browse); // unticking never unticks browse
    const int bob = props.indexOfUser("bob");
    props.setRight(bob, Right::Browse, false);
    EXPECT_EQ(props.users().at(bob).rights, RightsRecord::all()); // fixed rows do not change

    UserRightModel perUser(db(), user("admin", 0));
    perUser.load("dave");
    const int row = perUser.indexOfResource(form);
    perUser.setRight(row, Right::Browse, false);
    perUser.setRight(row, Right::Update, true);
    EXPECT_TRUE(perUser.resources().at(row).rights.browse);
    perUser.setRight(row, Right::Browse, false);
    perUser.setRight(row, Right::Add, true);
    EXPECT_FALSE(perUser.resources().at(row).rights.browse);
}

TEST_P(RightsEditors, OnlySystemUsersAndTheOwnerGrant)
{
    AppPropertyModel carol(db(), user("carol", 1));
    carol.load(form); // she sees it: the general page opens
    EXPECT_FALSE(carol.accessPageAvailable());
    EXPECT_TRUE(carol.users().isEmpty());
    EXPECT_THROW(carol.save(), PermissionDenied);

    const int hidden = addResource("工资", "工资", "0", "alice", false);
    AppPropertyModel dave(db(), user("dave", 1));
    EXPECT_THROW(dave.load(hidden), PermissionDenied);

    const int link = addResource("主页", "", "2", "admin", true, {}, "www.example.org");
    AppPropertyModel admin(db(), user("admin", 0));
    admin.load(link);
    EXPECT_FALSE(admin.accessPageAvailable());
    EXPECT_EQ(admin.properties().tableLabel(), "文件名称:");
    EXPECT_EQ(admin.properties().tableText(), "www.example.org");

    // The right to grant is asked again when saving: ownership may have moved meanwhile.
    AppPropertyModel owner(db(), user("BOB", 1));
    owner.load(form);
    ASSERT_TRUE(owner.accessPageAvailable());
    owner.setRight(owner.indexOfUser("dave"), Right::Export, true);
    Query::run(db(), "UPDATE usys_system SET Owner = 'alice' WHERE id = :id", {{":id", form}});
    const QStringList before = rightsRows();
    EXPECT_THROW(owner.save(), PermissionDenied);
    EXPECT_EQ(rightsRows(), before);
}

TEST_P(RightsEditors, FailedSaveLeavesEveryRowAsItWas)
{
    // A rights table that refuses one user, so that the second write of a save fails.
    Query::run(db(), "DROP TABLE usys_displist");
    const QString bit = db().dialect().bitType();
    Query::run(db(), QString("CREATE TABLE usys_displist (Appid integer, UserID varchar(16) CHECK (UserID <> 'zed'), "
                             "browseRight %1, updateRight %1, addRight %1, deleteRight %1, printRight %1, "
                             "exportRight %1)")
                         .arg(bit));
    grant(form, "carol", rights("bu"));
    addUser("zed", "1");
    const QStringList before = rightsRows();

    AppPropertyModel m(db(), user("admin", 0));
    m.load(form);
    m.setRight(m.indexOfUser("carol"), Right::Update, false); // written first: users in id order
    m.setRight(m.indexOfUser("zed"), Right::Print, true);
    EXPECT_THROW(m.save(), DbError);
    EXPECT_EQ(rightsRows(), before);
    EXPECT_EQ(db().transactionDepth(), 0);
}

TEST_P(RightsEditors, PerUserDialogIsForSystemUsersOnly)
{
    UserRightModel m(db(), user("bob", 1));
    EXPECT_THROW(m.load("carol"), PermissionDenied);
    EXPECT_THROW(m.save(), PermissionDenied);
}

TEST_P(RightsEditors, PerUserDialogWritesOnlyWhatChanged)
{
    const int staff = addResource("教师档案", "教师", "0", "alice", false);
    const int own = addResource("carol的表", "备忘", "1", "Carol", false);
    addResource("目录", "", "", "", false);
    grant(9999, "carol", rights("b")); // a row of a resource deleted long ago

    UserRightModel m(db(), user("admin", 0));
    m.load("carol");
    ASSERT_EQ(m.resources().size(), 3); // directories are not listed
    const auto row = [&](int id) { return m.resources().at(m.indexOfResource(id)); };
    EXPECT_TRUE(row(form).shared);
    EXPECT_EQ(row(form).rights, rights("bu"));
    EXPECT_EQ(row(staff).rights, RightsRecord());
    EXPECT_TRUE(row(own).fixed);
    EXPECT_EQ(row(own).rights, RightsRecord::all());

    const QStringList before = rightsRows();
    EXPECT_EQ(m.save(), 0);
    EXPECT_EQ(rightsRows(), before);

    m.setEverything(true);
    EXPECT_EQ(m.save(), 2);
    const Permissions carol(db(), user("carol", 1));
    EXPECT_EQ(carol.resourceRights(staff), RightsRecord::all());

    // Cleared: the shared resource keeps an empty row (it is withheld), the other none.
    m.setEverything(false);
    EXPECT_EQ(m.save(), 2);
    EXPECT_FALSE(carol.isResourceVisible(form));
    EXPECT_FALSE(carol.isResourceVisible(staff));
    EXPECT_TRUE(carol.isResourceVisible(own));
    EXPECT_EQ(rightsRows(), (QStringList{QString("%1/bob/000010").arg(form), QString("%1/carol/000000").arg(form),
                                         QString("9999/carol/100000")}));

    m.setAll(m.indexOfResource(staff), true);
    EXPECT_EQ(m.resources().at(m.indexOfResource(staff)).rights, RightsRecord::all());
}

TEST_P(RightsEditors, SystemUserRowsAreFixed)
{
    UserRightModel m(db(), user("admin", 0));
    m.load("ADMIN");
    ASSERT_FALSE(m.resources().isEmpty());
    EXPECT_TRUE(m.resources().first().fixed);
    m.setEverything(false);
    EXPECT_EQ(m.save(), 0);
}

TEST_P(RightsEditors, FieldRightsListAndSave)
{
    const SqlDialect &d = db().dialect();
    Query::run(db(), "CREATE TABLE " + d.quoteIdent("学生") + " (学号 varchar(10), 姓名 varchar(20), userid "
                     "varchar(16), ShareMemo text, 成绩 integer)");
    grantField(form, "carol", "成绩", false, true);
    grantField(form, "carol", "旧字段", true, false); // the column is gone from the table

    FieldRightModel m(db(), user("bob", 1));
    m.load(form, "carol");
    QStringList names;
    for (const FieldRightEntry &f : m.fields())
        names << f.fieldName;
    EXPECT_EQ(names, (QStringList{"学号", "姓名", "成绩", "旧字段"}));
    EXPECT_FALSE(m.fields().at(2).read);
    EXPECT_TRUE(m.fields().at(1).read && m.fields().at(1).write);

    const QStringList before = fieldRows();
    EXPECT_EQ(m.save(), 0);
    EXPECT_EQ(fieldRows(), before);

    m.setWrite(m.indexOfField("姓名"), false);
    EXPECT_EQ(m.save(), 1);
    EXPECT_EQ(fieldRows().size(), 3);
    const FieldRights f = Permissions(db(), user("carol", 1)).fieldRights(form, "姓名");
    EXPECT_TRUE(f.readable);
    EXPECT_TRUE(f.readOnly);
    EXPECT_TRUE(Permissions(db(), user("carol", 1)).fieldRights(form, "学号").readable);
}

TEST_P(RightsEditors, FieldRightsFollowTheFieldList)
{
    const int listed = addResource("成绩录入", "成绩", "0", "bob", false, " 姓名, [成绩] ,UserID,");
    FieldRightModel m(db(), user("admin", 0));
    m.load(listed, "carol");
    QStringList names;
    for (const FieldRightEntry &f : m.fields())
        names << f.fieldName;
    EXPECT_EQ(names, (QStringList{"姓名", "成绩"}));

    const int grid = addResource("成绩表格", "成绩", "1", "bob", false);
    EXPECT_THROW(m.load(grid, "carol"), PermissionDenied);
    FieldRightModel carol(db(), user("carol", 1));
    EXPECT_THROW(carol.load(form, "dave"), PermissionDenied);
}

VEK_BOTH_ENGINES(RightsEditors);
