// A report band and its surface driven offscreen with the mouse: the tool state with its cursor,
// the accepts-clicks flag, each tool in each band (what it makes, or its refusal with a beep),
// the object press event, and the band's own limits for pulling objects in and dropping them.

#include "TScriptedResponder.h"
#include "TTestHome.h"

#include "design/core/TGClassRegistry.h"
#include "design/objects/TGLabelShapes.h"
#include "design/objects/TGPDLabel.h"
#include "design/objects/TGPLabel.h"
#include "reports/TReportPlacement.h"
#include "reports/ui/TReportBandSurface.h"
#include "reports/ui/TReportPanel.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using qm::design::TGGraphicControl;
using qm::reports::TPanelKind;
using qm::reports::TPanelState;
using qm::reports::TReportBandSurface;
using qm::reports::TReportPanel;
using qm::reports::TReportPlacement;

class TReportPanelTest : public ::testing::Test {
protected:
    // Draws with the tool in a band 600 x 80 by a quick click at `at`; returns the object made.
    TGGraphicControl* ClickWith(TPanelState tool, TPanelKind kind, const QPoint& at)
    {
        mBand = std::make_unique<TReportPanel>(kind);
        mBand->SetSize(600, 80);
        mSurface = std::make_unique<TReportBandSurface>(*mBand);
        mSurface->OnEditObject = [this](TGGraphicControl& o) { mEdited << o.ClassName(); };
        mSurface->show();
        mBand->SetPanelState(tool);
        QTest::mouseClick(mSurface.get(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
        return mBand->ObjectCount() ? mBand->ObjectAt(mBand->ObjectCount() - 1) : nullptr;
    }

    qm::test::TTestHome mHome;
    qm::test::TScriptedResponder mResponder;
    std::unique_ptr<TReportPanel> mBand;
    std::unique_ptr<TReportBandSurface> mSurface;
    QList<QByteArray> mEdited;
};

TEST_F(TReportPanelTest, NewBandPointsTakesClicksAndRegistersTheReportKinds)
{
    qm::design::TGClassRegistry::Instance().Clear();
    TReportPanel band(TPanelKind::rpkFooter);
    EXPECT_EQ(band.PAnelKind(), TPanelKind::rpkFooter);
    EXPECT_EQ(band.PanelState(), TPanelState::psPointing);
    EXPECT_TRUE(band.AcceptsClicks());
    for (const QByteArray& kind :
         qm::design::TGClassRegistry::HostKinds(qm::design::TGHostKind::Report))
        EXPECT_TRUE(qm::design::TGClassRegistry::Instance().IsRegistered(kind)) << kind.data();
}

TEST_F(TReportPanelTest, DrawingToolsShowTheCrossHairAndPointingTheArrow)
{
    TReportPanel band(TPanelKind::rpkHeader);
    band.SetSize(300, 40);
    TReportBandSurface surface(band);
    band.SetPanelState(TPanelState::psRectangle);
    EXPECT_FALSE(surface.Pointing());
    EXPECT_EQ(surface.cursor().shape(), Qt::CrossCursor);
    QTest::mouseMove(&surface, QPoint(20, 20));
    EXPECT_EQ(surface.cursor().shape(), Qt::CrossCursor);
    band.SetPanelState(TPanelState::psPointing);
    EXPECT_TRUE(surface.Pointing());
    EXPECT_NE(surface.cursor().shape(), Qt::CrossCursor);
}

TEST_F(TReportPanelTest, ABandThatTakesNoClicksOnlyBeeps)
{
    mBand = std::make_unique<TReportPanel>(TPanelKind::rpkFooter);
    mBand->SetSize(600, 80);
    mSurface = std::make_unique<TReportBandSurface>(*mBand);
    mBand->SetPanelState(TPanelState::psDataLabel);
    mBand->SetAcceptsClicks(false);
    QTest::mouseClick(mSurface.get(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(mResponder.Beeps(), 1);
    EXPECT_TRUE(mResponder.Texts().isEmpty());
    EXPECT_EQ(mBand->ObjectCount(), 0);
}

TEST_F(TReportPanelTest, EachToolMakesItsObjectWhereItBelongs)
{
    struct TCase {
        TPanelState tool;
        TPanelKind band;
        const char* kind;
    };
    const TCase cases[] = {
        {TPanelState::psLabel, TPanelKind::rpkHeader, "TGPLabel"},
        {TPanelState::psLabel, TPanelKind::rpkDetail, "TGPLabel"},
        {TPanelState::psLabel, TPanelKind::rpkFooter, "TGPLabel"},
        {TPanelState::psDataLabel, TPanelKind::rpkDetail, "TGPDLabel"},
        {TPanelState::psLine, TPanelKind::rpkFooter, "TGLineShape"},
        {TPanelState::psImage, TPanelKind::rpkHeader, "TGImage"},
        {TPanelState::psDateTime, TPanelKind::rpkHeader, "TGDateTimeLabel"},
        {TPanelState::psPageNumber, TPanelKind::rpkFooter, "TGPageNumberLabel"},
        {TPanelState::psSymbolLabel, TPanelKind::rpkDetail, "TGSymbolLabel"},
        {TPanelState::psRectangle, TPanelKind::rpkDetail, "Trpshapes"},
        {TPanelState::psEllipse, TPanelKind::rpkHeader, "Trpshapes"},
        {TPanelState::psRoundRectangle, TPanelKind::rpkFooter, "Trpshapes"},
        {TPanelState::psMultiLineDataLabel, TPanelKind::rpkMemo, "TGDMultiLineLabel"},
    };
    for (const TCase& c : cases) {
        const TGGraphicControl* made = ClickWith(c.tool, c.band, QPoint(30, 20));
        ASSERT_NE(made, nullptr) << c.kind;
        EXPECT_EQ(made->ClassName(), QByteArray(c.kind));
        EXPECT_EQ(made->Left(), 30);
        EXPECT_EQ(made->Top(), 20);
        EXPECT_GE(made->Height(), 15);
    }
    EXPECT_TRUE(mResponder.Texts().isEmpty());
    EXPECT_EQ(mResponder.Beeps(), 0);
    // Text, field and symbol open their dialogs as they are drawn.
    EXPECT_EQ(mEdited.count("TGPLabel"), 3);
    EXPECT_EQ(mEdited.count("TGPDLabel"), 1);
    EXPECT_EQ(mEdited.count("TGSymbolLabel"), 1);
    EXPECT_EQ(mEdited.size(), 5);
}

TEST_F(TReportPanelTest, DrawnObjectsStartWithTheirPlaceholdersAndShapes)
{
    auto* text = dynamic_cast<qm::design::TGPLabel*>(
        ClickWith(TPanelState::psLabel, TPanelKind::rpkHeader, QPoint(5, 5)));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Caption(), "<text>");
    auto* field = dynamic_cast<qm::design::TGPDLabel*>(
        ClickWith(TPanelState::psDataLabel, TPanelKind::rpkDetail, QPoint(5, 5)));
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->DataFieldName(), "<field>");
    auto* ellipse = dynamic_cast<qm::design::TGLabelShapes*>(
        ClickWith(TPanelState::psEllipse, TPanelKind::rpkFooter, QPoint(5, 5)));
    ASSERT_NE(ellipse, nullptr);
    EXPECT_EQ(ellipse->Shape(), qm::design::TGShapeType::stEllipse);
    // A plain click on a shape tool gives the 50 x 15 starting rectangle.
    EXPECT_EQ(ellipse->Width(), 50);
    EXPECT_EQ(ellipse->Height(), 15);
}

TEST_F(TReportPanelTest, WrongBandsBeepAndSayWhereTheObjectBelongs)
{
    EXPECT_EQ(ClickWith(TPanelState::psDataLabel, TPanelKind::rpkHeader, QPoint(5, 5)), nullptr);
    EXPECT_EQ(ClickWith(TPanelState::psDataLabel, TPanelKind::rpkFooter, QPoint(5, 5)), nullptr);
    EXPECT_EQ(ClickWith(TPanelState::psImage, TPanelKind::rpkDetail, QPoint(5, 5)), nullptr);
    EXPECT_EQ(ClickWith(TPanelState::psImage, TPanelKind::rpkFooter, QPoint(5, 5)), nullptr);
    EXPECT_EQ(ClickWith(TPanelState::psPageNumber, TPanelKind::rpkDetail, QPoint(5, 5)), nullptr);
    EXPECT_EQ(ClickWith(TPanelState::psMultiLineDataLabel, TPanelKind::rpkDetail, QPoint(5, 5)),
              nullptr);
    EXPECT_EQ(mResponder.Texts(),
              (QStringList{"This object may only be used in the detail band",
                           "This object may only be used in the detail band",
                           "This object may only be used in the header band",
                           "This object may only be used in the header band",
                           "This object may only be used in the header or footer bands",
                           "This object may only be used in the memo band"}));
    EXPECT_EQ(mResponder.Beeps(), 6);
    EXPECT_TRUE(mEdited.isEmpty());
}

TEST_F(TReportPanelTest, PressingAnObjectReportsItBeforeItIsSelected)
{
    ClickWith(TPanelState::psRectangle, TPanelKind::rpkDetail, QPoint(40, 10));
    mBand->SetPanelState(TPanelState::psPointing);
    QList<TGGraphicControl*> pressed;
    mBand->ControlMouseDownEvent = [&](TGGraphicControl& o) {
        pressed << &o;
        EXPECT_TRUE(mBand->Selection().empty());
    };
    QTest::mouseClick(mSurface.get(), Qt::LeftButton, {}, QPoint(45, 15));
    ASSERT_EQ(pressed.size(), 1);
    EXPECT_EQ(pressed.front(), mBand->ObjectAt(0));
    EXPECT_EQ(mBand->Selection().size(), 1u);
    // The page itself is no object.
    QTest::mouseClick(mSurface.get(), Qt::LeftButton, {}, QPoint(300, 60));
    EXPECT_EQ(pressed.size(), 1);
}

TEST_F(TReportPanelTest, ShrinkingAndSavingUseTheBandsOwnLimits)
{
    TReportPanel band(TPanelKind::rpkDetail);
    band.SetSize(600, 100);
    auto add = [&](int left, int top, int width, int height) {
        auto object = qm::design::TGClassRegistry::Instance().Create("TGPLabel");
        object->SetBounds(left, top, width, height);
        return band.AddObject(std::move(object));
    };
    TGGraphicControl* low = add(10, 90, 50, 15);
    TGGraphicControl* right = add(580, 5, 50, 15);
    TGGraphicControl* inside = add(100, 20, 50, 15);
    band.Select(inside);
    band.SetSize(560, 40);
    band.PullObjectsInside();
    EXPECT_TRUE(band.Selection().empty());
    EXPECT_EQ(low->BoundsRect().topLeft(), QPoint(10, 40));
    EXPECT_EQ(right->BoundsRect().topLeft(), QPoint(560, 5));
    EXPECT_EQ(inside->BoundsRect().topLeft(), QPoint(100, 20));

    TGGraphicControl* far = add(5, 51, 20, 15);
    TGGraphicControl* near = add(570, 50, 20, 15);
    TGGraphicControl* empty = add(5, 5, 0, 15);
    band.DropOutsideObjects();
    EXPECT_EQ(band.IndexOf(far), -1);
    EXPECT_EQ(band.IndexOf(empty), -1);
    EXPECT_GE(band.IndexOf(near), 0);
    EXPECT_EQ(band.ObjectCount(), 4);
}

} // namespace
