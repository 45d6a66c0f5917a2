#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace vek {

enum class IniEncoding { Utf8, Utf8Bom, Gb18030 };

// The contents of an INI file as raw byte lines, with each line's meaning.
//
// Lines are kept byte for byte, so only the lines an edit touches change when the
// document is written back. Names match without regard to case; the first section
// of a name, and the first key of a name within it, are the ones found.
class IniDocument {
public:
    enum class LineKind { Other, Section, Key };
    struct Line {
        QByteArray text; // without the line ending
        QByteArray eol;  // "\r\n", "\n", or empty for a last line without one
        LineKind kind = LineKind::Other;
        QString name;       // section or key name, trimmed and decoded
        qsizetype valueStart = 0; // key lines: value bytes are text[valueStart, valueEnd)
        qsizetype valueEnd = 0;
    };

    QList<Line> lines;
    IniEncoding encoding = IniEncoding::Utf8;
    QByteArray eol = "\n"; // for new lines: the file's first line ending

    // Detects the encoding (UTF-8 BOM, else valid UTF-8, else GB18030) and line ending.
    static IniDocument parse(const QByteArray &data);
    QByteArray serialize() const;
    // Sets kind, name and value range from the line's text.
    static void classify(Line &line, IniEncoding encoding);

    static QString decode(const QByteArray &bytes, IniEncoding encoding);
    // False when the text has characters the encoding cannot hold.
    static bool encode(const QString &text, IniEncoding encoding, QByteArray *out);

    // Line indexes; -1 when absent.
    int findSection(const QString &section) const;
    // The index just past the section's last line.
    int sectionEnd(int header) const;
    int findKey(const QString &section, const QString &key) const;

    // Text helpers, shared with IniFile so that checks there match the parsing here.
    static QByteArray trimBlanks(const QByteArray &bytes);
    static QString trimBlanks(const QString &text);
    static bool sameName(const QString &a, const QString &b);
    static bool isValidUtf8(const QByteArray &bytes);
    static bool hasLineBreakOrNul(const QByteArray &bytes);
    static bool hasLineBreakOrNul(const QString &text);
};

} // namespace vek
