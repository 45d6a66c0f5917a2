#pragma once

#include <QString>
#include <QVariant>

#include <cstddef>

namespace vek {

// Passwords of usys_Users: Argon2id strings (salt and cost inside the string). A value
// in the old shifted form is still recognised so that it can be replaced at login.
class PasswordHash {
public:
    struct Limits {
        unsigned long long opsLimit;
        std::size_t memLimit;
    };
    // The cost new hashes are made with: libsodium's interactive limits.
    static Limits interactiveLimits();
    // The lowest cost libsodium accepts; for tests, which hash many passwords.
    static Limits minimumLimits();
    static Limits currentLimits();
    static void setLimits(Limits limits);

    enum class Match {
        No,
        Yes,
        YesLegacy,   // matched an old shifted value: store a hash in its place
        YesRehash,   // matched a hash made with other limits: store a new one
    };

    // A new Argon2id string for a non-empty password. Throws std::runtime_error when
    // libsodium cannot hash (out of memory).
    static QString hash(const QString &password);
    // What is stored for a password: the empty text for an empty one (so the empty
    // password stays recognisable), else a hash.
    static QString storedFor(const QString &password);

    // Whether typed matches the stored value (NULL allowed).
    // - An empty password matches only NULL or the empty text, and nothing else does.
    // - A hash matches by verification.
    // - Any other value is the old form: the typed text's shifted GB18030 bytes, each
    //   byte kept as one character. The closed-account marker never matches.
    static Match verify(const QVariant &stored, const QString &typed);

    static bool isHash(const QString &stored);
    // The old stored form of a password (each GB18030 byte + 123, one character per byte).
    static QString legacyForm(const QString &plain);
    // Value written for accounts that no password opens (two double quote marks).
    static QString closedMarker() { return QStringLiteral("\"\""); }
};

} // namespace vek
