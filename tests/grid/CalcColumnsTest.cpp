#include "grid/CalcColumns.h"
#include "grid/RecordHint.h"
#include "platform/IniFile.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>

using namespace vek;

namespace {

// A record with a=1, b=2, a text, an empty field and a birth date.
std::optional<QString> sampleField(const QString &name)
{
    static const QMap<QString, QString> row{{"a", "1"}, {"b", "2"}, {"c", "3"}, {"xm", "张三"}, {"kong", ""},
                                            {"csrq", "2000-03-01"}, {"rq2", "2000-03-01 08:30:00"},
                                            {"bad", "2000-13-45"}, {"f", "0.1"}};
    if (!row.contains(name))
        return std::nullopt;
    return row.value(name);
}

QString eval(const QString &expression, int record = 1, QDate today = QDate(2026, 3, 2))
{
    return EvaluateCalc(CalcDef{"x", expression}, sampleField, record, today);
}

} // namespace

TEST(CalcColumns, ExpressionsAreEvaluatedStrictlyLeftToRight)
{
    struct Case {
        const char *expression;
        const char *shown;
    } cases[] = {
        {"a+b*2", "6"},          // (1+2)*2: no precedence
        {"a/b", ".50"},          // "##.00" drops the leading zero
        {"a/0", ""},             // a failing step empties the cell
        {"0/0", ""},
        {"1/3*3", "1.00"},       // each step written back with 15 digits: 0.999999999999999
        {"c-a-b", "0"},
        {" a + b ", "3"},        // operands are trimmed
        {"xm+a", "1"},           // a text that is no number counts as 0
        {"kong*2+b", "2"},
        {"nosuch+1", "1"},       // neither field nor number: 0
        {"a*2.5", "2.50"},
        {"10/4", "2.50"},
        {"a-b", "-1"},
        {"a-b*0.5", "-.50"},
        {"f+f+f", ".30"},        // 0.3 after the 15-digit round trip
        {"7", "7"},              // a lone literal
        {"c", "3"},              // a lone field
        {"xm", ""},              // a lone text has no value to show
        {"", ""},
        // Only eleven operands are used: the twelfth "+100" is ignored.
        {"1+1+1+1+1+1+1+1+1+1+1+100", "11"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(eval(QString::fromUtf8(c.expression)), QString::fromUtf8(c.shown)) << c.expression;
}

TEST(CalcColumns, RecordNumberAndAge)
{
    EXPECT_EQ(eval("序号", 3), "3");
    EXPECT_EQ(eval(" 序号 ", -7), "7");
    // Exact ages: the birthday of this year has passed once it is today or earlier.
    EXPECT_EQ(eval("now-csrq"), "26");
    EXPECT_EQ(eval("NOW - csrq", 1, QDate(2026, 3, 1)), "26");
    EXPECT_EQ(eval("now-csrq", 1, QDate(2026, 2, 28)), "25");
    EXPECT_EQ(eval("now-rq2"), "26"); // a date-time text is read by its date
    EXPECT_EQ(eval("now-bad"), "");
    EXPECT_EQ(eval("now-xm"), "");
    EXPECT_EQ(eval("now-nosuch"), "");
    EXPECT_EQ(eval("now"), "");

    EXPECT_EQ(AgeOn(QDate(2000, 3, 1), QDate(2026, 3, 2)), 26);
    EXPECT_EQ(AgeOn(QDate(2000, 2, 29), QDate(2025, 2, 28)), 24);
    EXPECT_EQ(AgeOn(QDate(2000, 2, 29), QDate(2025, 3, 1)), 25);
    EXPECT_EQ(AgeOn(QDate(2000, 12, 31), QDate(2001, 1, 1)), 0);
}

TEST(CalcColumns, FormatsOfStepsAndResults)
{
    EXPECT_EQ(CalcStepText(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(CalcStepText(0.1 + 0.2), "0.3");
    EXPECT_EQ(CalcStepText(-0.0), "0");
    EXPECT_EQ(FormatHashDot00(0.5), ".50");
    EXPECT_EQ(FormatHashDot00(12.345), "12.35");
    EXPECT_EQ(FormatHashDot00(1234.5), "1234.50");
    EXPECT_EQ(FormatHashDot00(-0.25), "-.25");
    EXPECT_EQ(FormatHashDot00(0.001), ".00");
}

TEST(CalcColumns, DefinitionsAreReadFromTheResourcesSection)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("vek2000.Ini");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[学生档案]\r\ncalcfieldcount=13\r\nCalcField0=总分:语文+数学\r\nCalcField1=语文*2\r\n"
            "CalcField2=时间:a:b\r\nCalcField4=\r\n");
    f.close();
    IniFile ini(path);

    const QList<CalcDef> defs = ReadCalcDefs(ini, "学生档案");
    ASSERT_EQ(defs.size(), MaxCalcColumns); // the count is capped at eleven
    EXPECT_EQ(defs[0].caption, "总分");
    EXPECT_EQ(defs[0].expression, "语文+数学");
    EXPECT_EQ(defs[1].caption, "计算2"); // no ":": the whole setting is the expression
    EXPECT_EQ(defs[1].expression, "语文*2");
    EXPECT_EQ(defs[2].caption, "时间");  // split at the first ":" only
    EXPECT_EQ(defs[2].expression, "a:b");
    EXPECT_EQ(defs[3].caption, "计算4"); // missing key: the default text
    EXPECT_EQ(defs[4].expression, "");
    EXPECT_EQ(EvaluateCalc(defs[4], sampleField, 1, QDate(2026, 1, 1)), "");

    EXPECT_TRUE(ReadCalcDefs(ini, "别的").isEmpty());
}

TEST(RecordTexts, HintCountLabelAndSortSteps)
{
    QList<QPair<QString, QString>> lines{{"姓名", "张三"}, {"照片", PictureHintValue(true)}};
    EXPECT_EQ(RecordHintText(lines), QStringLiteral("【姓名】\u2236张三\r\n【照片】\u2236(包含图片)"));
    EXPECT_EQ(PictureHintValue(false), "(无图片)");
    EXPECT_EQ(OleHintValue(false), "(不包含OLE对象)");

    QList<QPair<QString, QString>> many;
    for (int i = 0; i < 61; ++i)
        many << qMakePair(QString("f%1").arg(i), QString::number(i));
    const QStringList hint = RecordHintText(many).split("\r\n");
    ASSERT_EQ(hint.size(), 61);
    EXPECT_EQ(hint[59], QStringLiteral("【f59】\u223659"));
    EXPECT_EQ(hint[60], "......");
    many.removeLast();
    EXPECT_EQ(RecordHintText(many).split("\r\n").size(), 60);

    EXPECT_EQ(RecordCountLabel("", 123), "记录数:123");
    EXPECT_EQ(RecordCountLabel("学生数", 0), "学生数:0");

    SortStep s = NextSort(SortMark::None, "\"xm\"", false);
    EXPECT_EQ(s.orderBy, "\"xm\" ASC");
    s = NextSort(s.mark, "\"xm\"", false);
    EXPECT_EQ(s.orderBy, "\"xm\" DESC");
    EXPECT_EQ(s.mark, SortMark::Descending);
    s = NextSort(s.mark, "\"xm\"", false);
    EXPECT_EQ(s.orderBy, "\"xm\" ASC"); // clicking again alternates
    s = NextSort(s.mark, "\"xm\"", true);
    EXPECT_EQ(s.mark, SortMark::None);
    EXPECT_TRUE(s.orderBy.isEmpty());
}
