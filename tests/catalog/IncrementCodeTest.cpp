#include "catalog/Catalog.h"
#include "catalog/IncrementCode.h"
#include "platform/Query.h"
#include "platform/TDModule.h"
#include "support/TestSupport.h"

using namespace vek;
using vek::test::EngineTest;

TEST(IncrementCode, CountsTheLastRunOfDigitsAndKeepsItsWidth)
{
    const struct {
        const char *code;
        const char *next;
    } cases[] = {
        {"A009", "A010"},
        {"2005-0099", "2005-0100"},
        {"A99", "A100"},
        {"12AB", "13AB"},
        {"A1B2", "A1B3"},
        {"ABC", ""},
        {"41", "42"},
        {"", "1"},
        {"9", "10"},
        {"0099", "0100"},
        {"A00009", "A00010"},
        {"A99999", "A100000"},
        {"12AB34", "12AB35"},
        {"X-9-", "X-10-"},
        {"-5", "-4"},
        {"-", ""},
        // Longer than any machine integer: still counts instead of giving up.
        {"99999999999999999999", "100000000000000000000"},
        {"K2147483647", "K2147483648"},
        // Only ASCII digits count.
        {"编号７", ""},
        {"班级07", "班级08"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(IncrementCode(QString::fromUtf8(c.code)), QString::fromUtf8(c.next)) << c.code;
    }
}

class NextTreeCodeTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        CreateFullCatalog(db());
    }
    void addCode(const QString &code)
    {
        Query::run(db(), "INSERT INTO usys_system (parent, child, AppTitle) VALUES ('0', :HostCode, :HostCode)",
                   {{":HostCode", code}});
    }
};

TEST_P(NextTreeCodeTest, RunsOneToNineThenTheLetterSeries)
{
    EXPECT_EQ(NextTreeCode(db()), "1") << "empty table";
    addCode("1");
    EXPECT_EQ(NextTreeCode(db()), "2");
    addCode("9");
    EXPECT_EQ(NextTreeCode(db()), "A00001") << "10 is replaced";
    addCode("A00001");
    addCode("A00009");
    EXPECT_EQ(NextTreeCode(db()), "A00010");
    // "A00010" sorts after "9" and before "A00011": the maximum is compared as text.
    addCode("A00010");
    EXPECT_EQ(NextTreeCode(db()), "A00011");
}

TEST_P(NextTreeCodeTest, NeverGivesACodeInUseOrAnEmptyCode)
{
    // After A99999 the text maximum stays "A99999" although A100000 exists.
    addCode("A99999");
    EXPECT_EQ(NextTreeCode(db()), "A100000");
    addCode("A100000");
    EXPECT_EQ(NextTreeCode(db()), "A100001");

    Query::run(db(), "DELETE FROM usys_system");
    addCode("ZZZ"); // imported code without digits
    EXPECT_EQ(NextTreeCode(db()), "A00001");
    addCode("A00001");
    EXPECT_EQ(NextTreeCode(db()), "A00002");
}

VEK_BOTH_ENGINES(NextTreeCodeTest);
