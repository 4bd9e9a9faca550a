// Reading the modem's answer to the dial command.

#include "dialer/TModemAnswer.h"

#include <gtest/gtest.h>

using qm::dialer::TModemAnswer;
using TState = TModemAnswer::TState;

TEST(ModemAnswer, EchoAndBlankLinesArePassedOverUntilTheResult)
{
    TModemAnswer answer("ATDT555-0100\r\n");
    EXPECT_EQ(answer.Feed("ATDT555-0100\r\r\n"), TState::Waiting);
    EXPECT_EQ(answer.Feed("\r\nOK\r\n"), TState::Ok);

    // Echo in another case, then a refusal split over several reads.
    TModemAnswer split("ATDP9\r\n");
    EXPECT_EQ(split.Feed("atdp9\r"), TState::Waiting);
    EXPECT_EQ(split.Feed("\nNO DIAL"), TState::Waiting);
    EXPECT_EQ(split.Feed("TONE\r\n"), TState::Refused);
    EXPECT_EQ(split.Word(), "NO DIALTONE");
}

TEST(ModemAnswer, EachRefusalWordIsRecognisedAndOtherTalkIsNot)
{
    for (const char* word : {"ERROR", "NO DIALTONE", "NO DIAL TONE", "BUSY", "NO CARRIER"}) {
        TModemAnswer answer("ATDT1\r\n");
        EXPECT_EQ(answer.Feed(QByteArray("\r\n") + word + "\r\n"), TState::Refused) << word;
        EXPECT_EQ(answer.Word(), word);
    }
    TModemAnswer chatter("ATDT1\r\n");
    EXPECT_EQ(chatter.Feed("RING\r\nCONNECT 2400\r\nERRORS\r\n  \r\n"), TState::Waiting);
    EXPECT_EQ(chatter.Finish(), TState::Waiting);
}

TEST(ModemAnswer, ALastLineWithoutLineEndCountsWhenTheWaitEnds)
{
    TModemAnswer answer("ATDT1\r\n");
    EXPECT_EQ(answer.Feed("ATDT1\r\nBUSY"), TState::Waiting);
    EXPECT_EQ(answer.Finish(), TState::Refused);
    EXPECT_EQ(answer.Word(), "BUSY");
    // What comes after the result changes nothing.
    TModemAnswer ok("ATDT1\r\n");
    EXPECT_EQ(ok.Feed("OK\r\nERROR\r\n"), TState::Ok);
    EXPECT_EQ(ok.Finish(), TState::Ok);
}

TEST(ModemAnswer, EndlessNoiseIsBoundedAndHarmless)
{
    TModemAnswer answer("ATDT1\r\n");
    EXPECT_EQ(answer.Feed(QByteArray(100000, 'x')), TState::Waiting);
    EXPECT_EQ(answer.Feed(QByteArray("\0\xff\r\nERROR\r\n", 11)), TState::Refused);
}
