// The placement: every feed on 17 x 11 and 11 x 17 pages against a table worked out by hand,
// the worked examples, the tenths test and the paper warning.

#include "envelopes/TEnvelopePlacement.h"

#include <gtest/gtest.h>

using namespace qm::envelopes;

namespace {

constexpr TEnvelopeFace kNumber10{9500, 4125};

TEnvelopeFeedMethod Feed(TFeedOrientation o, TFeedFacing f, TFeedPosition p, bool cw = false)
{
    TEnvelopeFeedMethod feed;
    feed.orientation = o;
    feed.facing = f;
    feed.position = p;
    feed.clockwise = cw;
    return feed;
}

struct TRow {
    TFeedOrientation o;
    TFeedFacing f;
    TFeedPosition p;
    bool cw;
    double x, y;
};

constexpr auto P = TFeedOrientation::Portrait;
constexpr auto L = TFeedOrientation::Landscape;
constexpr auto Up = TFeedFacing::Up;
constexpr auto Dn = TFeedFacing::Down;
constexpr auto Le = TFeedPosition::Left;
constexpr auto Ri = TFeedPosition::Right;
constexpr auto Ce = TFeedPosition::Centre;

void CheckTable(double pw, double ph, const std::vector<TRow>& rows)
{
    for (const TRow& r : rows) {
        const QPointF at =
            TEnvelopePlacement::Offsets(pw, ph, kNumber10, Feed(r.o, r.f, r.p, r.cw));
        EXPECT_DOUBLE_EQ(at.x(), r.x) << pw << "x" << ph << " o" << int(r.o) << " f" << int(r.f)
                                      << " p" << int(r.p) << " cw" << r.cw;
        EXPECT_DOUBLE_EQ(at.y(), r.y) << pw << "x" << ph << " o" << int(r.o) << " f" << int(r.f)
                                      << " p" << int(r.p) << " cw" << r.cw;
    }
}

} // namespace

TEST(EnvelopePlacementTest, EveryFeedOnATabloidLandscapePage)
{
    // 17 x 11 with a #10: PW - EW = 7.5, PH - EH = 6.875. Portrait ignores the rotation.
    CheckTable(17, 11,
               {
                   {P, Up, Le, false, 0, 0},        {P, Up, Ri, false, 7.5, 0},
                   {P, Up, Ce, false, 3.75, 0},     {P, Dn, Le, false, 7.5, 0},
                   {P, Dn, Ri, false, 0, 0},        {P, Dn, Ce, false, 3.75, 0},
                   {P, Up, Le, true, 0, 0},         {P, Up, Ri, true, 7.5, 0},
                   {P, Up, Ce, true, 3.75, 0},      {P, Dn, Le, true, 7.5, 0},
                   {P, Dn, Ri, true, 0, 0},         {P, Dn, Ce, true, 3.75, 0},
                   {L, Up, Le, false, 7.5, 0},      {L, Up, Ri, false, 7.5, 6.875},
                   {L, Up, Ce, false, 7.5, 3.4375}, {L, Dn, Le, false, 7.5, 6.875},
                   {L, Dn, Ri, false, 7.5, 0},      {L, Dn, Ce, false, 7.5, 3.4375},
                   {L, Up, Le, true, 0, 0},         {L, Up, Ri, true, 0, 6.875},
                   {L, Up, Ce, true, 0, 3.4375},    {L, Dn, Le, true, 0, 6.875},
                   {L, Dn, Ri, true, 0, 0},         {L, Dn, Ce, true, 0, 3.4375},
               });
}

TEST(EnvelopePlacementTest, EveryFeedOnATabloidPortraitPage)
{
    // 11 x 17 with a #10: PW - EW = 1.5, PH - EH = 12.875.
    CheckTable(11, 17,
               {
                   {P, Up, Le, false, 0, 0},        {P, Up, Ri, false, 1.5, 0},
                   {P, Up, Ce, false, 0.75, 0},     {P, Dn, Le, false, 1.5, 0},
                   {P, Dn, Ri, false, 0, 0},        {P, Dn, Ce, false, 0.75, 0},
                   {P, Up, Le, true, 0, 0},         {P, Up, Ri, true, 1.5, 0},
                   {P, Up, Ce, true, 0.75, 0},      {P, Dn, Le, true, 1.5, 0},
                   {P, Dn, Ri, true, 0, 0},         {P, Dn, Ce, true, 0.75, 0},
                   {L, Up, Le, false, 1.5, 0},      {L, Up, Ri, false, 1.5, 12.875},
                   {L, Up, Ce, false, 1.5, 6.4375}, {L, Dn, Le, false, 1.5, 12.875},
                   {L, Dn, Ri, false, 1.5, 0},      {L, Dn, Ce, false, 1.5, 6.4375},
                   {L, Up, Le, true, 0, 0},         {L, Up, Ri, true, 0, 12.875},
                   {L, Up, Ce, true, 0, 6.4375},    {L, Dn, Le, true, 0, 12.875},
                   {L, Dn, Ri, true, 0, 0},         {L, Dn, Ce, true, 0, 6.4375},
               });
}

TEST(EnvelopePlacementTest, TheWorkedExamples)
{
    // A page that reports exactly the envelope: no offset whatever the feed.
    for (auto o : {P, L})
        for (auto f : {Up, Dn})
            for (auto p : {Le, Ri, Ce})
                for (bool cw : {false, true})
                    EXPECT_EQ(TEnvelopePlacement::Offsets(9.5, 4.125, kNumber10, Feed(o, f, p, cw)),
                              QPointF(0, 0));
    EXPECT_EQ(TEnvelopePlacement::Offsets(11, 8.5, kNumber10, Feed(L, Up, Ce)),
              QPointF(1.5, 2.1875));
    EXPECT_EQ(TEnvelopePlacement::Offsets(11, 8.5, kNumber10, Feed(L, Dn, Le, true)),
              QPointF(0, 4.375));
    // Portrait, face down, right on Letter: PW - EW is negative and the position is right anyway.
    EXPECT_EQ(TEnvelopePlacement::Offsets(8.5, 11, kNumber10, Feed(P, Dn, Ri)), QPointF(0, 0));
    // Both sides of 9.55 x 4.15 truncate to the envelope's tenths: no offset.
    EXPECT_EQ(TEnvelopePlacement::Offsets(9.55, 4.15, kNumber10, Feed(L, Up, Ri)), QPointF(0, 0));
    // One tenth more and the table applies (landscape, up, right: X = PW - EW, Y = PH - EH).
    const QPointF off = TEnvelopePlacement::Offsets(9.6, 4.15, kNumber10, Feed(L, Up, Ri));
    EXPECT_DOUBLE_EQ(off.x(), 0.1);
    EXPECT_DOUBLE_EQ(off.y(), 0.025);
}

TEST(EnvelopePlacementTest, TenthsAreTakenFromThousandthsNotFromRawDoubles)
{
    // 4.56 x 10 is 45.599999... in doubles; the page of a C6 face still equals the face.
    const TEnvelopeFace c6{6480, 4560};
    EXPECT_EQ(TEnvelopePlacement::Offsets(6.48, 4.56, c6, Feed(L, Up, Ri)), QPointF(0, 0));
    // A page that a printer reports a hair under the face (4.5599999 in) is the same page.
    EXPECT_EQ(TEnvelopePlacement::Offsets(6.4799999, 4.5599999, c6, Feed(L, Up, Ri)),
              QPointF(0, 0));
    // Negative offsets become 0: a page smaller than the envelope puts it in the corner.
    EXPECT_EQ(TEnvelopePlacement::Offsets(4, 3, kNumber10, Feed(L, Up, Ce)), QPointF(0, 0));
}

TEST(EnvelopePlacementTest, PaperWarningIsOverOneInchInHundredths)
{
    EXPECT_FALSE(TEnvelopePlacement::PaperMismatch(9.5, 4.125, kNumber10));
    // 10.5 - 9.5 is exactly one inch: no warning; a hundredth more warns.
    EXPECT_FALSE(TEnvelopePlacement::PaperMismatch(10.5, 4.125, kNumber10));
    EXPECT_TRUE(TEnvelopePlacement::PaperMismatch(10.51, 4.125, kNumber10));
    // 4.125 is 412 hundredths: 5.12 differs by exactly 100, 5.13 by 101.
    EXPECT_FALSE(TEnvelopePlacement::PaperMismatch(9.5, 5.12, kNumber10));
    EXPECT_TRUE(TEnvelopePlacement::PaperMismatch(9.5, 5.13, kNumber10));
    EXPECT_TRUE(TEnvelopePlacement::PaperMismatch(8.5, 11, kNumber10)); // Letter portrait
    // C6 is 456 hundredths high: in doubles 4.56 x 100 would drop to 455 and 5.56 would not warn.
    const TEnvelopeFace c6{6480, 4560};
    EXPECT_FALSE(TEnvelopePlacement::PaperMismatch(6.48, 5.56, c6));
    EXPECT_TRUE(TEnvelopePlacement::PaperMismatch(6.48, 5.57, c6));
    EXPECT_EQ(TEnvelopePlacement::MismatchWarning(),
              "WARNING: Printer PAPER SIZE and ORIENTATION do not match selected Envelope.\r\n"
              "Use Printer Setup to correct this.");
}
