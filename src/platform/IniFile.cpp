#include "platform/IniFile.h"

#include "platform/PasswordCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

#include <sys/stat.h>

namespace vek {

namespace {

const QByteArray kBom("\xEF\xBB\xBF");
constexpr const char *kGb18030 = "GB18030";

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArray trimBlanks(const QByteArray &bytes)
{
    qsizetype from = 0, to = bytes.size();
    while (from < to && isBlank(bytes.at(from)))
        ++from;
    while (to > from && isBlank(bytes.at(to - 1)))
        --to;
    return bytes.mid(from, to - from);
}

// Same blanks as the file's names are trimmed of, so a query matches what was read.
QString trimBlanks(const QString &text)
{
    qsizetype from = 0, to = text.size();
    while (from < to && (text.at(from) == u' ' || text.at(from) == u'\t'))
        ++from;
    while (to > from && (text.at(to - 1) == u' ' || text.at(to - 1) == u'\t'))
        --to;
    return text.mid(from, to - from);
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = decoder.decode(bytes); // decode() is lazy: convert to run it
    Q_UNUSED(decoded);
    return !decoder.hasError();
}

bool hasLineBreakOrNul(const QByteArray &bytes)
{
    return bytes.contains('\r') || bytes.contains('\n') || bytes.contains('\0');
}

bool hasLineBreakOrNul(const QString &text)
{
    return text.contains(u'\r') || text.contains(u'\n') || text.contains(QChar(0));
}

// Finds an ASCII byte outside multi-byte characters: in GB18030 the second byte of a
// two-byte character may be '[', '\\' or ']', which must not end a section name.
qsizetype findAscii(const QByteArray &s, char c, qsizetype from, IniFile::Encoding encoding)
{
    if (encoding != IniFile::Encoding::Gb18030)
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

IniFile::IniFile(const QString &path)
    : m_path(path)
{
    reload();
}

bool IniFile::reload()
{
    Document doc;
    FileStamp stamp;
    QString error;
    if (!load(&doc, &stamp, &error))
        return fail(error);
    m_doc = std::move(doc);
    m_stamp = stamp;
    m_lastError.clear();
    return true;
}

IniFile::Encoding IniFile::encoding() const
{
    refresh();
    return m_doc.encoding;
}

// ---- reading ------------------------------------------------------------------------

QString IniFile::value(const QString &section, const QString &key, const QString &def) const
{
    refresh();
    const int i = findKey(m_doc, section, key);
    if (i < 0)
        return def;
    const Line &line = m_doc.lines.at(i);
    return decode(line.text.mid(line.valueStart, line.valueEnd - line.valueStart),
                  m_doc.encoding);
}

QByteArray IniFile::rawValue(const QString &section, const QString &key) const
{
    refresh();
    const int i = findKey(m_doc, section, key);
    if (i < 0)
        return {};
    const Line &line = m_doc.lines.at(i);
    QByteArray bytes = line.text.mid(line.valueStart, line.valueEnd - line.valueStart);
    if (bytes.isNull())
        bytes = QByteArray(""); // present but empty is not absent
    return bytes;
}

bool IniFile::contains(const QString &section, const QString &key) const
{
    refresh();
    return findKey(m_doc, section, key) >= 0;
}

bool IniFile::containsSection(const QString &section) const
{
    refresh();
    return findSection(m_doc, section) >= 0;
}

int IniFile::intValue(const QString &section, const QString &key, int def) const
{
    const QString text = value(section, key);
    bool ok = false;
    const int n = text.toInt(&ok, 10);
    if (ok)
        return n;
    QStringView hex;
    if (text.startsWith(u"0x", Qt::CaseInsensitive))
        hex = QStringView(text).mid(2);
    else if (text.startsWith(u'$'))
        hex = QStringView(text).mid(1);
    if (!hex.isEmpty()) {
        // Colours are 32-bit patterns: "$FF00000F" is a negative int.
        const uint u = hex.toUInt(&ok, 16);
        if (ok)
            return static_cast<int>(u);
    }
    return def;
}

bool IniFile::boolValue(const QString &section, const QString &key, bool def) const
{
    const QString text = value(section, key);
    if (text == u"1" || text.compare(u"true", Qt::CaseInsensitive) == 0)
        return true;
    if (text == u"0" || text.compare(u"false", Qt::CaseInsensitive) == 0)
        return false;
    return def;
}

QStringList IniFile::sections() const
{
    refresh();
    QStringList names;
    for (const Line &line : m_doc.lines) {
        if (line.kind == LineKind::Section && !line.name.isEmpty()
            && !names.contains(line.name, Qt::CaseInsensitive))
            names.append(line.name);
    }
    return names;
}

QStringList IniFile::keys(const QString &section) const
{
    refresh();
    QStringList names;
    const int header = findSection(m_doc, section);
    if (header < 0)
        return names;
    const int end = sectionEnd(m_doc, header);
    for (int i = header + 1; i < end; ++i) {
        const Line &line = m_doc.lines.at(i);
        if (line.kind == LineKind::Key && !names.contains(line.name, Qt::CaseInsensitive))
            names.append(line.name);
    }
    return names;
}

QString IniFile::readStoredPassword(const QString &section, const QString &key,
                                    const QString &defPlain) const
{
    if (!contains(section, key))
        return defPlain;
    const QByteArray stored = rawValue(section, key);
    QByteArray shifted = stored;
    if (m_doc.encoding != Encoding::Gb18030 && isValidUtf8(stored)) {
        // Each shifted byte is kept as the character of that value.
        const QString chars = QString::fromUtf8(stored);
        const bool latin1 = std::all_of(chars.cbegin(), chars.cend(),
                                        [](QChar c) { return c.unicode() <= 0xFF; });
        if (latin1)
            shifted = chars.toLatin1();
    }
    return decode(shiftPasswordDown(shifted), Encoding::Gb18030);
}

// ---- writing ------------------------------------------------------------------------

bool IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    if (!checkNames(section, key))
        return false;
    if (hasLineBreakOrNul(value))
        return fail(QStringLiteral("A settings value cannot hold a line break: [%1] %2")
                        .arg(section, key));
    if (!refresh())
        return false;
    QByteArray bytes;
    if (!encode(value, m_doc.encoding, &bytes))
        return fail(QStringLiteral("The value of [%1] %2 cannot be encoded").arg(section, key));
    return storeValue(section, key, bytes);
}

bool IniFile::setRawValue(const QString &section, const QString &key, const QByteArray &value)
{
    if (!checkNames(section, key))
        return false;
    if (hasLineBreakOrNul(value))
        return fail(QStringLiteral("A settings value cannot hold a line break: [%1] %2")
                        .arg(section, key));
    if (!refresh())
        return false;
    if (m_doc.encoding != Encoding::Gb18030 && !isValidUtf8(value))
        return fail(QStringLiteral("The value of [%1] %2 is not UTF-8, as the file is")
                        .arg(section, key));
    return storeValue(section, key, value);
}

bool IniFile::setInt(const QString &section, const QString &key, int value)
{
    return setValue(section, key, QString::number(value));
}

bool IniFile::setBool(const QString &section, const QString &key, bool value)
{
    return setValue(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::writeStoredPassword(const QString &section, const QString &key,
                                  const QString &plain)
{
    if (!checkNames(section, key))
        return false;
    if (!refresh())
        return false;
    QByteArray legacy;
    if (!encode(plain, Encoding::Gb18030, &legacy))
        return fail(QStringLiteral("The password cannot be encoded"));
    const QByteArray shifted = shiftPasswordUp(legacy);
    const QByteArray stored = m_doc.encoding == Encoding::Gb18030
                                  ? shifted
                                  : QString::fromLatin1(shifted).toUtf8();
    // Some non-ASCII passwords shift into CR, LF or blanks at an end: such a line would
    // not read back as written, so refuse rather than store a broken password.
    if (hasLineBreakOrNul(stored) || trimBlanks(stored) != stored)
        return fail(QStringLiteral("This password cannot be kept in the settings file"));
    return storeValue(section, key, stored);
}

bool IniFile::removeKey(const QString &section, const QString &key)
{
    if (!refresh())
        return false;
    Document doc = m_doc;
    const QString name = trimBlanks(key);
    const int header = findSection(doc, section);
    bool removed = false;
    if (header >= 0) {
        for (int i = sectionEnd(doc, header) - 1; i > header; --i) {
            if (doc.lines.at(i).kind == LineKind::Key && sameName(doc.lines.at(i).name, name)) {
                doc.lines.removeAt(i);
                removed = true;
            }
        }
    }
    if (!removed) {
        m_lastError.clear();
        return true;
    }
    return save(doc);
}

bool IniFile::removeSection(const QString &section)
{
    if (!refresh())
        return false;
    Document doc = m_doc;
    bool removed = false;
    for (int header = findSection(doc, section); header >= 0;
         header = findSection(doc, section)) {
        doc.lines.remove(header, sectionEnd(doc, header) - header);
        removed = true;
    }
    if (!removed) {
        m_lastError.clear();
        return true;
    }
    return save(doc);
}

bool IniFile::storeValue(const QString &section, const QString &key, const QByteArray &value)
{
    Document doc = m_doc;
    const int existing = findKey(doc, section, key);
    if (existing >= 0) {
        // In place: the key keeps its spelling, its blanks and its line ending.
        Line &line = doc.lines[existing];
        const QByteArray text = line.text.left(line.valueStart) + value;
        if (text == line.text) {
            m_lastError.clear();
            return true;
        }
        line.text = text;
        classify(line, doc.encoding);
        return save(doc);
    }

    const auto newLine = [&doc](const QByteArray &text) {
        Line line;
        line.text = text;
        line.eol = doc.eol;
        classify(line, doc.encoding);
        return line;
    };
    QByteArray keyBytes;
    if (!encode(trimBlanks(key), doc.encoding, &keyBytes))
        return fail(QStringLiteral("The key name %1 cannot be encoded").arg(key));
    const Line keyLine = newLine(keyBytes + '=' + value);

    int after = findSection(doc, section);
    if (after >= 0) {
        const int end = sectionEnd(doc, after);
        for (int i = after + 1; i < end; ++i) {
            if (doc.lines.at(i).kind == LineKind::Key)
                after = i;
        }
        if (doc.lines.at(after).eol.isEmpty())
            doc.lines[after].eol = doc.eol;
        doc.lines.insert(after + 1, keyLine);
    } else {
        QByteArray sectionBytes;
        if (!encode(trimBlanks(section), doc.encoding, &sectionBytes))
            return fail(QStringLiteral("The section name %1 cannot be encoded").arg(section));
        if (!doc.lines.isEmpty() && doc.lines.last().eol.isEmpty())
            doc.lines.last().eol = doc.eol;
        doc.lines.append(newLine('[' + sectionBytes + ']'));
        doc.lines.append(keyLine);
    }
    return save(doc);
}

bool IniFile::checkNames(const QString &section, const QString &key) const
{
    const QString s = trimBlanks(section);
    if (s.isEmpty() || hasLineBreakOrNul(s) || s.contains(u']'))
        return fail(QStringLiteral("Not a valid section name: \"%1\"").arg(section));
    const QString k = trimBlanks(key);
    if (k.isEmpty() || hasLineBreakOrNul(k) || k.contains(u'=') || k.startsWith(u';')
        || k.startsWith(u'#') || k.startsWith(u'['))
        return fail(QStringLiteral("Not a valid key name: \"%1\"").arg(key));
    return true;
}

bool IniFile::save(const Document &doc)
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("Cannot write %1: %2").arg(m_path, file.errorString()));
    const QByteArray bytes = serialize(doc);
    if (file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return fail(QStringLiteral("Cannot write %1: %2").arg(m_path, error));
    }
    if (!file.commit())
        return fail(QStringLiteral("Cannot write %1: %2").arg(m_path, file.errorString()));
    m_doc = doc;
    m_stamp = stampOf(m_path);
    m_lastError.clear();
    return true;
}

bool IniFile::fail(const QString &message) const
{
    m_lastError = message;
    return false;
}

// ---- the file -----------------------------------------------------------------------

bool IniFile::load(Document *doc, FileStamp *stamp, QString *error) const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!QFileInfo::exists(m_path)) {
            *doc = Document();
            *stamp = FileStamp();
            return true;
        }
        *error = QStringLiteral("Cannot read %1: %2").arg(m_path, file.errorString());
        return false;
    }
    // Stamp the very file that is read, so a replacement made meanwhile is seen later.
    FileStamp s;
    struct stat st;
    if (::fstat(file.handle(), &st) == 0) {
        s.exists = true;
        s.dev = st.st_dev;
        s.ino = st.st_ino;
        s.size = st.st_size;
        s.mtimeNs = st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
        s.ctimeNs = st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("Cannot read %1: %2").arg(m_path, file.errorString());
        return false;
    }
    *doc = parse(data);
    *stamp = s;
    return true;
}

bool IniFile::refresh() const
{
    if (stampOf(m_path) == m_stamp)
        return true;
    Document doc;
    FileStamp stamp;
    QString error;
    if (!load(&doc, &stamp, &error))
        return fail(error); // reads go on with what was read before
    m_doc = std::move(doc);
    m_stamp = stamp;
    return true;
}

IniFile::FileStamp IniFile::stampOf(const QString &path)
{
    FileStamp s;
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return s;
    s.exists = true;
    s.dev = st.st_dev;
    s.ino = st.st_ino;
    s.size = st.st_size;
    s.mtimeNs = st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
    s.ctimeNs = st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec;
    return s;
}

// ---- lines --------------------------------------------------------------------------

IniFile::Document IniFile::parse(const QByteArray &data)
{
    Document doc;
    QByteArray body = data;
    if (body.startsWith(kBom)) {
        doc.encoding = Encoding::Utf8Bom;
        body.remove(0, kBom.size());
    } else {
        doc.encoding = isValidUtf8(body) ? Encoding::Utf8 : Encoding::Gb18030;
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

void IniFile::classify(Line &line, Encoding encoding)
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

QByteArray IniFile::serialize(const Document &doc)
{
    QByteArray out;
    if (doc.encoding == Encoding::Utf8Bom)
        out += kBom;
    for (const Line &line : doc.lines) {
        out += line.text;
        out += line.eol;
    }
    return out;
}

QString IniFile::decode(const QByteArray &bytes, Encoding encoding)
{
    if (encoding != Encoding::Gb18030)
        return QString::fromUtf8(bytes);
    QStringDecoder decoder(kGb18030, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

bool IniFile::encode(const QString &text, Encoding encoding, QByteArray *out)
{
    QStringEncoder encoder = encoding == Encoding::Gb18030
                                 ? QStringEncoder(kGb18030, QStringConverter::Flag::Stateless)
                                 : QStringEncoder(QStringConverter::Utf8,
                                                  QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        return false;
    *out = encoder.encode(text);
    return !encoder.hasError();
}

int IniFile::findSection(const Document &doc, const QString &section)
{
    const QString name = trimBlanks(section);
    for (int i = 0; i < doc.lines.size(); ++i) {
        const Line &line = doc.lines.at(i);
        if (line.kind == LineKind::Section && sameName(line.name, name))
            return i;
    }
    return -1;
}

int IniFile::sectionEnd(const Document &doc, int header)
{
    for (int i = header + 1; i < doc.lines.size(); ++i) {
        if (doc.lines.at(i).kind == LineKind::Section)
            return i;
    }
    return int(doc.lines.size());
}

int IniFile::findKey(const Document &doc, const QString &section, const QString &key)
{
    const int header = findSection(doc, section);
    if (header < 0)
        return -1;
    const QString name = trimBlanks(key);
    const int end = sectionEnd(doc, header);
    for (int i = header + 1; i < end; ++i) {
        const Line &line = doc.lines.at(i);
        if (line.kind == LineKind::Key && sameName(line.name, name))
            return i;
    }
    return -1;
}

} // namespace vek
