#pragma once

#include <QString>
#include <QStringList>

namespace vek {

class TDModule;

// A list of addressed users and groups, as stored in ShareMemo columns: each user id
// right-padded with blanks to 16 characters, one per line, then one empty line, then
// each group name padded the same way. A name longer than 16 is written whole: cutting
// it would make it another name.
struct NameList {
    QStringList users;  // trimmed ids
    QStringList groups; // trimmed group names

    static constexpr int kSlotWidth = 16;
    static QString pad(const QString &name);

    // Reads lines with or without a trailing line break and with CRLF, LF or CR breaks.
    // Lines before the first empty line are users, the rest groups; a text without an
    // empty line holds users only. Blank lines in the group part are skipped.
    static NameList parse(const QString &text);
    static NameList fromLines(const QStringList &lines);

    QStringList toLines() const;
    // Lines joined by CRLF, each one ended, as stored texts have always been.
    QString toText() const;

    bool isEmpty() const { return users.isEmpty() && groups.isEmpty(); }
    bool containsUser(const QString &userId) const;
    bool containsGroup(const QString &group) const;
    // Whether a user of that group is addressed: named, or his group named. An empty
    // list addresses everyone, as a message to all users stores none.
    bool addresses(const QString &userId, const QString &group) const;

    // The addressed user ids: every user of a named group (usys_Users.ugroup) and every
    // named user, each once (case ignored), sorted without regard to case. Throws DbError.
    QStringList recipients(TDModule &db) const;

    bool operator==(const NameList &) const = default;
};

} // namespace vek
