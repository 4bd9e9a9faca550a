// The bytes the modem gets, and the characters kept out of them.

#include "dialer/TDialCommand.h"

#include <gtest/gtest.h>

using qm::dialer::TDialCommand;
using qm::dialer::TDialMethod;

TEST(DialCommand, ToneAndPulseCommandsCarryTheNumberExactlyAsTyped)
{
    EXPECT_EQ(TDialCommand::Dial(TDialMethod::dmPulse, "9555-0100"), "ATDP9555-0100\r\n");
    EXPECT_EQ(TDialCommand::Dial(TDialMethod::dmTone, "9555-0100"), "ATDT9555-0100\r\n");
    // Blanks, brackets and letters are sent as typed; the modem's answer judges them.
    EXPECT_EQ(TDialCommand::Dial(TDialMethod::dmTone, "(555) 0100 x12,W"),
              "ATDT(555) 0100 x12,W\r\n");
    EXPECT_EQ(TDialCommand::Dial(TDialMethod::dmTone, ""), "ATDT\r\n");
    EXPECT_EQ(TDialCommand::HangUp(), "ATH\r\n");
    EXPECT_EQ(TDialCommand::HangUp().size(), 5);
}

TEST(DialCommand, EveryPrintableAsciiCharacterMayBeDialled)
{
    QString all;
    for (char16_t c = 0x20; c <= 0x7E; ++c)
        all += QChar(c);
    EXPECT_FALSE(TDialCommand::FirstRefused(all).has_value());
    EXPECT_EQ(TDialCommand::Dial(TDialMethod::dmTone, all).mid(4, 95), all.toLatin1());
}

TEST(DialCommand, ControlAndNonAsciiCharactersAreRefusedByName)
{
    EXPECT_EQ(TDialCommand::FirstRefused(QStringLiteral("555\nAT&F&W")), U'\n');
    EXPECT_EQ(TDialCommand::RefusalText(U'\n'),
              "The number contains a character that cannot be dialled: U+000A");
    EXPECT_EQ(TDialCommand::FirstRefused(QStringLiteral("555-01é0")), U'é');
    EXPECT_EQ(TDialCommand::RefusalText(U'é'),
              "The number contains a character that cannot be dialled: é");
    EXPECT_EQ(TDialCommand::FirstRefused(QStringLiteral("555\r")), U'\r');
    EXPECT_EQ(TDialCommand::FirstRefused(QStringLiteral("\t5")), U'\t');
    EXPECT_EQ(TDialCommand::CharacterName(0x7F), "U+007F");
    EXPECT_EQ(TDialCommand::CharacterName(0xA0), "U+00A0"); // no-break space shows as a code
    EXPECT_EQ(TDialCommand::CharacterName(0x85), "U+0085");
    // A character beyond the basic plane is one character, not two halves.
    const QString emoji = QString::fromUcs4(U"5\U0001F4DE");
    EXPECT_EQ(TDialCommand::FirstRefused(emoji), U'\U0001F4DE');
    EXPECT_EQ(TDialCommand::CharacterName(U'\U0001F4DE'), QString::fromUcs4(U"\U0001F4DE"));
}
