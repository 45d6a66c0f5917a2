#include "PasswordHash.h"

#include "platform/PasswordCodec.h"

#include <QByteArray>
#include <QStringEncoder>
#include <sodium.h>
#include <stdexcept>

namespace vek {

namespace {

PasswordHash::Limits g_limits = PasswordHash::interactiveLimits();

void initSodium()
{
    static const bool ok = sodium_init() >= 0;
    if (!ok)
        throw std::runtime_error("libsodium cannot be initialised");
}

QByteArray gb18030(const QString &text)
{
    QStringEncoder enc("GB18030");
    return enc.encode(text);
}

QByteArray nulTerminated(const QString &stored)
{
    QByteArray s = stored.toLatin1();
    s.truncate(crypto_pwhash_argon2id_STRBYTES - 1);
    return s; // QByteArray data is always NUL-terminated
}

} // namespace

PasswordHash::Limits PasswordHash::interactiveLimits()
{
    return {crypto_pwhash_argon2id_OPSLIMIT_INTERACTIVE, crypto_pwhash_argon2id_MEMLIMIT_INTERACTIVE};
}

PasswordHash::Limits PasswordHash::minimumLimits()
{
    return {crypto_pwhash_argon2id_OPSLIMIT_MIN, crypto_pwhash_argon2id_MEMLIMIT_MIN};
}

PasswordHash::Limits PasswordHash::currentLimits()
{
    return g_limits;
}

void PasswordHash::setLimits(Limits limits)
{
    g_limits = limits;
}

QString PasswordHash::hash(const QString &password)
{
    initSodium();
    const QByteArray pw = password.toUtf8();
    char out[crypto_pwhash_argon2id_STRBYTES];
    if (crypto_pwhash_argon2id_str(out, pw.constData(), static_cast<unsigned long long>(pw.size()),
                                   g_limits.opsLimit, g_limits.memLimit) != 0)
        throw std::runtime_error("password hashing failed (out of memory)");
    return QString::fromLatin1(out);
}

QString PasswordHash::storedFor(const QString &password)
{
    return password.isEmpty() ? QString(QLatin1String("")) : hash(password);
}

bool PasswordHash::isHash(const QString &stored)
{
    return stored.startsWith(QLatin1String(crypto_pwhash_argon2id_STRPREFIX));
}

QString PasswordHash::legacyForm(const QString &plain)
{
    return QString::fromLatin1(shiftPasswordUp(gb18030(plain)));
}

PasswordHash::Match PasswordHash::verify(const QVariant &stored, const QString &typed)
{
    const QString value = stored.isNull() ? QString() : stored.toString();
    if (typed.isEmpty())
        return value.isEmpty() ? Match::Yes : Match::No;
    if (value.isEmpty() || value == closedMarker())
        return Match::No;

    if (isHash(value)) {
        initSodium();
        const QByteArray s = nulTerminated(value);
        const QByteArray pw = typed.toUtf8();
        if (crypto_pwhash_argon2id_str_verify(s.constData(), pw.constData(),
                                              static_cast<unsigned long long>(pw.size())) != 0)
            return Match::No;
        return crypto_pwhash_argon2id_str_needs_rehash(s.constData(), g_limits.opsLimit, g_limits.memLimit) != 0
            ? Match::YesRehash
            : Match::Yes;
    }
    return value == legacyForm(typed) ? Match::YesLegacy : Match::No;
}

} // namespace vek
