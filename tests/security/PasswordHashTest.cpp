#include "security/PasswordHash.h"
#include "security/SecurityFixture.h"

#include "platform/PasswordCodec.h"

#include <gtest/gtest.h>

using namespace vek;
using Match = PasswordHash::Match;

TEST(PasswordHash, NewHashesAreSaltedArgon2idAtInteractiveCost)
{
    const PasswordHash::Limits saved = PasswordHash::currentLimits();
    PasswordHash::setLimits(PasswordHash::interactiveLimits());
    const QString a = PasswordHash::hash("geheim");
    const QString b = PasswordHash::hash("geheim");

    EXPECT_TRUE(a.startsWith("$argon2id$")) << a.toStdString();
    EXPECT_TRUE(a.contains("m=65536,t=2")) << a.toStdString();
    EXPECT_LE(a.size(), 128); // fits usys_Users.pwd
    EXPECT_NE(a, b);          // each hash has its own salt
    EXPECT_EQ(PasswordHash::verify(a, "geheim"), Match::Yes);
    EXPECT_EQ(PasswordHash::verify(b, "Geheim"), Match::No);
    PasswordHash::setLimits(saved);
}

TEST(PasswordHash, LegacyFormIsTheShiftedBytes)
{
    EXPECT_EQ(PasswordHash::legacyForm("abc"), QString::fromLatin1("\xDC\xDD\xDE"));
    // Non-ASCII text is shifted as its GB18030 bytes.
    EXPECT_EQ(PasswordHash::legacyForm(QStringLiteral("中")),
              QString::fromLatin1(shiftPasswordUp(QByteArray("\xD6\xD0"))));
}

TEST(PasswordHash, WhatEachStoredValueAccepts)
{
    test::CheapHashing cheap;
    const QString hashed = PasswordHash::hash("pw1");
    const QString legacy = PasswordHash::legacyForm("pw1");
    const QVariant null{QMetaType::fromType<QString>()};
    struct Case {
        QVariant stored;
        QString typed;
        Match expected;
    };
    const QList<Case> cases = {
        {null, "", Match::Yes},
        {QString(""), "", Match::Yes},
        {null, "pw1", Match::No},
        {QString(""), "pw1", Match::No},
        {hashed, "pw1", Match::Yes},
        {hashed, "", Match::No},
        {hashed, "PW1", Match::No},
        {legacy, "pw1", Match::YesLegacy},
        {legacy, "", Match::No},
        {legacy, "pw2", Match::No},
        {PasswordHash::closedMarker(), "", Match::No},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PasswordHash::verify(c.stored, c.typed), c.expected)
            << "stored " << c.stored.toString().toStdString() << " typed " << c.typed.toStdString();
}

TEST(PasswordHash, ClosedAccountsOpenToNoTypedPassword)
{
    // "Ё" is A7 A7 in GB18030; shifted, that is exactly the two quote marks written for
    // the closed default accounts, so the old comparison would have let it in.
    ASSERT_EQ(PasswordHash::legacyForm(QStringLiteral("Ё")), PasswordHash::closedMarker());
    EXPECT_EQ(PasswordHash::verify(PasswordHash::closedMarker(), QStringLiteral("Ё")), Match::No);
    EXPECT_EQ(PasswordHash::verify(PasswordHash::closedMarker(), "\"\""), Match::No);
}

TEST(PasswordHash, HashOfOtherCostAsksForANewOne)
{
    test::CheapHashing cheap;
    const QString h = PasswordHash::hash("pw");
    PasswordHash::setLimits({PasswordHash::minimumLimits().opsLimit + 1, PasswordHash::minimumLimits().memLimit});
    EXPECT_EQ(PasswordHash::verify(h, "pw"), Match::YesRehash);
    EXPECT_EQ(PasswordHash::verify(h, "px"), Match::No);
}
