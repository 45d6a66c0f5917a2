#include "dictionary/NumberFormat.h"

#include <gtest/gtest.h>

using vek::NumberFormat;

namespace {

struct FormatCase {
    const char *pattern;
    double value;
    const char *text;
};

void PrintTo(const FormatCase &c, std::ostream *os)
{
    *os << '"' << c.pattern << "\" " << c.value;
}

} // namespace

class NumberFormatCases : public ::testing::TestWithParam<FormatCase> {};

TEST_P(NumberFormatCases, Formats)
{
    const FormatCase c = GetParam();
    EXPECT_EQ(NumberFormat::format(c.value, QString::fromUtf8(c.pattern)).toStdString(), std::string(c.text));
}

// The four values 1234, -1234, 0.5 and 0 through the classic patterns.
INSTANTIATE_TEST_SUITE_P(Classic, NumberFormatCases, ::testing::Values(
    FormatCase{"", 1234, "1234"}, FormatCase{"", -1234, "-1234"}, FormatCase{"", 0.5, "0.5"}, FormatCase{"", 0, "0"},
    FormatCase{"", 0.1 + 0.2, "0.3"},
    FormatCase{"0", 1234, "1234"}, FormatCase{"0", -1234, "-1234"}, FormatCase{"0", 0.5, "1"}, FormatCase{"0", 0, "0"},
    FormatCase{"0.00", 1234, "1234.00"}, FormatCase{"0.00", -1234, "-1234.00"}, FormatCase{"0.00", 0.5, "0.50"},
    FormatCase{"0.00", 0, "0.00"},
    FormatCase{"#.##", 1234, "1234"}, FormatCase{"#.##", -1234, "-1234"}, FormatCase{"#.##", 0.5, ".5"},
    FormatCase{"#.##", 0, ""},
    FormatCase{"#,##0.00", 1234, "1,234.00"}, FormatCase{"#,##0.00", -1234, "-1,234.00"},
    FormatCase{"#,##0.00", 0.5, "0.50"}, FormatCase{"#,##0.00", 0, "0.00"},
    FormatCase{"#,##0.00;(#,##0.00)", -1234, "(1,234.00)"}, FormatCase{"#,##0.00;(#,##0.00)", 1234, "1,234.00"},
    FormatCase{"#,##0.00;;Zero", 0, "Zero"}, FormatCase{"#,##0.00;;Zero", -1234, "-1,234.00"},
    FormatCase{"#,##0.00;;Zero", 0.001, "Zero"}));

// The dictionary window's sample patterns: grouping is always by three.
INSTANTIATE_TEST_SUITE_P(Samples, NumberFormatCases, ::testing::Values(
    FormatCase{"###,###,###", 123456789, "123,456,789"}, FormatCase{"###,###,###", 1234567.891, "1,234,568"},
    FormatCase{"###,###,###", 0, ""}, FormatCase{"###,###,###", -12, "-12"},
    FormatCase{"###,###,###.##$", 1234.5, "1,234.5$"}, FormatCase{"###,###,###.##$", -1234.567, "-1,234.57$"},
    FormatCase{"$###,###,###.#", 999.96, "$1,000"}, FormatCase{"$###,###,###.#", -5.5, "-$5.5"},
    FormatCase{"$##,##,##,###", 123456789, "$123,456,789"},
    FormatCase{"##,##,##,###.#￥", 9876.55, "9,876.6￥"},
    FormatCase{"￥###,###,###", 1234567890123, "￥1,234,567,890,123"}, // more digits than places
    FormatCase{"￥###,###,###", 100, "￥100"}));

// Rounding is half away from zero on the value's 15 significant digits.
INSTANTIATE_TEST_SUITE_P(Rounding, NumberFormatCases, ::testing::Values(
    FormatCase{"0.0", 2.25, "2.3"}, FormatCase{"0.0", -2.25, "-2.3"}, FormatCase{"0.00", 2.675, "2.68"},
    FormatCase{"0.00", 1.005, "1.01"}, FormatCase{"0.000", 3.14159, "3.142"}, FormatCase{"0.000", -0.0004, "0.000"},
    FormatCase{"0", -0.4, "0"}, FormatCase{"0", 999.5, "1000"}, FormatCase{"#,##0", 999999.5, "1,000,000"},
    FormatCase{"0.00", 0.006, "0.01"}, FormatCase{"0.##", 1.0, "1"}, FormatCase{"0.0#", 1.5, "1.5"},
    FormatCase{"0.0#", 1.256, "1.26"}, FormatCase{"##.00", 0.5, ".50"}, FormatCase{"000", 7, "007"},
    FormatCase{"'No.'000", 7, "No.007"}, FormatCase{"0.00", 1e20, "100000000000000000000.00"}));

TEST(NumberFormatValues, NullTextAndNumbersInText)
{
    EXPECT_EQ(NumberFormat::format(QVariant(), "0.0"), "");
    EXPECT_EQ(NumberFormat::format(QVariant("abc"), "0.0"), "abc");
    EXPECT_EQ(NumberFormat::format(QVariant("3.14159"), "0.00"), "3.14");
    EXPECT_EQ(NumberFormat::format(QVariant(qlonglong(1234567)), "###,###,###"), "1,234,567");
}

// Editing shows every digit: a value edited and saved keeps its decimals.
TEST(NumberFormatValues, EditTextKeepsFullPrecision)
{
    EXPECT_EQ(NumberFormat::editText(1234.5678), "1234.5678");
    EXPECT_EQ(NumberFormat::editText(0.1), "0.1");
    EXPECT_EQ(NumberFormat::editText(-0.000125), "-0.000125");
    EXPECT_EQ(NumberFormat::editText(1234567.0), "1234567");
    EXPECT_EQ(NumberFormat::editText(1e20), "100000000000000000000");
    EXPECT_EQ(NumberFormat::editText(0.0), "0");
    EXPECT_EQ(NumberFormat::editText(QVariant(qlonglong(12345678901234567))), "12345678901234567");
    EXPECT_EQ(NumberFormat::editText(QVariant()), "");
    EXPECT_EQ(NumberFormat::editText(1234.5678).toDouble(), 1234.5678);
}

TEST(DisplayFormatSamples, MapToPatterns)
{
    struct Case {
        const char *sample;
        const char *digit;
        const char *pattern;
    } cases[] = {
        {"123,456,789", "2", "###,###,###"},          {"$123,456,789", "2", "$###,###,###.##"},
        {"123,456,789$", "2", "###,###,###.##$"},     {"$12,34,56,789", "2", "$##,##,##,###"},
        {"12,34,56,789$", "2", "##,##,##,###.##$"},   {"￥123,456,789", "2", "￥###,###,###"},
        {"123,456,789￥", "2", "###,###,###.##￥"},   {"￥12,34,56,789", "2", "￥##,##,##,###"},
        {"12,34,56,789￥", "2", "##,##,##,###.##￥"}, {"123,456,789$", "", "###,###,###$"},
        {"123,456,789$", "0", "###,###,###$"},        {"123,456,789$", "x", "###,###,###$"},
        {" $123,456,789 ", "3", "$###,###,###.###"},  {"0.000", "2", "0.000"},
        {"", "2", ""},                                {"  ", "", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NumberFormat::patternForSample(QString::fromUtf8(c.sample), QString::fromUtf8(c.digit)),
                  QString::fromUtf8(c.pattern))
            << c.sample << " / " << c.digit;
}
