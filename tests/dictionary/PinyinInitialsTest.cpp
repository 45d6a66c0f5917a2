#include "dictionary/PinyinInitials.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QMap>
#include <QStringDecoder>
#include <QStringEncoder>

using vek::FilterByInitials;
using vek::GetInitial;
using vek::matchesInitials;

namespace {

// The character of a two-byte GB2312 code, decoded with the same codec the routines use.
QString fromGb(int h, int l)
{
    QStringDecoder decoder("GB18030");
    const char bytes[2] = {char(h), char(l)};
    return decoder(QByteArrayView(bytes, 2));
}

QString fromArea(int area)
{
    return fromGb(area / 100 + 0xA0, area % 100 + 0xA0);
}

std::string initial(const QString &s)
{
    return GetInitial(s).toStdString();
}

} // namespace

// The routines take a character's GB code from QStringEncoder("GB18030"): Qt 6.4 as built
// here (with ICU) must support that codec, both ways.
TEST(PinyinCodec, Gb18030IsSupported)
{
    QStringEncoder encoder("GB18030");
    ASSERT_TRUE(encoder.isValid()) << "Qt has no GB18030 codec on this machine";
    EXPECT_EQ(QByteArray(encoder(QStringLiteral("人民日报"))).toHex(), QByteArray("c8cbc3f1c8d5b1a8"));
    EXPECT_EQ(QByteArray(encoder(QStringLiteral("啊"))).toHex(), QByteArray("b0a1"));
    EXPECT_EQ(QByteArray(encoder(QStringLiteral("亍"))).toHex(), QByteArray("d8a1"));
    EXPECT_EQ(QByteArray(encoder(QStringLiteral("齄"))).toHex(), QByteArray("f7fe"));
    EXPECT_FALSE(encoder.hasError());

    QStringDecoder decoder("GB18030");
    ASSERT_TRUE(decoder.isValid());
    EXPECT_EQ(QString(decoder(QByteArray::fromHex("c8cbc3f1c8d5b1a8"))), QStringLiteral("人民日报"));
    EXPECT_EQ(fromArea(1601), QStringLiteral("啊"));
}

TEST(GetInitial, KnownExamples)
{
    EXPECT_EQ(initial(QStringLiteral("啊")), "A"); // area code 1601
    EXPECT_EQ(initial(QStringLiteral("澳")), "A"); // 1636
    EXPECT_EQ(initial(QStringLiteral("芭")), "B"); // 1637
    EXPECT_EQ(initial(QStringLiteral("座")), "Z"); // 5589, the last level-1 character
    EXPECT_EQ(initial(QStringLiteral("亍")), "C"); // first level-2 entry
    EXPECT_EQ(initial(QStringLiteral("齄")), "Z"); // last level-2 entry
    EXPECT_EQ(initial(QStringLiteral("丨")), "[");
    EXPECT_EQ(initial(QStringLiteral("，")), "?"); // full-width symbol
    EXPECT_EQ(initial(QStringLiteral("人")), "R");
    EXPECT_EQ(vek::initialsOf(QStringLiteral("人民日报")), QStringLiteral("RMRB"));
}

// Zone-56 examples: 亍 C, 丌 J, 兀 W, 丐 G, 廿 N, …, 丨 [, 禺 Y, 丿 [, 匕 B.
TEST(GetInitial, Zone56Examples)
{
    const std::pair<const char16_t *, const char *> cases[] = {
        {u"亍", "C"}, {u"丌", "J"}, {u"兀", "W"}, {u"丐", "G"}, {u"廿", "N"},
        {u"丨", "["}, {u"禺", "Y"}, {u"丿", "["}, {u"匕", "B"}, {u"丶", "["},
        {u"匚", "["}, {u"刂", "["}, {u"冂", "["}, {u"亻", "["},
    };
    for (const auto &[ch, letter] : cases)
        EXPECT_EQ(initial(QString::fromUtf16(ch)), letter) << QString::fromUtf16(ch).toStdString();
}

// ASCII letters and digits are their own initials (letters in capitals),
// anything that is not a GB2312 hanzi gives "?".
TEST(GetInitial, CharactersNotBytePairs)
{
    EXPECT_EQ(initial("a"), "A");
    EXPECT_EQ(initial("z"), "Z");
    EXPECT_EQ(initial("Q"), "Q");
    EXPECT_EQ(initial("0"), "0");
    EXPECT_EQ(initial("7"), "7");
    EXPECT_EQ(initial(" "), "?");
    EXPECT_EQ(initial("-"), "?");
    EXPECT_EQ(initial("?"), "?");
    EXPECT_EQ(initial("["), "?");
    EXPECT_EQ(initial(QStringLiteral("α")), "?");  // GB2312 zone 6, not a hanzi
    EXPECT_EQ(initial(QStringLiteral("Ａ")), "?"); // full-width letter
    EXPECT_EQ(initial(QStringLiteral("é")), "?");
    EXPECT_EQ(initial(QStringLiteral("們")), "?"); // GBK 82 83, outside GB2312
    EXPECT_EQ(initial(QStringLiteral("犇")), "?"); // GBK A0 C4
    // GBK-only characters with a trail byte below 0xA1, to which the area-code formulas alone
    // would give a letter (盄 B1 40 has area code 1604, 贎 DA 40 has k = 92).
    EXPECT_EQ(initial(QStringLiteral("盄")), "?");
    EXPECT_EQ(initial(QStringLiteral("贎")), "?");
    EXPECT_EQ(initial(QStringLiteral("鳣")), "?");
    EXPECT_EQ(initial(QString::fromUcs4(U"\U00020000")), "?"); // beyond the BMP, one character
    EXPECT_EQ(GetInitial(char32_t(0xD800)), QLatin1Char('?'));  // a lone surrogate
    // The text form takes exactly one character.
    EXPECT_EQ(initial(""), "?");
    EXPECT_EQ(initial(QStringLiteral("人民")), "?");
    EXPECT_EQ(GetInitial(U'民'), QLatin1Char('M'));
}

// Each level-1 range, at both ends.
TEST(GetInitial, Level1RangesAtBothEnds)
{
    struct Range {
        char letter;
        int from, to;
    };
    const Range ranges[] = {
        {'A', 1601, 1636}, {'B', 1637, 1832}, {'C', 1833, 2077}, {'D', 2078, 2273},
        {'E', 2274, 2301}, {'F', 2302, 2432}, {'G', 2433, 2593}, {'H', 2594, 2786},
        {'J', 2787, 3105}, {'K', 3106, 3211}, {'L', 3212, 3471}, {'M', 3472, 3634},
        {'N', 3635, 3721}, {'O', 3722, 3729}, {'P', 3730, 3857}, {'Q', 3858, 4026},
        {'R', 4027, 4085}, {'S', 4086, 4389}, {'T', 4390, 4557}, {'W', 4558, 4683},
        {'X', 4684, 4924}, {'Y', 4925, 5248}, {'Z', 5249, 5589},
    };
    int expectedFrom = 1601;
    for (const Range &r : ranges) {
        SCOPED_TRACE(r.letter);
        EXPECT_EQ(r.from, expectedFrom);
        expectedFrom = r.to + 1;
        EXPECT_EQ(initial(fromArea(r.from)), std::string(1, r.letter));
        EXPECT_EQ(initial(fromArea(r.to)), std::string(1, r.letter));
    }
}

// Every level-1 code gives a letter; the five empty codes at the end of zone 55
// (D7FA..D7FE) and every non-hanzi zone give "?".
TEST(GetInitial, EveryLevel1Character)
{
    for (int area = 1601; area <= 5594; ++area) {
        if (area % 100 == 0 || area % 100 > 94)
            continue;
        const QString ch = fromArea(area);
        const QChar c = GetInitial(ch)[0];
        if (area <= 5589)
            ASSERT_TRUE(c >= QLatin1Char('A') && c <= QLatin1Char('Z')) << area;
        else
            ASSERT_EQ(c, QLatin1Char('?')) << area;
    }
    for (int zone = 1; zone <= 9; ++zone) {
        for (int pos = 1; pos <= 94; ++pos) {
            const QString ch = fromGb(0xA0 + zone, 0xA0 + pos);
            if (ch.size() == 1 && ch[0].unicode() < 0x80)
                continue; // a code the codec maps to ASCII (none expected)
            ASSERT_EQ(GetInitial(ch), QStringLiteral("?")) << zone << "/" << pos;
        }
    }
}

TEST(Level2Table, ShapeAndZone56)
{
    const QLatin1StringView table = vek::level2InitialsTable();
    ASSERT_EQ(table.size(), 3008);
    EXPECT_EQ(QString(table.first(94)),
              QStringLiteral("CJWGNSPGCGNE[Y[BTYYZDXYKYGT[JNNJQMBSGZSCYJSYY[PGKBZGY[YWJKGKLJYW"
                             "KPJQHY[W[DZLSGMRYPYWWCCKZNKYYG"));
    QMap<QChar, int> counts;
    for (QChar c : table)
        ++counts[c];
    for (QChar c : table)
        ASSERT_TRUE((c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || c == QLatin1Char('['));
    EXPECT_EQ(counts.value(QLatin1Char('I')), 0);
    EXPECT_EQ(counts.value(QLatin1Char('U')), 0);
    EXPECT_EQ(counts.value(QLatin1Char('V')), 0);
    EXPECT_EQ(table.back(), QLatin1Char('Z')); // 齄
    // Our "[" entries: the seven of zone 56 and 25 side forms of later zones.
    EXPECT_EQ(counts.value(QLatin1Char('[')), 32);
}

// Entry k belongs to the character with h * 94 + l - 20464 = k: every level-2
// character, decoded from its code, gives its entry.
TEST(Level2Table, EveryLevel2CharacterGivesItsEntry)
{
    const QLatin1StringView table = vek::level2InitialsTable();
    for (int h = 0xD8; h <= 0xF7; ++h) {
        for (int l = 0xA1; l <= 0xFE; ++l) {
            const int k = h * 94 + l - 20464;
            ASSERT_EQ(GetInitial(fromGb(h, l)), QString(table[k - 1])) << std::hex << h << l;
        }
    }
    // A few common level-2 characters beyond zone 56.
    EXPECT_EQ(initial(QStringLiteral("鑫")), "X");
    EXPECT_EQ(initial(QStringLiteral("琪")), "Q");
    EXPECT_EQ(initial(QStringLiteral("淼")), "M");
    EXPECT_EQ(initial(QStringLiteral("邕")), "Y");
    EXPECT_EQ(initial(QStringLiteral("氵")), "[");
    EXPECT_EQ(initial(QStringLiteral("扌")), "[");
}

TEST(MatchesInitials, RenMinRiBao)
{
    const QString item = QStringLiteral("人民日报");
    EXPECT_TRUE(matchesInitials(item, "rmrb"));
    EXPECT_TRUE(matchesInitials(item, "RMRB"));
    EXPECT_TRUE(matchesInitials(item, "rm?b"));
    EXPECT_TRUE(matchesInitials(item, "Rm b"));
    EXPECT_TRUE(matchesInitials(item, "rm"));  // prefix match
    EXPECT_TRUE(matchesInitials(item, ""));
    EXPECT_FALSE(matchesInitials(item, "rmrbx")); // the item has four characters
    EXPECT_FALSE(matchesInitials(item, "rmrbb"));
    EXPECT_FALSE(matchesInitials(item, "rmbr"));
    EXPECT_FALSE(matchesInitials(item, "mr"));
    EXPECT_FALSE(matchesInitials(item, QStringLiteral("人民"))); // typed hanzi are no initials
    // Full-width wildcards, as typed in a Chinese input method's full-width mode.
    EXPECT_TRUE(matchesInitials(item, QStringLiteral("rm？b")));
    EXPECT_TRUE(matchesInitials(item, QStringLiteral("rm\u3000b")));
}

TEST(MatchesInitials, WildcardsMatchEveryItem)
{
    const QStringList items = {QStringLiteral("人"), QStringLiteral("人民日报"), "a", QStringLiteral("丨"),
                               QStringLiteral("，")};
    for (const QString &item : items) {
        for (const char *typed : {"?", "  ", "?? ?", "??????"})
            EXPECT_TRUE(matchesInitials(item, typed)) << item.toStdString() << " / " << typed;
    }
    // An item that is empty after trimming matches any typed text.
    EXPECT_TRUE(matchesInitials("", "abc"));
    EXPECT_TRUE(matchesInitials("   ", "rmrb"));
    EXPECT_TRUE(matchesInitials(QStringLiteral(" \t "), "x"));
}

TEST(MatchesInitials, RadicalMatchesOnlyAWildcard)
{
    const QString item = QStringLiteral("丨");
    for (const char *typed : {"A", "G", "Z", "[", "?"}) {
        const bool wildcard = QByteArray(typed) == "?";
        EXPECT_EQ(matchesInitials(item, typed), wildcard) << typed;
    }
    EXPECT_TRUE(matchesInitials(QStringLiteral("丨人"), "?r"));
    EXPECT_FALSE(matchesInitials(QStringLiteral("丨人"), "gr"));
}

// Characters, not byte pairs, replace the legacy rule "an item that
// begins with a Latin letter matches nothing but wildcards": an ASCII letter matches
// itself, in either case, and a digit matches itself.
TEST(MatchesInitials, AsciiCharactersAreTheirOwnInitials)
{
    EXPECT_TRUE(matchesInitials("a", "a"));
    EXPECT_TRUE(matchesInitials("a", "A"));
    EXPECT_TRUE(matchesInitials("Abc", "abc"));
    EXPECT_FALSE(matchesInitials("abc", "abd"));
    EXPECT_TRUE(matchesInitials(QStringLiteral("A区办公室"), "aqbgs"));
    EXPECT_TRUE(matchesInitials(QStringLiteral("A区办公室"), "AQ"));
    EXPECT_TRUE(matchesInitials(QStringLiteral("3班"), "3b"));
    EXPECT_FALSE(matchesInitials(QStringLiteral("3班"), "4b"));
    EXPECT_TRUE(matchesInitials(QStringLiteral("人民2"), "rm2"));
    // Anything else has the initial "?", which only a wildcard matches.
    EXPECT_TRUE(matchesInitials("a-b", "a?b"));
    EXPECT_FALSE(matchesInitials("a-b", "a-b"));
    EXPECT_FALSE(matchesInitials(QStringLiteral("，人"), QStringLiteral("，r")));
    EXPECT_TRUE(matchesInitials(QStringLiteral("，人"), "?r"));
    // One unit per character, also beyond the BMP: 𠀀 is one position.
    EXPECT_TRUE(matchesInitials(QString::fromUcs4(U"\U00020000人"), "?r"));
}

TEST(FilterByInitials, AppendsMatchesWithCr)
{
    const QStringList items = {QStringLiteral("人民日报"), QStringLiteral("日报"), QStringLiteral("人民网"),
                               QStringLiteral("人民医院"), "RM"};
    EXPECT_EQ(FilterByInitials(items, "rm"),
              QStringLiteral("人民日报\r人民网\r人民医院\rRM"));
    EXPECT_EQ(FilterByInitials(items, "rm?b"), QStringLiteral("人民日报"));
    EXPECT_EQ(FilterByInitials(items, "rmrb"), QStringLiteral("人民日报"));
    // Appends to a result that is not empty, after a CR (never CR LF).
    EXPECT_EQ(FilterByInitials(items, "rb", QStringLiteral("前")), QStringLiteral("前\r日报"));
    EXPECT_FALSE(FilterByInitials(items, "rm").contains(QLatin1Char('\n')));
    // No match leaves the result as it was.
    EXPECT_EQ(FilterByInitials(items, "xyz"), QString());
    EXPECT_EQ(FilterByInitials(items, "xyz", "kept"), QStringLiteral("kept"));
    EXPECT_EQ(FilterByInitials({}, "rm"), QString());

    EXPECT_EQ(vek::itemsMatchingInitials(items, "rmw"), QStringList{QStringLiteral("人民网")});
    EXPECT_EQ(vek::itemsMatchingInitials(items, "??").size(), items.size());
}
