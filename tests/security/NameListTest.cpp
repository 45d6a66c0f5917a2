#include "security/RightsFixture.h"

#include "security/NameList.h"
#include "security/NamePickerModel.h"

using namespace vek;
using vek::test::RightsFixture;

TEST(NameList, WritesPaddedSlotsAnEmptyLineThenGroups)
{
    const NameList list{{"bob", "张三"}, {"教师组"}};
    EXPECT_EQ(list.toText(), QString("bob") + QString(13, ' ') + "\r\n" + "张三" + QString(14, ' ') + "\r\n\r\n"
                                 + "教师组" + QString(13, ' ') + "\r\n");
    EXPECT_EQ(NameList::parse(list.toText()), list);

    // Without groups the empty line still ends the users; a long name is never cut.
    const NameList usersOnly{{"averyverylonguserid"}, {}};
    EXPECT_EQ(usersOnly.toLines(), (QStringList{"averyverylonguserid", ""}));
    EXPECT_EQ(NameList::parse(usersOnly.toText()), usersOnly);
    EXPECT_EQ(NameList::pad("  x "), QString("x") + QString(15, ' '));
}

TEST(NameList, ReadsTheFormsStoredTextsTake)
{
    struct Case {
        const char *name;
        QString text;
        QStringList users;
        QStringList groups;
    } cases[] = {
        {"LF breaks, no final break", "bob             \nann\n\n教师组", {"bob", "ann"}, {"教师组"}},
        {"users only, as sent messages store them", "ann             \r\nbob             \r\n", {"ann", "bob"}, {}},
        {"groups only", "\r\n一年级          \r\n\r\n二年级\r\n", {}, {"一年级", "二年级"}},
        {"empty", "", {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const NameList l = NameList::parse(c.text);
        EXPECT_EQ(l.users, c.users);
        EXPECT_EQ(l.groups, c.groups);
    }
}

TEST(NameList, AddressesNamedUsersAndMembersOfNamedGroups)
{
    const NameList list{{"Bob"}, {"教师组"}};
    EXPECT_TRUE(list.addresses("bob", "学生组"));
    EXPECT_TRUE(list.addresses("carol", "教师组"));
    EXPECT_FALSE(list.addresses("carol", "学生组"));
    EXPECT_FALSE(list.addresses("carol", ""));
    // A longer id that begins with a listed one is another user.
    EXPECT_FALSE((NameList{{"bob"}, {}}.addresses("bobby", "")));
    EXPECT_TRUE(NameList().addresses("anyone", "")); // a message to all stores no names
}

class NameListOnEngine : public RightsFixture {
protected:
    void SetUp() override
    {
        RightsFixture::SetUp();
        if (IsSkipped())
            return;
        addUser("zhang", "1", "教师组");
        addUser("Li", "1", "教师组");
        addUser("wang", "1", "学生组");
        addUser("zhao", "2");
        Query::run(db(), "INSERT INTO usys_usergroup (GroupName) VALUES ('学生组'), ('教师组')");
    }
};

TEST_P(NameListOnEngine, RecipientsExpandGroupsEachUserOnce)
{
    const NameList list{{"wang", "ZHANG"}, {"教师组"}};
    EXPECT_EQ(list.recipients(db()), (QStringList{"Li", "wang", "zhang"}));
    EXPECT_EQ(NameList({{"zhao"}, {"无此组"}}).recipients(db()), QStringList{"zhao"});
}

TEST_P(NameListOnEngine, PickerTicksWhatTheListNames)
{
    NamePickerModel m(db());
    m.load(NameList{{"LI", "nobody"}, {"学生组"}});
    QStringList users, ticked;
    for (const auto &e : m.users()) {
        users << e.name;
        if (e.checked)
            ticked << e.name;
    }
    EXPECT_EQ(users, (QStringList{"admin", "zhang", "Li", "wang", "zhao"}));
    EXPECT_EQ(ticked, QStringList{"Li"});
    ASSERT_EQ(m.groups().size(), 2);
    const int students = m.groups().at(0).name == "学生组" ? 0 : 1;
    EXPECT_TRUE(m.groups().at(students).checked);
    EXPECT_FALSE(m.groups().at(1 - students).checked);
    m.setUserChecked(0, true);
    m.setGroupChecked(students, false);
    m.setGroupChecked(1 - students, true);
    EXPECT_EQ(m.result(), (NameList{{"admin", "Li"}, {"教师组"}}));
}

VEK_BOTH_ENGINES(NameListOnEngine);
