#include "PinyinInitials.h"

#include <QStringEncoder>

#include <array>

namespace vek {

namespace {

// Level-1 letter ranges (GB2312 zones 16 to 55, ordered by pronunciation): the first
// area code of each letter; a letter's range ends just before the next one's start,
// the last (Z) at 5589.
struct Level1Range {
    int from;
    char letter;
};
constexpr std::array<Level1Range, 23> kLevel1 = {{
    {1601, 'A'}, {1637, 'B'}, {1833, 'C'}, {2078, 'D'}, {2274, 'E'}, {2302, 'F'},
    {2433, 'G'}, {2594, 'H'}, {2787, 'J'}, {3106, 'K'}, {3212, 'L'}, {3472, 'M'},
    {3635, 'N'}, {3722, 'O'}, {3730, 'P'}, {3858, 'Q'}, {4027, 'R'}, {4086, 'S'},
    {4390, 'T'}, {4558, 'W'}, {4684, 'X'}, {4925, 'Y'}, {5249, 'Z'},
}};
constexpr int kLevel1Last = 5589;

// Level-2 letters (GB2312 zones 56 to 87, ordered by radical), one per character in
// code order, 94 a zone. Zone 56 is exactly the line the legacy table gives. Zones 57
// to 87 are the first letters of the readings ICU 72's "Han-Latin" transliterator gives
// (uconv -x 'Han-Latin; Latin-ASCII; Upper' over the characters decoded from GB2312),
// with "[" for the radical forms and strokes that have no reading of their own:
// 丨丿丶匚刂冂亻 (zone 56, as the legacy table) and 亠冫冖讠阝廴凵艹扌犭饣忄丬氵宀辶彐纟攵灬礻钅疒衤虍.
// For characters with several readings the transliterator's choice is kept.
constexpr char kLevel2[] =
    "CJWGNSPGCGNE[Y[BTYYZDXYKYGT[JNNJQMBSGZSCYJSYY[PGKBZGY[YWJKGKLJYWKPJQHY[W[DZLSGMRYPYWWCCKZNKYYG" // zone 56
    "TTNJJEYKKZYTCJNMCYLQLYPYQFQRPZSLWBTGKJFYXJWZLTBNCXJJJJTXDTTSQZYCDXXHGCKBPHFFSS[YBGMXLPBYLL[HLX" // zone 57
    "S[ZM[JHSOJNGHDZQYKLGJHSGQZHXQGKEZZWYSCSCJXYEYXADZPMDSSMZJZQJYZCJJ[WQJBDZBXGZNZCPWHKXHQKMWFBPBY" // zone 58
    "DTJZZKQHYLYGXFPTYJYYZPSZLFCHMQSHGMXXSXJ[[DCSBBQBEFSJYHWWGZKPYLQBGLDLCCTNMAYDDKSSNGYCSGXLYZAYPN" // zone 59
    "PTSDKDYLHGYMYLCXPY[JNDQJWQQXFYYFJLEJPZRXCCQWQQSBZKYMGPLBMJRQCFLNYMYQMSQTRBCJTHZTQFRXQHXMJJCJLX" // zone 60
    "XGJMSHZKBSWYEMYLTXFSYDSGLYCJQXSJNQBSCTYHBFTDCYJDJWYGHQFRXWCKQKXEBPTLPXJZSRMEBWHJLBJSLYYSMDXLCL" // zone 61
    "QKXLHXJRZJMFQHXHWYWSBHTRXXGLHQHFNMGYKLDYXZPYLGG[MTCFPAJJZYLJTYANJGBJPLQGDZYQYAXBKYSECJSZNSLYZH" // zone 62
    "ZXLZCGHPXZHZNYTDSBCJKDLZYYFFYDLEBBGQYZKGGLDNDNYSKJSHDLYXBCGHXYPKDJMMZNGMMCLGWZSZXZJFZNMLZZTHCS" // zone 63
    "YDBDLLSCDDNLKJYKJSYCJLKOHQASDKNHCSGANHDAASHTCPLCPQYBSDMPJLPCJOQLCDHJJYSPRCHNWJNLHLYYQYHWZPTCZG" // zone 64
    "WWMZFFJQQQQYXACLBHKDJXDGMMYDJXZLLSYGXGKJRYWZWYCLZMSSJZLDBYDCFCXYHLXCHYZJQS[QAGMNYXPFRKSSBJLYXY" // zone 65
    "SYGLNSCMHCWWMNZJJLXXHCHSYZ[TTXRYCYXBYHCSMXJSZNPWGPXXTAYBGAJCXLY[DCCWZOCWKCCSBNHCPDYZNFCYYTYCKX" // zone 66
    "KYBSQKKYTQQXFCWCHCYKELZQBSQYJQCCLMTHSYWHMKTLKJLYCXWHEQQHTQH[PQ[QSCFYMMDMGBWHWLGSLLYSTLMLXPTHMJ" // zone 67
    "HWLJZYHZJXHTXJLHXRSWLWZJCBXMHZQXSDZPMGFCSGLSXYMJSHXPJXWMYQKSMYPLRTHBXFTPMHYXLCHLHLZYLXGSSSSTCL" // zone 68
    "SLDCLRPBHZHXYYFHB[GDMYCNQQWLQHJJ[YWJZYEJJDHPBLQXTQKWHLCHQXAGTLXLJXMSL[HTZKZJECXJCJNMFBYCSFYWYB" // zone 69
    "JZGNYSDZSQYRSLJPCLPWXSDWEJBJCBCNAYTWGMPAPCLYQPCLZXSBNMSGGFNZJJBZSFZYNDXHPLQKZCZWALSBCCJX[YZGWK" // zone 70
    "YPSGXFZFCDKHJGXTLQFSGDSLQWZKXTMHSBGZMJZRGLYJBPMLMSXLZJQQHZYJCZYDJWBWJKLDDPMJEGXYHYLXHLQYQHKYCW" // zone 71
    "CJMYYXNATJHYCCXZPCQLBZWWYTWBQCMLPMYRJCCCXFPZNZZLJPLXXYZTZLGDLDCKLYRZZGQTGJHHGJLJAXFGFJZSLCFDQZ" // zone 72
    "LCLGJDJZSNZLLJPJQDCCLCJXMYZFTSXGCGSBRZXJQQCTZHGYQTJQQLZXJYLYLBCYAMCSTYLPDJBYREGKLZYZHLYSZQLZNW" // zone 73
    "CZCLLWJQJJJKDGJZOLBBZPPGLGHTGZXYJHZMYCNQCYCYHBHGXKAMTXYXNBSKYZZGJZLQJDFCJXDYGJQJJPMGWGJJJPKQSB" // zone 74
    "GBMMCJSSCLPQPDXCDYYKY[CJDDYYGYWRHJRTGZNYQLDKLJSZZGZQZJGDYKSHPZMTLCPWNJYFYZDJCNMWESCYGLBTZCGMSS" // zone 75
    "LLYXYSXSBSJSBBSGGHFJLYPMZJNLYYWDQSHZXTYYWHMCYHYWDBXBTLMSYYYFSXJC[DXXLHJHF[SXZQHFZMZCZTQCXZXRTT" // zone 76
    "DJHNNYZQQMTQDMMGYYDXMJGDHCDYZBFFALLZTDLTFXMXQZDNGWQDBDCDJDXBZGSQQDDJCMBKZFFXMKDMDSYYSZCMLJDSYN" // zone 77
    "SPRSKMKMPCKLGTBQTFZSWTFGGLYPLLJZHGJ[GYPZLTCSMCNBTJBQFKTHBYZGKPBBYMTDSSXTBNPDKLEYCJNYDDYKZDDHQH" // zone 78
    "SDZSCTARLLTKZLGECLLKJLQJAQNBDKKGHPJTZQKSECSHALQFMMGJNLYJBBTMLYZXDCJPLDLPCQDHZYCBZSCZBZMSLJFLKR" // zone 79
    "ZJSNFRGJHXPDHYJYBZGDLQCSEZGXLBLGYXTWMABCHECMWYJYZLLJJYHLG[DJLSLYGKDZPZXJYYZLWCXSZFGWYYDLYHCLJS" // zone 80
    "CMBJHBLYZLYCBLYDPDQYSXQZBYTDKYXJY[CNRJMPDQGKLCLJBCTBJDDBBLBLCZQRPPXJCJLZCSHLTOLJNMDDDLNGKATHQH" // zone 81
    "JHYKHEZNMSHRP[QQJCHGMFPRXHJGDYCHGHLYRZQLCYQJNZSQTKQJYMSZSWLCFQQQXYFGGYPTQWLMCRNFKKFSYYLQBMQAMM" // zone 82
    "MYXCTPSHCPTXXZZSMPHPSHMCLMLDQFYQXSZYJDJJZZHQPDSZGLSTJBCKBXYQZYSGPSXQZQZRQTBDKYXZKHHGFLBCSMDLDG" // zone 83
    "DZDBLZYYCXNNCSYBZBFGLZZXSWMSCCMQNJQSBDQSJTXXMBLTXZCLZSHZCXRQJGJYLXZFJPHYMZQQYDFQJJLZZNZJSDGZYG" // zone 84
    "CTXMZYSCTLKPHTXHTLBJXJLXSCDQXCBBTJFQZFSLTJBTKQBXXJJLJCHCZDBZJDCZJDCPRNMQCJPFCZLCLZXZDMXMPHJSGZ" // zone 85
    "GSZZQJYLWTJPFSYAXMCJBTZKYCWMYTZSJJLQCQLWZMALBXYFBPNLSFHTGJWEJJXXGLLJSTGSHJQLZFKCGNNDSZFDEQFHBS" // zone 86
    "AQTGYLBXMMYGSZLDYDQMJJRGBJTKGDHGKBLQKBDMBYLXWCXYTTYBKMRTJZXQJBHLMHMJJZMQASLDCYXYQDLQCAFYWYXQHZ" // zone 87
;
constexpr int kLevel2Size = 3008;
static_assert(sizeof(kLevel2) == kLevel2Size + 1, "the level-2 table has 3008 entries");

bool isWildcard(char32_t c)
{
    return c == U'?' || c == U' ' || c == U'\uFF1F' /* ？ */ || c == U'\u3000';
}

// The GB2312 letter of a two-byte code (h, l), or '?' when the code is not a GB2312
// hanzi. Both bytes must lie in 0xA1..0xFE: the area-code formulas alone would give
// letters to GBK-only characters whose trail byte is below 0xA1 (盄 B1 40, 贎 DA 40).
QChar letterOfGbCode(int h, int l)
{
    if (h < 0xA1 || h > 0xFE || l < 0xA1 || l > 0xFE)
        return QLatin1Char('?');
    const int area = h * 100 + l - 16160;
    if (area >= kLevel1.front().from && area <= kLevel1Last) {
        char letter = kLevel1.front().letter;
        for (const Level1Range &r : kLevel1) {
            if (area < r.from)
                break;
            letter = r.letter;
        }
        return QLatin1Char(letter);
    }
    const int k = h * 94 + l - 20464;
    if (k >= 1 && k <= kLevel2Size)
        return QLatin1Char(kLevel2[k - 1]);
    return QLatin1Char('?');
}

} // namespace

QLatin1StringView level2InitialsTable()
{
    return QLatin1StringView(kLevel2, kLevel2Size);
}

QChar GetInitial(char32_t character)
{
    if (character < 0x80) {
        const char c = char(character);
        if (c >= 'a' && c <= 'z')
            return QLatin1Char(char(c - 'a' + 'A'));
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            return QLatin1Char(c);
        return QLatin1Char('?');
    }
    // Every GB2312 character lies in the BMP; surrogates are no characters.
    if (character > 0xFFFF || QChar::isSurrogate(character))
        return QLatin1Char('?');

    // One encoder per thread; GB18030 keeps no state between whole BMP characters.
    thread_local QStringEncoder encoder("GB18030", QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        return QLatin1Char('?');
    const QChar ch{char16_t(character)};
    const QByteArray gb = encoder(QStringView(&ch, 1));
    if (gb.size() != 2)
        return QLatin1Char('?');
    return letterOfGbCode(uchar(gb[0]), uchar(gb[1]));
}

QString GetInitial(const QString &character)
{
    const QList<uint> cps = character.toUcs4();
    if (cps.size() != 1)
        return QStringLiteral("?");
    return QString(GetInitial(char32_t(cps.front())));
}

QString initialsOf(const QString &text)
{
    QString out;
    const QList<uint> cps = text.toUcs4();
    out.reserve(cps.size());
    for (uint cp : cps)
        out += GetInitial(char32_t(cp));
    return out;
}

bool matchesInitials(const QString &item, const QString &typed)
{
    if (item.trimmed().isEmpty())
        return true;
    const QList<uint> units = item.toUcs4();
    const QList<uint> keys = typed.toUcs4();
    for (qsizetype j = 0; j < keys.size(); ++j) {
        const char32_t key = keys[j];
        if (isWildcard(key))
            continue;
        if (j >= units.size())
            return false;
        const QChar initial = GetInitial(char32_t(units[j]));
        if (initial == QLatin1Char('?') || initial == QLatin1Char('['))
            return false;
        if (QChar::toUpper(key) != initial.unicode())
            return false;
    }
    return true;
}

QStringList itemsMatchingInitials(const QStringList &items, const QString &typed)
{
    QStringList out;
    for (const QString &item : items) {
        if (matchesInitials(item, typed))
            out.append(item);
    }
    return out;
}

QString FilterByInitials(const QStringList &items, const QString &typed, const QString &result)
{
    QString out = result;
    for (const QString &item : items) {
        if (!matchesInitials(item, typed))
            continue;
        if (out.isEmpty())
            out = item;
        else
            out += QLatin1Char('\r') + item;
    }
    return out;
}

} // namespace vek
