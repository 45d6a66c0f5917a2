#include "platform/IniDocument.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace vek {

namespace {

const QByteArray kBom("\xEF\xBB\xBF");
constexpr const char *kGb18030 = "GB18030";

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Finds an ASCII byte outside multi-byte characters: in GB18030 the second byte of a
// two-byte character may be '[', '\\' or ']', which must not end a section name.
qsizetype findAscii(const QByteArray &s, char c, qsizetype from, IniEncoding encoding)
{
    if (encoding != IniEncoding::Gb18030)
        return s.indexOf(c, from);
    const auto at = [&s](qsizetype i) { return i < s.size() ? uchar(s.at(i)) : 0; };
    for (qsizetype i = from; i < s.size();) {
        const uchar b = at(i);
        if (b >= 0x81 && b <= 0xFE) {
            const uchar b2 = at(i + 1);
            if ((b2 >= 0x40 && b2 <= 0x7E) || (b2 >= 0x80 && b2 <= 0xFE)) {
                i += 2;
                continue;
            }
            if (b2 >= 0x30 && b2 <= 0x39 && at(i + 2) >= 0x81 && at(i + 2) <= 0xFE
                && at(i + 3) >= 0x30 && at(i + 3) <= 0x39) {
                i += 4;
                continue;
            }
        }
        if (b == uchar(c))
            return i;
        ++i;
    }
    return -1;
}

} // namespace

// ---- lines --------------------------------------------------------------------------

IniDocument IniDocument::parse(const QByteArray &data)
{
    IniDocument doc;
    QByteArray body = data;
    if (body.startsWith(kBom)) {
        doc.encoding = IniEncoding::Utf8Bom;
        body.remove(0, kBom.size());
    } else {
        doc.encoding = isValidUtf8(body) ? IniEncoding::Utf8 : IniEncoding::Gb18030;
    }
    const qsizetype firstLf = body.indexOf('\n');
    doc.eol = firstLf > 0 && body.at(firstLf - 1) == '\r' ? QByteArray("\r\n")
                                                          : QByteArray("\n");
    qsizetype pos = 0;
    while (pos < body.size()) {
        Line line;
        const qsizetype lf = body.indexOf('\n', pos);
        if (lf < 0) {
            line.text = body.mid(pos);
            pos = body.size();
        } else {
            line.text = body.mid(pos, lf - pos);
            line.eol = "\n";
            if (line.text.endsWith('\r')) {
                line.text.chop(1);
                line.eol = "\r\n";
            }
            pos = lf + 1;
        }
        classify(line, doc.encoding);
        doc.lines.append(line);
    }
    return doc;
}

void IniDocument::classify(Line &line, IniEncoding encoding)
{
    const QByteArray &t = line.text;
    line.kind = LineKind::Other;
    line.name.clear();
    line.valueStart = line.valueEnd = 0;

    qsizetype i = 0;
    while (i < t.size() && isBlank(t.at(i)))
        ++i;
    if (i == t.size() || t.at(i) == ';' || t.at(i) == '#')
        return;
    if (t.at(i) == '[') {
        const qsizetype close = findAscii(t, ']', i + 1, encoding);
        const qsizetype end = close < 0 ? t.size() : close;
        line.kind = LineKind::Section;
        line.name = decode(trimBlanks(t.mid(i + 1, end - i - 1)), encoding);
        return;
    }
    const qsizetype eq = findAscii(t, '=', i, encoding);
    if (eq < 0)
        return;
    const QByteArray name = trimBlanks(t.mid(i, eq - i));
    if (name.isEmpty())
        return;
    line.kind = LineKind::Key;
    line.name = decode(name, encoding);
    qsizetype start = eq + 1;
    while (start < t.size() && isBlank(t.at(start)))
        ++start;
    qsizetype end = t.size();
    while (end > start && isBlank(t.at(end - 1)))
        --end;
    line.valueStart = start;
    line.valueEnd = end;
}

QByteArray IniDocument::serialize() const
{
    QByteArray out;
    if (encoding == IniEncoding::Utf8Bom)
        out += kBom;
    for (const Line &line : lines) {
        out += line.text;
        out += line.eol;
    }
    return out;
}

// ---- encoding -----------------------------------------------------------------------

QString IniDocument::decode(const QByteArray &bytes, IniEncoding encoding)
{
    if (encoding != IniEncoding::Gb18030)
        return QString::fromUtf8(bytes);
    QStringDecoder decoder(kGb18030, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

bool IniDocument::encode(const QString &text, IniEncoding encoding, QByteArray *out)
{
    QStringEncoder encoder = encoding == IniEncoding::Gb18030
                                 ? QStringEncoder(kGb18030, QStringConverter::Flag::Stateless)
                                 : QStringEncoder(QStringConverter::Utf8,
                                                  QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        return false;
    *out = encoder.encode(text);
    return !encoder.hasError();
}

// ---- lookup -------------------------------------------------------------------------

int IniDocument::findSection(const QString &section) const
{
    const QString name = trimBlanks(section);
    for (int i = 0; i < lines.size(); ++i) {
        const Line &line = lines.at(i);
        if (line.kind == LineKind::Section && sameName(line.name, name))
            return i;
    }
    return -1;
}

int IniDocument::sectionEnd(int header) const
{
    for (int i = header + 1; i < lines.size(); ++i) {
        if (lines.at(i).kind == LineKind::Section)
            return i;
    }
    return int(lines.size());
}

int IniDocument::findKey(const QString &section, const QString &key) const
{
    const int header = findSection(section);
    if (header < 0)
        return -1;
    const QString name = trimBlanks(key);
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const Line &line = lines.at(i);
        if (line.kind == LineKind::Key && sameName(line.name, name))
            return i;
    }
    return -1;
}

// ---- text helpers -------------------------------------------------------------------

QByteArray IniDocument::trimBlanks(const QByteArray &bytes)
{
    qsizetype from = 0, to = bytes.size();
    while (from < to && isBlank(bytes.at(from)))
        ++from;
    while (to > from && isBlank(bytes.at(to - 1)))
        --to;
    return bytes.mid(from, to - from);
}

// Same blanks as the file's names are trimmed of, so a query matches what was read.
QString IniDocument::trimBlanks(const QString &text)
{
    qsizetype from = 0, to = text.size();
    while (from < to && (text.at(from) == u' ' || text.at(from) == u'\t'))
        ++from;
    while (to > from && (text.at(to - 1) == u' ' || text.at(to - 1) == u'\t'))
        --to;
    return text.mid(from, to - from);
}

bool IniDocument::sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool IniDocument::isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = decoder.decode(bytes); // decode() is lazy: convert to run it
    Q_UNUSED(decoded);
    return !decoder.hasError();
}

bool IniDocument::hasLineBreakOrNul(const QByteArray &bytes)
{
    return bytes.contains('\r') || bytes.contains('\n') || bytes.contains('\0');
}

bool IniDocument::hasLineBreakOrNul(const QString &text)
{
    return text.contains(u'\r') || text.contains(u'\n') || text.contains(QChar(0));
}

} // namespace vek
