#include "security/SecurityFixture.h"
#include "security/UserAccounts.h"

#include "catalog/Catalog.h"

using namespace vek;
using vek::test::addUser;
using vek::test::storedPassword;

namespace {

const QVariant kNull{QMetaType::fromType<QString>()};

class UserAccountsTest : public test::SecurityTest {};

class DefaultAccounts : public test::SecurityTest {
protected:
    bool withCatalog() const override { return false; }
};

} // namespace

TEST_P(DefaultAccounts, OnlyAdminWithTheEmptyPasswordLogsIn)
{
    ASSERT_TRUE(CreateCatalogTable(db(), CatalogTable::Users));
    UserAccounts accounts(db());
    EXPECT_EQ(accounts.userList(), (QStringList{"admin", "user", "guest"}));

    const auto admin = accounts.checkPassword("admin", "");
    ASSERT_TRUE(admin);
    EXPECT_EQ(admin->level, 0);
    struct Case {
        const char *name;
        QString password;
    };
    for (const Case &c : {Case{"admin", "x"}, Case{"user", ""}, Case{"user", "\"\""}, Case{"user", QStringLiteral("Ё")},
                          Case{"guest", ""}, Case{"guest", QStringLiteral("Ё")}})
        EXPECT_FALSE(accounts.login(c.name, c.password)) << c.name << " / " << c.password.toStdString();
}

TEST_P(UserAccountsTest, EmptyPasswordOpensOnlyAccountsWithoutOne)
{
    addUser(db(), "nullpw", kNull);
    addUser(db(), "emptypw", QString(""));
    addUser(db(), "hashed", PasswordHash::hash("pw1"));
    addUser(db(), "legacy", PasswordHash::legacyForm("pw1"));
    UserAccounts accounts(db());
    for (const char *name : {"nullpw", "emptypw", "admin"}) {
        EXPECT_TRUE(accounts.checkPassword(name, "")) << name;
        EXPECT_FALSE(accounts.checkPassword(name, "pw1")) << name;
    }
    for (const char *name : {"hashed", "legacy"}) {
        EXPECT_FALSE(accounts.checkPassword(name, "")) << name;
        EXPECT_TRUE(accounts.checkPassword(name, "pw1")) << name;
    }
}

TEST_P(UserAccountsTest, NameMustMatchExactly)
{
    addUser(db(), "bob   ", PasswordHash::hash("pw"), "1", QStringLiteral("教师    "));
    UserAccounts accounts(db());
    EXPECT_FALSE(accounts.checkPassword("Admin", ""));
    EXPECT_FALSE(accounts.checkPassword("ADMIN", ""));
    EXPECT_FALSE(accounts.checkPassword("", ""));
    EXPECT_FALSE(accounts.checkPassword("Bob", "pw"));

    // Blanks a fixed-width column kept are not part of the name.
    const auto bob = accounts.checkPassword("bob", "pw");
    ASSERT_TRUE(bob);
    EXPECT_EQ(bob->name, "bob");
    EXPECT_EQ(bob->group, QStringLiteral("教师"));
}

TEST_P(UserAccountsTest, TwoAccountsDifferingInCaseAreKeptApart)
{
    addUser(db(), "bob", PasswordHash::hash("lower"));
    addUser(db(), "Bob", PasswordHash::hash("upper"));
    UserAccounts accounts(db());
    EXPECT_TRUE(accounts.checkPassword("Bob", "upper"));
    EXPECT_FALSE(accounts.checkPassword("Bob", "lower"));

    EXPECT_EQ(accounts.setPassword("bob", "new"), 1);
    EXPECT_TRUE(accounts.checkPassword("bob", "new"));
    EXPECT_TRUE(accounts.checkPassword("Bob", "upper"));
}

TEST_P(UserAccountsTest, OnlyTheThreeKnownLevelsAreTakenAsStored)
{
    struct Case {
        QVariant stored;
        int level;
    };
    const QList<Case> cases = {{"0", 0}, {"1", 1}, {"2", 2}, {kNull, 1}, {"", 1}, {"9", 1}, {"x", 1}};
    UserAccounts accounts(db());
    int n = 0;
    for (const Case &c : cases) {
        const QString name = QString("u%1").arg(n++);
        addUser(db(), name, QString(""), c.stored);
        const auto u = accounts.checkPassword(name, "");
        ASSERT_TRUE(u) << name.toStdString();
        EXPECT_EQ(u->level, c.level) << "stored level " << c.stored.toString().toStdString();
    }
}

TEST_P(UserAccountsTest, LegacyPasswordIsReplacedByAHashAtLogin)
{
    const QString legacy = PasswordHash::legacyForm("oldpw7");
    addUser(db(), "carol", legacy);
    UserAccounts accounts(db());

    // A check alone writes nothing.
    ASSERT_TRUE(accounts.checkPassword("carol", "oldpw7"));
    EXPECT_EQ(storedPassword(db(), "carol").toString(), legacy);

    EXPECT_FALSE(accounts.login("carol", "oldpw8"));
    EXPECT_EQ(storedPassword(db(), "carol").toString(), legacy);

    ASSERT_TRUE(accounts.login("carol", "oldpw7"));
    const QString now = storedPassword(db(), "carol").toString();
    EXPECT_TRUE(PasswordHash::isHash(now)) << now.toStdString();
    EXPECT_TRUE(accounts.login("carol", "oldpw7"));
    EXPECT_EQ(storedPassword(db(), "carol").toString(), now); // hashed once, then left alone
    EXPECT_FALSE(accounts.login("carol", "oldpw8"));
}

TEST_P(UserAccountsTest, ExistenceAndListOfUsers)
{
    addUser(db(), "bob  ", kNull);
    addUser(db(), QStringLiteral("张老师"), kNull);
    UserAccounts accounts(db());
    EXPECT_EQ(accounts.userList(), (QStringList{"admin", "bob", QStringLiteral("张老师")}));
    EXPECT_TRUE(accounts.userExists("admin"));
    EXPECT_TRUE(accounts.userExists("ADMIN"));
    EXPECT_TRUE(accounts.userExists("bob"));
    EXPECT_TRUE(accounts.userExists(QStringLiteral("张老师")));
    EXPECT_FALSE(accounts.userExists("nobody"));
    EXPECT_FALSE(accounts.userExists(""));
}

TEST_P(UserAccountsTest, SetPasswordStoresAHashOrTheEmptyText)
{
    UserAccounts accounts(db());
    ASSERT_EQ(accounts.setPassword("admin", "s3cret"), 1);
    EXPECT_TRUE(PasswordHash::isHash(storedPassword(db(), "admin").toString()));
    EXPECT_TRUE(accounts.checkPassword("admin", "s3cret"));
    EXPECT_FALSE(accounts.checkPassword("admin", ""));

    ASSERT_EQ(accounts.setPassword("admin", ""), 1);
    const QVariant stored = storedPassword(db(), "admin");
    EXPECT_FALSE(stored.isNull());
    EXPECT_EQ(stored.toString(), "");
    EXPECT_TRUE(accounts.checkPassword("admin", ""));

    EXPECT_EQ(accounts.setPassword("nobody", "x"), 0);
}

VEK_BOTH_ENGINES(DefaultAccounts);
VEK_BOTH_ENGINES(UserAccountsTest);
