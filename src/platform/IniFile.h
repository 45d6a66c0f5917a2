#pragma once

#include "platform/IniDocument.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/types.h>

namespace vek {

// A Windows-style INI file, edited in place.
//
// - Section and key names match without regard to case; the first occurrence of a
//   section or of a key within it wins, later duplicates are kept but not seen.
// - Values are literal (no quoting, escaping or lists); blanks around names and values
//   are trimmed on read.
// - The file is held as raw byte lines: only the lines a write changes are re-encoded,
//   every other line (comments, blanks, odd lines) is written back byte for byte.
// - The encoding is detected on load (UTF-8 BOM, else valid UTF-8, else GB18030) and
//   kept, as are the line endings (CRLF when the file used them, else LF).
// - Every write re-reads the file if another instance changed it, applies the change
//   and replaces the file atomically, so two instances on one file do not undo each
//   other's writes. Reads also pick up changes made on disk.
//
// Not thread-safe: use one instance per thread.
class IniFile {
public:
    using Encoding = IniEncoding;

    // Loads the file if it exists; a missing file is an empty one.
    explicit IniFile(const QString &path);

    QString path() const { return m_path; }
    Encoding encoding() const;
    // Text of the last failure (load or write); empty after a success.
    QString lastError() const { return m_lastError; }
    // Reads the file again. False when it exists but cannot be read (contents kept).
    bool reload();

    // Reads.
    QString value(const QString &section, const QString &key, const QString &def = {}) const;
    // The value's bytes as stored, trimmed of blanks; a null array when the key is absent.
    QByteArray rawValue(const QString &section, const QString &key) const;
    bool contains(const QString &section, const QString &key) const;
    bool containsSection(const QString &section) const;
    // Decimal (optionally signed), or hex written "0x.." / "$..". Anything else: def.
    int intValue(const QString &section, const QString &key, int def) const;
    // "1"/"0" and "true"/"false" (any case). Anything else: def.
    bool boolValue(const QString &section, const QString &key, bool def) const;
    // Names as spelled at their first occurrence, in file order, each once.
    QStringList sections() const;
    QStringList keys(const QString &section) const;

    // Writes. Each one saves the file at once and returns false (with lastError) when
    // the name or value cannot be stored or the file cannot be written; the file and
    // this object are then unchanged. Line breaks are refused in names and values.
    bool setValue(const QString &section, const QString &key, const QString &value);
    // Stores bytes as they are (not text in the file's encoding). In a UTF-8 file the
    // bytes must be valid UTF-8, so that the file keeps its encoding.
    bool setRawValue(const QString &section, const QString &key, const QByteArray &value);
    bool setInt(const QString &section, const QString &key, int value);
    bool setBool(const QString &section, const QString &key, bool value); // 1 / 0
    // True when the key (or section) is gone afterwards; an absent one writes nothing.
    // Removes every line of that key in the section's first occurrence.
    bool removeKey(const QString &section, const QString &key);
    // Removes every occurrence of the section: its header and all lines up to the next
    // section header.
    bool removeSection(const QString &section);

    // The reversible stored form of a password (see PasswordCodec). The plain text is
    // GB18030 bytes, shifted. A GB18030 file holds the shifted bytes raw; a UTF-8 file
    // holds each shifted byte as the character of that value (Latin-1) in UTF-8.
    // An absent key reads as defPlain. A password whose stored form would hold a line
    // break or begin or end with a blank cannot be read back, so it is refused.
    QString readStoredPassword(const QString &section, const QString &key,
                               const QString &defPlain = {}) const;
    bool writeStoredPassword(const QString &section, const QString &key, const QString &plain);

private:
    struct FileStamp {
        bool exists = false;
        dev_t dev = 0;
        ino_t ino = 0;
        off_t size = 0;
        long long mtimeNs = 0;
        long long ctimeNs = 0;
        bool operator==(const FileStamp &) const = default;
    };

    static FileStamp stampOf(const QString &path);

    bool load(IniDocument *doc, FileStamp *stamp, QString *error) const;
    // Re-reads the file when it changed on disk since it was last read or written.
    bool refresh() const;
    bool fail(const QString &message) const;
    bool checkNames(const QString &section, const QString &key) const;
    // Puts already encoded value bytes in place; the document must be fresh.
    bool storeValue(const QString &section, const QString &key, const QByteArray &value);
    bool save(const IniDocument &doc);

    QString m_path;
    mutable IniDocument m_doc;
    mutable FileStamp m_stamp;
    mutable QString m_lastError;
};

} // namespace vek
