#include "platform/IniFile.h"

#include "platform/PasswordCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

#include <sys/stat.h>

namespace vek {

namespace {

using Line = IniDocument::Line;
using LineKind = IniDocument::LineKind;

} // namespace

IniFile::IniFile(const QString &path)
    : m_path(path)
{
    reload();
}

bool IniFile::reload()
{
    IniDocument doc;
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
    const int i = m_doc.findKey(section, key);
    if (i < 0)
        return def;
    const Line &line = m_doc.lines.at(i);
    return IniDocument::decode(line.text.mid(line.valueStart, line.valueEnd - line.valueStart),
                               m_doc.encoding);
}

QByteArray IniFile::rawValue(const QString &section, const QString &key) const
{
    refresh();
    const int i = m_doc.findKey(section, key);
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
    return m_doc.findKey(section, key) >= 0;
}

bool IniFile::containsSection(const QString &section) const
{
    refresh();
    return m_doc.findSection(section) >= 0;
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
    const int header = m_doc.findSection(section);
    if (header < 0)
        return names;
    const int end = m_doc.sectionEnd(header);
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
    if (m_doc.encoding != Encoding::Gb18030 && IniDocument::isValidUtf8(stored)) {
        // Each shifted byte is kept as the character of that value.
        const QString chars = QString::fromUtf8(stored);
        const bool latin1 = std::all_of(chars.cbegin(), chars.cend(),
                                        [](QChar c) { return c.unicode() <= 0xFF; });
        if (latin1)
            shifted = chars.toLatin1();
    }
    return IniDocument::decode(shiftPasswordDown(shifted), Encoding::Gb18030);
}

// ---- writing ------------------------------------------------------------------------

bool IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    if (!checkNames(section, key))
        return false;
    if (IniDocument::hasLineBreakOrNul(value))
        return fail(QStringLiteral("A settings value cannot hold a line break: [%1] %2")
                        .arg(section, key));
    if (!refresh())
        return false;
    QByteArray bytes;
    if (!IniDocument::encode(value, m_doc.encoding, &bytes))
        return fail(QStringLiteral("The value of [%1] %2 cannot be encoded").arg(section, key));
    return storeValue(section, key, bytes);
}

bool IniFile::setRawValue(const QString &section, const QString &key, const QByteArray &value)
{
    if (!checkNames(section, key))
        return false;
    if (IniDocument::hasLineBreakOrNul(value))
        return fail(QStringLiteral("A settings value cannot hold a line break: [%1] %2")
                        .arg(section, key));
    if (!refresh())
        return false;
    if (m_doc.encoding != Encoding::Gb18030 && !IniDocument::isValidUtf8(value))
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
    if (!IniDocument::encode(plain, Encoding::Gb18030, &legacy))
        return fail(QStringLiteral("The password cannot be encoded"));
    const QByteArray shifted = shiftPasswordUp(legacy);
    const QByteArray stored = m_doc.encoding == Encoding::Gb18030
                                  ? shifted
                                  : QString::fromLatin1(shifted).toUtf8();
    // Some non-ASCII passwords shift into CR, LF or blanks at an end: such a line would
    // not read back as written, so refuse rather than store a broken password.
    if (IniDocument::hasLineBreakOrNul(stored) || IniDocument::trimBlanks(stored) != stored)
        return fail(QStringLiteral("This password cannot be kept in the settings file"));
    return storeValue(section, key, stored);
}

bool IniFile::removeKey(const QString &section, const QString &key)
{
    if (!refresh())
        return false;
    IniDocument doc = m_doc;
    const QString name = IniDocument::trimBlanks(key);
    const int header = doc.findSection(section);
    bool removed = false;
    if (header >= 0) {
        for (int i = doc.sectionEnd(header) - 1; i > header; --i) {
            const Line &line = doc.lines.at(i);
            if (line.kind == LineKind::Key && IniDocument::sameName(line.name, name)) {
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
    IniDocument doc = m_doc;
    bool removed = false;
    for (int header = doc.findSection(section); header >= 0;
         header = doc.findSection(section)) {
        doc.lines.remove(header, doc.sectionEnd(header) - header);
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
    IniDocument doc = m_doc;
    const int existing = doc.findKey(section, key);
    if (existing >= 0) {
        // In place: the key keeps its spelling, its blanks and its line ending.
        Line &line = doc.lines[existing];
        const QByteArray text = line.text.left(line.valueStart) + value;
        if (text == line.text) {
            m_lastError.clear();
            return true;
        }
        line.text = text;
        IniDocument::classify(line, doc.encoding);
        return save(doc);
    }

    const auto newLine = [&doc](const QByteArray &text) {
        Line line;
        line.text = text;
        line.eol = doc.eol;
        IniDocument::classify(line, doc.encoding);
        return line;
    };
    QByteArray keyBytes;
    if (!IniDocument::encode(IniDocument::trimBlanks(key), doc.encoding, &keyBytes))
        return fail(QStringLiteral("The key name %1 cannot be encoded").arg(key));
    const Line keyLine = newLine(keyBytes + '=' + value);

    int after = doc.findSection(section);
    if (after >= 0) {
        const int end = doc.sectionEnd(after);
        for (int i = after + 1; i < end; ++i) {
            if (doc.lines.at(i).kind == LineKind::Key)
                after = i;
        }
        if (doc.lines.at(after).eol.isEmpty())
            doc.lines[after].eol = doc.eol;
        doc.lines.insert(after + 1, keyLine);
    } else {
        QByteArray sectionBytes;
        if (!IniDocument::encode(IniDocument::trimBlanks(section), doc.encoding, &sectionBytes))
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
    const QString s = IniDocument::trimBlanks(section);
    if (s.isEmpty() || IniDocument::hasLineBreakOrNul(s) || s.contains(u']'))
        return fail(QStringLiteral("Not a valid section name: \"%1\"").arg(section));
    const QString k = IniDocument::trimBlanks(key);
    if (k.isEmpty() || IniDocument::hasLineBreakOrNul(k) || k.contains(u'=')
        || k.startsWith(u';') || k.startsWith(u'#') || k.startsWith(u'['))
        return fail(QStringLiteral("Not a valid key name: \"%1\"").arg(key));
    return true;
}

bool IniFile::save(const IniDocument &doc)
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("Cannot write %1: %2").arg(m_path, file.errorString()));
    const QByteArray bytes = doc.serialize();
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

bool IniFile::load(IniDocument *doc, FileStamp *stamp, QString *error) const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!QFileInfo::exists(m_path)) {
            *doc = IniDocument();
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
    *doc = IniDocument::parse(data);
    *stamp = s;
    return true;
}

bool IniFile::refresh() const
{
    if (stampOf(m_path) == m_stamp)
        return true;
    IniDocument doc;
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

} // namespace vek
