#include "security/RightsFixture.h"

#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "security/Permissions.h"

#include <QDir>
#include <QSqlRecord>

using namespace vek;
using vek::test::RightsFixture;

namespace {

struct PrecedenceCase {
    const char *name;
    int level;
    QString owner;
    bool shared;
    std::optional<RightsRecord> row;
    QString rowUser; // spelling of the stored user id
    bool visible;
    bool update;
    RightsRecord record;
    FieldRights restricted; // a field whose stored row denies read and write
    FieldRights free;       // a field without a stored row
};

} // namespace

class PermissionsOnEngine : public RightsFixture {
protected:
    AppContext context(const CurrentUser &u)
    {
        if (!m_ini)
            m_ini = std::make_unique<IniFile>(QDir(testDb().dir()).filePath("vek2000.Ini"));
        return AppContext{db(), *m_ini, m_prompter, m_clock, u};
    }

private:
    std::unique_ptr<IniFile> m_ini;
    ScriptedPrompter m_prompter;
    FixedClock m_clock{QDateTime(QDate(2024, 3, 5), QTime(8, 0))};
};

TEST_P(PermissionsOnEngine, PrecedenceOfTheRules)
{
    const RightsRecord none;
    const FieldRights open{true, false};
    const FieldRights shut{false, true};
    const FieldRights readOnly{true, true};
    const PrecedenceCase cases[] = {
        {"system user sees and may do everything", 0, "alice", false, std::nullopt, "bob", true, true,
         RightsRecord::all(), open, open},
        {"owner without a row holds all six rights", 1, "bob", false, std::nullopt, "bob", true, true,
         RightsRecord::all(), open, open},
        {"owner matched without regard to case", 1, "BOB", false, rights("b"), "bob", true, true,
         RightsRecord::all(), open, open},
        {"row with browse only on a shared resource", 1, "alice", true, rights("b"), "bob", true, false,
         rights("b"), shut, readOnly},
        {"row without browse and update hides a shared resource", 1, "alice", true, rights("ap"), "bob", false,
         false, rights("ap"), shut, readOnly},
        {"row with update but no browse shows, stored in other case", 1, "alice", false, rights("u"), "BOB", true,
         true, rights("u"), shut, open},
        {"shared without a row: visible, read-only, no tools", 1, "alice", true, std::nullopt, "bob", true, false,
         none, shut, readOnly},
        {"not shared without a row: hidden", 1, "alice", false, std::nullopt, "bob", false, false, none, shut,
         readOnly},
        {"guest is judged like an ordinary user", 2, "alice", true, std::nullopt, "bob", true, false, none, shut,
         readOnly},
    };
    for (const PrecedenceCase &c : cases) {
        SCOPED_TRACE(c.name);
        const int id = addResource(QString("R%1").arg(&c - cases), "学生", "0", c.owner, c.shared);
        if (c.row)
            grant(id, c.rowUser, *c.row);
        grantField(id, "bob", "成绩", false, false);
        const AppContext ctx = context(user("bob", c.level));

        QSqlRecord row;
        {
            Query q(db(), "SELECT * FROM usys_system WHERE id = :id", {{":id", id}});
            ASSERT_TRUE(q.next());
            row = q.record();
        }
        EXPECT_EQ(IsResourceVisible(ctx, row), c.visible);
        EXPECT_EQ(IsResourceVisible(ctx, id), c.visible);
        EXPECT_EQ(GetUpdateRight(ctx, id).update, c.update);
        EXPECT_EQ(GetResourceRights(ctx, id), c.record);
        EXPECT_EQ(IsFieldReadable(ctx, id, "成绩"), c.restricted.readable);
        EXPECT_EQ(IsFieldReadOnly(ctx, id, "成绩"), c.restricted.readOnly);
        EXPECT_EQ(IsFieldReadable(ctx, id, "姓名"), c.free.readable);
        EXPECT_EQ(IsFieldReadOnly(ctx, id, "姓名"), c.free.readOnly);
    }
}

TEST_P(PermissionsOnEngine, DirectoriesAlwaysShownUnknownIdsNever)
{
    const int dir = addResource("学生管理", "", "", "alice", false);
    const Permissions bob(db(), user("bob", 1));
    EXPECT_TRUE(bob.isResourceVisible(dir));
    EXPECT_FALSE(bob.isResourceVisible(9999));
    EXPECT_FALSE(Permissions(db(), user("admin", 0)).isResourceVisible(9999));
    EXPECT_EQ(bob.resourceRights(9999), RightsRecord());
    EXPECT_FALSE(bob.updateRight(9999).update);
}

TEST_P(PermissionsOnEngine, OwnershipIsMatchedByIdNotByTitle)
{
    // A data form and a grid application may share a title.
    const int form = addResource("成绩表", "成绩", "0", "alice", false);
    const int grid = addResource("成绩表", "成绩", "1", "bob", false);
    const AppContext ctx = context(user("Bob", 1));
    EXPECT_FALSE(IsResourceOwner(ctx, form));
    EXPECT_TRUE(IsResourceOwner(ctx, grid));
    const UpdateRight onForm = GetUpdateRight(ctx, form);
    EXPECT_FALSE(onForm.update);
    EXPECT_FALSE(onForm.owner);
    const UpdateRight onGrid = GetUpdateRight(ctx, grid);
    EXPECT_TRUE(onGrid.update);
    EXPECT_TRUE(onGrid.owner);
    EXPECT_FALSE(IsResourceVisible(ctx, form));
}

TEST_P(PermissionsOnEngine, UserIdStampIsReadOnlyWhileRightsAreInForce)
{
    const int id = addResource("学生档案", "学生", "0", "bob", false);
    grant(id, "carol", rights("bu"));
    grantField(id, "carol", "UserID", true, true);
    EXPECT_TRUE(Permissions(db(), user("bob", 1)).fieldRights(id, "userid").readOnly);
    EXPECT_TRUE(Permissions(db(), user("carol", 1)).fieldRights(id, "UserID").readOnly);
    EXPECT_FALSE(Permissions(db(), user("admin", 0)).fieldRights(id, "UserID").readOnly);
    // The same stored row on another field lets carol write it.
    grantField(id, "carol", "姓名", true, true);
    EXPECT_FALSE(Permissions(db(), user("carol", 1)).fieldRights(id, "姓名").readOnly);
}

TEST_P(PermissionsOnEngine, AbsentRightsTablesAreCreatedAndHoldNoRows)
{
    const int shared = addResource("通讯录", "通讯", "1", "alice", true);
    const int privateRes = addResource("工资", "工资", "1", "alice", false);
    Query::run(db(), "DROP TABLE usys_displist");
    Query::run(db(), "DROP TABLE usys_dispfield");
    const Permissions bob(db(), user("bob", 1));
    EXPECT_TRUE(bob.isResourceVisible(shared));
    EXPECT_TRUE(db().tableExists("usys_displist"));
    EXPECT_FALSE(bob.isResourceVisible(privateRes));
    const FieldRights f = bob.fieldRights(shared, "姓名");
    EXPECT_TRUE(f.readable);
    EXPECT_TRUE(f.readOnly); // no update right on the resource
    EXPECT_TRUE(db().tableExists("usys_dispfield"));
}

TEST_P(PermissionsOnEngine, WhoMayOpenTheRightsWindows)
{
    const int form = addResource("学生档案", "学生", "0", "bob", true);
    const int grid = addResource("学生表格", "学生", "1", "bob", true);
    const int link = addResource("主页", "", "2", "bob", true, {}, "www.example.org");
    const int hidden = addResource("工资", "工资", "0", "alice", false);
    grant(form, "carol", rights("bu"));

    const Permissions admin(db(), user("admin", 0));
    const Permissions owner(db(), user("BOB", 1));
    const Permissions carol(db(), user("carol", 1));

    EXPECT_TRUE(admin.mayEditUserRights());
    EXPECT_FALSE(owner.mayEditUserRights());
    EXPECT_FALSE(Permissions(db(), user("guest", 2)).mayEditUserRights());

    EXPECT_TRUE(admin.mayEditAccess(form));
    EXPECT_TRUE(owner.mayEditAccess(form));
    EXPECT_FALSE(carol.mayEditAccess(form));
    EXPECT_FALSE(admin.mayEditAccess(link)); // no table, nothing to grant

    EXPECT_TRUE(owner.mayEditFieldRights(form));
    EXPECT_FALSE(owner.mayEditFieldRights(grid));
    EXPECT_FALSE(carol.mayEditFieldRights(form));

    EXPECT_TRUE(carol.mayOpenProperties(form));
    EXPECT_TRUE(carol.mayOpenProperties(link));
    EXPECT_FALSE(carol.mayOpenProperties(hidden));
    EXPECT_TRUE(admin.mayOpenProperties(hidden));
}

VEK_BOTH_ENGINES(PermissionsOnEngine);
