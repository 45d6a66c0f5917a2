#include "catalog/Catalog.h"
#include "platform/DbError.h"
#include "platform/Query.h"
#include "platform/TDModule.h"
#include "support/TestSupport.h"

using namespace vek;
using vek::test::EngineTest;

namespace {

QStringList catalogTablesIn(TDModule &db)
{
    QStringList out;
    for (const QString &t : db.tableNames()) {
        if (t.startsWith("usys_", Qt::CaseInsensitive))
            out << t.toLower();
    }
    out.sort();
    return out;
}

QStringList columnNames(TDModule &db, const QString &table)
{
    QStringList out;
    for (const ColumnInfo &c : db.columns(table))
        out << c.name.toLower();
    return out;
}

} // namespace

TEST(CatalogNames, OrderedListWithItsPlaceHolder)
{
    ASSERT_EQ(CatalogNames().size(), 19);
    EXPECT_EQ(CatalogName(CatalogTable::System), "usys_system");
    EXPECT_EQ(CatalogNames().at(3), "usys_orderlist");
    EXPECT_EQ(CatalogNames().at(18), "usys_everyday");
    EXPECT_TRUE(IsCatalogTable("USYS_USERS"));
    EXPECT_FALSE(IsCatalogTable("学生档案"));
}

class CatalogOnEngine : public EngineTest {};

TEST_P(CatalogOnEngine, FullCatalogHasTheEighteenTablesAndTheAdmin)
{
    ASSERT_TRUE(CatalogAbsent(db()));
    CreateFullCatalog(db());
    EXPECT_FALSE(CatalogAbsent(db()));

    QStringList expected;
    for (const QString &n : CatalogNames()) {
        if (n != "usys_orderlist")
            expected << n.toLower();
    }
    expected.sort();
    EXPECT_EQ(catalogTablesIn(db()), expected);

    Query users(db(), "SELECT uid, ulevel, pwd, descrip FROM usys_Users");
    ASSERT_TRUE(users.next());
    EXPECT_EQ(users.value(0).toString(), "admin");
    EXPECT_EQ(users.value(1).toString(), "0");
    EXPECT_EQ(users.value(2).toString(), "");
    EXPECT_EQ(users.value(3).toString(), "系统用户");
    EXPECT_FALSE(users.next());
}

TEST_P(CatalogOnEngine, ColumnsInTheirOrderAndKeywordColumnsUsable)
{
    CreateFullCatalog(db());
    const QStringList sys = columnNames(db(), "usys_system");
    ASSERT_EQ(sys.size(), 46);
    EXPECT_EQ(sys.first(), "id");
    EXPECT_EQ(sys.at(3), "apptitle");
    EXPECT_EQ(sys.at(33), "sfilter");
    EXPECT_EQ(sys.last(), "queryfield");

    const QStringList dict = columnNames(db(), "USYS_DICT");
    ASSERT_EQ(dict.size(), 36);
    EXPECT_EQ(dict.mid(8, 3), (QStringList{"range", "isnull", "autoadd"}));
    EXPECT_EQ(dict.mid(30, 2), (QStringList{"readonly", "choosegrid"}));
    EXPECT_EQ(dict.last(), "intervalday");

    EXPECT_EQ(columnNames(db(), "usys_log"), (QStringList{"编号", "应用名称", "类型", "用户", "日期", "时间"}));
    EXPECT_EQ(columnNames(db(), "usys_download"), (QStringList{"address", "port", "username", "password"}));

    // Columns named after keywords work when quoted, on both engines.
    const SqlDialect &d = db().dialect();
    Query::run(db(),
               "INSERT INTO usys_dict (EField, " + d.quoteIdent("IsNull") + ", " + d.quoteIdent("Range") + ", "
                   + d.quoteIdent("readonly") + ", TableName) VALUES ('f', :HostT, 'a,b', :HostT, NULL)",
               {{":HostT", true}});
    Query q(db(), "SELECT " + d.quoteIdent("IsNull") + ", " + d.quoteIdent("Range") + " FROM usys_dict");
    ASSERT_TRUE(q.next());
    EXPECT_TRUE(q.value(0).toBool());
    EXPECT_EQ(q.value(1).toString(), "a,b");
}

TEST_P(CatalogOnEngine, IdentityColumnsNumberRowsThemselves)
{
    CreateFullCatalog(db());
    // usys_everyday.ID has no type word in the original script, and still numbers rows.
    Query::run(db(), "INSERT INTO usys_everyday (hints) VALUES ('a')");
    Query::run(db(), "INSERT INTO usys_everyday (hints) VALUES ('b')");
    EXPECT_EQ(Query::scalar(db(), "SELECT max(ID) FROM usys_everyday").toInt(), 2);
    Query::run(db(), "INSERT INTO usys_log (应用名称, 类型, 用户) VALUES ('x', '登录', 'averylonguser16c')");
    EXPECT_EQ(Query::scalar(db(), "SELECT 用户 FROM usys_log WHERE 编号 = 1").toString(), "averylonguser16c")
        << "a user name as wide as uid fits the log";
}

TEST_P(CatalogOnEngine, FailingScriptLeavesNoCatalogBehind)
{
    // A table in the way makes the script fail half-way: nothing of it may stay.
    Query::run(db(), "CREATE TABLE usys_setup (x integer)");
    EXPECT_THROW(CreateFullCatalog(db()), DbError);
    EXPECT_EQ(catalogTablesIn(db()), QStringList{"usys_setup"});
    EXPECT_TRUE(CatalogAbsent(db()));
}

TEST_P(CatalogOnEngine, SingleTableCreationOnlyWhenAbsent)
{
    EXPECT_TRUE(CreateCatalogTable(db(), CatalogTable::Users));
    Query q(db(), "SELECT uid, ulevel, pwd, descrip FROM usys_users ORDER BY id");
    const QStringList expected[] = {{"admin", "0", "", "系统用户"},
                                    {"user", "1", "\"\"", "普通用户"},
                                    {"guest", "2", "\"\"", "共享用户"}};
    for (const QStringList &row : expected) {
        ASSERT_TRUE(q.next());
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(q.value(i).toString(), row[i]);
    }
    EXPECT_FALSE(q.next());

    Query::run(db(), "DELETE FROM usys_Users WHERE uid = 'guest'");
    EXPECT_FALSE(CreateCatalogTable(db(), CatalogTable::Users)) << "present: left alone";
    EXPECT_EQ(Query::scalar(db(), "SELECT count(*) FROM usys_Users").toInt(), 2);

    for (CatalogTable t : SingleTableRoutines())
        CreateCatalogTable(db(), t);
    for (CatalogTable t : SingleTableRoutines())
        EXPECT_TRUE(db().tableExists(CatalogName(t))) << CatalogName(t).toStdString();
    EXPECT_THROW(CreateCatalogTable(db(), CatalogTable::System), DbError) << "only the ten have a routine";
}

TEST_P(CatalogOnEngine, ApplicationTitle)
{
    CreateFullCatalog(db());
    EXPECT_EQ(ReadAppTitle(db()), DefaultAppTitle());
    Query::run(db(), "INSERT INTO usys_setup VALUES ('one')");
    Query::run(db(), "INSERT INTO usys_setup VALUES ('two')");
    WriteAppTitle(db(), "  O'Brien 中学  ");
    EXPECT_EQ(Query::scalar(db(), "SELECT count(*) FROM usys_setup").toInt(), 1);
    EXPECT_EQ(ReadAppTitle(db()), "O'Brien 中学");
    WriteAppTitle(db(), "   ");
    EXPECT_EQ(ReadAppTitle(db()), "") << "a blank stored title is the library's own choice";
}

VEK_BOTH_ENGINES(CatalogOnEngine);
