// The object and panel menu commands on the panel model: stacking, aligning, centring, flags,
// select all, the clipboard file with its paste rule, clone and placing a drawn object.

#include "design/surface/TGSurfaceCommands.h"

#include "TTestHome.h"
#include "design/core/TGBasePanel.h"
#include "design/core/TGClassRegistry.h"
#include "design/objects/TGLabelShapes.h"
#include "design/stream/TLayoutError.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace qm::design {
namespace {

using C = TGSurfaceCommands;

class TGSurfaceCommandsTest : public ::testing::Test {
protected:
    TGSurfaceCommandsTest()
    {
        TGClassRegistry::Instance().RegisterHostKinds(TGHostKind::Label);
        panel.SetSize(300, 100);
        panel.OnLabelChanged = [this] { ++changes; };
    }

    TGGraphicControl* Box(int left, int top, int width, int height)
    {
        auto* object = panel.AddObject(std::make_unique<TGLabelShapes>());
        object->SetName(panel.Owner().FreeSpecialName());
        object->SetBounds(left, top, width, height);
        return object;
    }

    test::TTestHome home;
    TGBasePanel panel;
    int changes = 0;
};

TEST_F(TGSurfaceCommandsTest, AlignsToTheExtremesOfTheSelectionLockedOnesToo)
{
    auto* a = Box(10, 20, 30, 10);
    auto* b = Box(50, 5, 60, 40);
    b->SetLocked(true);
    panel.Select(a);
    panel.Select(b);
    // Each command that moved something tells the panel.
    int before = changes;
    C::AlignLefts(panel);
    EXPECT_EQ(a->Left(), 10);
    EXPECT_EQ(b->Left(), 10);
    EXPECT_GT(changes, before);
    before = changes;
    C::AlignRights(panel);
    EXPECT_EQ(a->Left(), 70 - 30);
    EXPECT_EQ(b->Left(), 10);
    EXPECT_GT(changes, before);
    before = changes;
    C::AlignTops(panel);
    EXPECT_EQ(a->Top(), 5);
    EXPECT_GT(changes, before);
    before = changes;
    C::AlignBottoms(panel);
    EXPECT_EQ(a->Top(), 45 - 10);
    EXPECT_EQ(b->Top(), 5);
    EXPECT_GT(changes, before);
}

TEST_F(TGSurfaceCommandsTest, CentresWithTruncatingDivision)
{
    auto* a = Box(0, 0, 31, 11);
    C::CenterVertically(panel, *a);
    C::CenterHorizontally(panel, *a);
    EXPECT_EQ(a->Top(), 50 - 5);
    EXPECT_EQ(a->Left(), 150 - 15);
    panel.SetSize(301, 101);
    auto* b = Box(0, 0, 10, 10);
    panel.Select(b);
    C::CenterSelectionHorizontally(panel);
    C::CenterSelectionVertically(panel);
    EXPECT_EQ(b->Left(), 150 - 5);
    EXPECT_EQ(b->Top(), 50 - 5);
    EXPECT_EQ(a->Left(), 135) << "only the selection moves";
}

TEST_F(TGSurfaceCommandsTest, StackingInSelectionOrderAndSendToBackEmptiesTheSelection)
{
    auto* a = Box(0, 0, 10, 10);
    auto* b = Box(0, 0, 10, 10);
    auto* c = Box(0, 0, 10, 10);
    panel.Select(b);
    panel.Select(a);
    C::BringSelectionToFront(panel);
    EXPECT_EQ(panel.IndexOf(c), 0);
    EXPECT_EQ(panel.IndexOf(b), 1);
    EXPECT_EQ(panel.IndexOf(a), 2) << "the last selected ends on top";
    EXPECT_EQ(panel.Selection().size(), 2u);
    C::SendSelectionToBack(panel);
    EXPECT_EQ(panel.IndexOf(a), 0) << "the last selected ends at the bottom";
    EXPECT_TRUE(panel.Selection().empty());
    C::BringToFront(panel, *a);
    EXPECT_EQ(panel.IndexOf(a), 2);
    panel.Select(b);
    C::SendToBack(panel, *c);
    EXPECT_EQ(panel.IndexOf(c), 0);
    EXPECT_TRUE(panel.Selection().empty());
}

TEST_F(TGSurfaceCommandsTest, FlagsAndSelectAll)
{
    auto* a = Box(0, 0, 10, 10);
    auto* b = Box(0, 0, 10, 10);
    auto* c = Box(0, 0, 10, 10);
    C::MakeUnselectable(panel, *b);
    C::SelectAll(panel);
    EXPECT_EQ(panel.Selection(), (std::vector<TGGraphicControl*>{a, c}));
    C::MakeUnselectable(panel, *a);
    EXPECT_EQ(panel.Selection(), (std::vector<TGGraphicControl*>{c}));
    C::MarkAll(panel, true);
    EXPECT_TRUE(panel.Selection().empty());
    EXPECT_TRUE(c->Unselectable());
    C::MarkAll(panel, false);
    C::SelectAll(panel);
    EXPECT_EQ(panel.Selection().size(), 3u);
    C::LockAll(panel, true);
    EXPECT_TRUE(a->Locked() && b->Locked() && c->Locked());
    C::ToggleLocked(panel, *b);
    EXPECT_FALSE(b->Locked());
    C::LockAll(panel, false);
    EXPECT_FALSE(a->Locked());
}

TEST(TPasteGate, RepeatsWithinASecondAreIgnoredTheFirstAlwaysCounts)
{
    TPasteGate gate;
    EXPECT_TRUE(gate.Allow(0)) << "a clock that starts near zero must not block the first paste";
    EXPECT_FALSE(gate.Allow(999));
    EXPECT_TRUE(gate.Allow(1000));
    EXPECT_FALSE(gate.Allow(1500)) << "an ignored paste does not restart the second";
    EXPECT_TRUE(gate.Allow(2001));
}

TEST_F(TGSurfaceCommandsTest, CopyPasteShiftsFifteenAndLeavesPastedObjectsUnselected)
{
    auto* a = Box(10, 20, 30, 10);
    auto* b = Box(100, 50, 40, 20);
    panel.Select(b);
    panel.Select(a);
    C::CopySelection(panel);
    ASSERT_TRUE(C::ClipboardExists());
    TPasteGate gate;
    ASSERT_TRUE(C::Paste(panel, gate, 5000));
    ASSERT_EQ(panel.ObjectCount(), 4);
    // Written in selection order: b first.
    EXPECT_EQ(panel.ObjectAt(2)->BoundsRect(), QRect(115, 65, 40, 20));
    EXPECT_EQ(panel.ObjectAt(3)->BoundsRect(), QRect(25, 35, 30, 10));
    EXPECT_EQ(panel.Selection().size(), 2u);
    EXPECT_FALSE(C::Paste(panel, gate, 5400));
    EXPECT_EQ(panel.ObjectCount(), 4);
}

TEST_F(TGSurfaceCommandsTest, CutDeletesAndOneObjectOutsideTheSelectionIsCopiedAlone)
{
    auto* a = Box(10, 20, 30, 10);
    auto* b = Box(100, 50, 40, 20);
    panel.Select(a);
    C::CutOne(panel, *b);
    EXPECT_EQ(panel.ObjectCount(), 1);
    EXPECT_EQ(panel.Selection().size(), 1u);
    TPasteGate gate;
    C::Paste(panel, gate, 0);
    ASSERT_EQ(panel.ObjectCount(), 2);
    EXPECT_EQ(panel.ObjectAt(1)->BoundsRect(), QRect(115, 65, 40, 20));
    C::CutSelection(panel);
    EXPECT_EQ(panel.ObjectCount(), 1);
    EXPECT_EQ(panel.ObjectAt(0)->BoundsRect(), QRect(115, 65, 40, 20));
}

TEST_F(TGSurfaceCommandsTest, ACutWhoseCopyFailsDeletesNothing)
{
    auto* a = Box(10, 20, 30, 10);
    panel.Select(a);
    ASSERT_TRUE(QDir().mkpath(C::ClipboardPath())); // a folder where the file should go
    EXPECT_THROW(C::CutSelection(panel), TLayoutError);
    EXPECT_EQ(panel.ObjectCount(), 1);
    EXPECT_EQ(panel.Selection().size(), 1u);
    EXPECT_THROW(C::CutOne(panel, *a), TLayoutError);
    EXPECT_EQ(panel.ObjectCount(), 1);
}

TEST_F(TGSurfaceCommandsTest, PasteWithoutAFileStillCountsAndNotifies)
{
    TPasteGate gate;
    EXPECT_TRUE(C::Paste(panel, gate, 100));
    EXPECT_EQ(panel.ObjectCount(), 0);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(C::Paste(panel, gate, 200));
}

TEST_F(TGSurfaceCommandsTest, PastingAKindNotRegisteredStopsWithItsMessage)
{
    Box(10, 20, 30, 10);
    C::CopyOne(panel, *panel.ObjectAt(0));
    TGClassRegistry::Instance().Clear();
    TPasteGate gate;
    try {
        C::Paste(panel, gate, 0);
        FAIL() << "no error";
    } catch (const TLayoutError& error) {
        EXPECT_EQ(error.Message(), QStringLiteral("Class TGLabelShapes not found"));
    }
    EXPECT_EQ(panel.ObjectCount(), 1);
    TGClassRegistry::Instance().RegisterHostKinds(TGHostKind::Label);
}

TEST_F(TGSurfaceCommandsTest, CloneIs25LowerOnTopAndTakesOverTheSelection)
{
    auto* a = Box(10, 20, 30, 10);
    auto* b = Box(60, 20, 30, 10);
    panel.Select(a);
    TGGraphicControl* copy = C::Clone(panel, *a);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->BoundsRect(), QRect(10, 45, 30, 10));
    EXPECT_EQ(panel.IndexOf(copy), 2);
    EXPECT_EQ(panel.Selection(), (std::vector<TGGraphicControl*>{copy}));
    EXPECT_NE(copy->Name(), a->Name());
    TGGraphicControl* other = C::Clone(panel, *b);
    EXPECT_EQ(panel.Selection(), (std::vector<TGGraphicControl*>{copy}))
        << "cloning an unselected object leaves the selection";
    EXPECT_EQ(other->Top(), 45);
}

TEST_F(TGSurfaceCommandsTest, DeleteFreesTheSelection)
{
    Box(10, 20, 30, 10);
    auto* b = Box(60, 20, 30, 10);
    panel.Select(b);
    C::DeleteSelection(panel);
    EXPECT_EQ(panel.ObjectCount(), 1);
    EXPECT_TRUE(panel.Selection().empty());
}

TEST_F(TGSurfaceCommandsTest, PlacingNamesSpecialAndEnforcesTheMinimumSize)
{
    Box(0, 0, 5, 5); // Special1
    panel.SetScale(1.5f);
    changes = 0;
    TGGraphicControl* placed =
        C::PlaceObject(panel, std::make_unique<TGLabelShapes>(), QRect(20, 30, 4, 3));
    EXPECT_EQ(placed->Name(), QStringLiteral("Special2"));
    EXPECT_EQ(placed->BoundsRect(), QRect(20, 30, 10, 15));
    EXPECT_FLOAT_EQ(placed->Scale(), 1.5f);
    EXPECT_TRUE(panel.Selection().empty());
    EXPECT_EQ(changes, 1);
    TGGraphicControl* big =
        C::PlaceObject(panel, std::make_unique<TGLabelShapes>(), QRect(20, 30, 40, 30));
    EXPECT_EQ(big->BoundsRect(), QRect(20, 30, 40, 30));
}

TEST_F(TGSurfaceCommandsTest, RemovingTheClipboardTakesItsCompanionToo)
{
    Box(10, 20, 30, 10);
    C::CopyOne(panel, *panel.ObjectAt(0));
    QFile temp(C::TempFilePath());
    ASSERT_TRUE(temp.open(QIODevice::WriteOnly));
    temp.close();
    C::RemoveClipboardFiles();
    EXPECT_FALSE(QFile::exists(C::ClipboardPath()));
    EXPECT_FALSE(QFile::exists(C::TempFilePath()));
}

} // namespace
} // namespace qm::design
