// "Report Designer" driven offscreen through its controls: the tools in each band with their
// refusals, the band check boxes and sizers, the memo band and its menu, the fonts, Change
// Layout, the record buttons, and Save (the no-bands message, the dropped objects, a failed save
// keeping the window open with the design).

#include "TFocusKeys.h"
#include "TReportTestSupport.h"
#include "TScreenshot.h"
#include "TScriptedResponder.h"
#include "TTestHome.h"
#include "TWindowFit.h"

#include "design/objects/TGDateTimeLabel.h"
#include "design/objects/TGPDLabel.h"
#include "design/objects/Trpshapes.h"
#include "design/surface/TGSurfaceCommands.h"
#include "design/surface/TTickClock.h"
#include "design/text/TDesignTextMeasure.h"
#include "design/text/TDesignUnits.h"
#include "design/ui/THRuler.h"
#include "reports/TReportBandGeometry.h"
#include "reports/ui/TReportBandSizer.h"
#include "reports/ui/TReportBandSurface.h"
#include "reports/ui/TReportDesigner.h"
#include "reports/ui/TReportMemoStrip.h"
#include "reports/ui/TReportProperties.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

using qm::design::TGGraphicControl;
using qm::reports::TMemoAlignment;
using qm::reports::TPanelState;
using qm::reports::TReportBand;
using qm::reports::TReportBandGeometry;
using qm::reports::TReportDesigner;
using qm::reports::TReportSettings;

constexpr TReportBand kPanelBands[] = {TReportBand::Header, TReportBand::Detail,
                                       TReportBand::Footer};

class TReportDesignerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qm::design::TDesignUnits::SetPpiOverride(96);
        mTable.Add({{"LNAME", "Ames"}, {"FNAME", "Ann"}, {"MEMO", "First memo line"}});
        mTable.Add({{"LNAME", "Baker"}, {"FNAME", "Bob"}, {"MEMO", "Second record's memo"}});
        mTable.MainView();
        mTable.DataSet().First();
    }
    void TearDown() override { qm::design::TDesignUnits::SetPpiOverride(0); }

    std::unique_ptr<TReportDesigner> Open(const TReportSettings& settings = NewReport())
    {
        auto d =
            std::make_unique<TReportDesigner>(QStringLiteral("Sales"), settings, &mTable.DataSet());
        d->SetEditObjectHook([this](TGGraphicControl& o) { mEdited << o.ClassName(); });
        d->show();
        QCoreApplication::processEvents();
        return d;
    }

    static TReportSettings NewReport()
    {
        TReportSettings s = TReportSettings::NewReport();
        s.useFooter = true;
        s.footerHeight = 33;
        return s;
    }

    static void Click(TReportDesigner& d, TReportBand band, const QPoint& at = {20, 10})
    {
        QTest::mouseClick(&d.Surface(band), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
    }

    // Presses the band's sizer, moves it dy pixels down and releases it.
    static void DragSizer(TReportDesigner& d, TReportBand band, int dy)
    {
        QWidget* sizer = reinterpret_cast<QWidget*>(d.Sizer(band));
        const QPoint from(10, 2);
        const QPoint globalFrom = sizer->mapToGlobal(from);
        QMouseEvent press(QEvent::MouseButtonPress, from, globalFrom, Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(sizer, &press);
        for (int step = 1; step <= 4; ++step) {
            const QPoint global = globalFrom + QPoint(0, dy * step / 4);
            QMouseEvent move(QEvent::MouseMove, sizer->mapFromGlobal(global), global, Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(sizer, &move);
        }
        const QPoint global = globalFrom + QPoint(0, dy);
        QMouseEvent release(QEvent::MouseButtonRelease, sizer->mapFromGlobal(global), global,
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(sizer, &release);
        QCoreApplication::processEvents();
    }

    static int Objects(TReportDesigner& d)
    {
        int n = 0;
        for (TReportBand band : kPanelBands)
            n += d.Panel(band).ObjectCount();
        return n;
    }

    qm::test::TTestHome mHome;
    qm::test::TScriptedResponder mResponder;
    qm::test::TReportTable mTable;
    QList<QByteArray> mEdited;
};

TEST_F(TReportDesignerTest, OpensWithDescriptionLayoutFontAndTheToolBar)
{
    auto d = Open();
    EXPECT_EQ(d->windowTitle(), "Report Designer");
    EXPECT_EQ(d->DescriptionEdit()->text(), "Sales");
    EXPECT_EQ(d->DescriptionEdit()->maxLength(), 60);
    EXPECT_EQ(d->LayoutNameLabel()->text(), "Letter Size, Portrait");
    EXPECT_EQ(d->FontButton()->text(), "Default Font: Arial, 10 pt ");
    const QStringList hints = {"Selection tool",   "Text tool",           "Line Tool",
                               "Clip Art Tool",    "Database Field tool", "Date Time Tool",
                               "Page Number Tool", "Symbol tool",         "Rectangle tool",
                               "Ellipse tool",     "Round Rectangle tool"};
    const TPanelState tools[] = {
        TPanelState::psPointing,   TPanelState::psLabel,         TPanelState::psLine,
        TPanelState::psImage,      TPanelState::psDataLabel,     TPanelState::psDateTime,
        TPanelState::psPageNumber, TPanelState::psSymbolLabel,   TPanelState::psRectangle,
        TPanelState::psEllipse,    TPanelState::psRoundRectangle};
    for (int i = 0; i < hints.size(); ++i)
        EXPECT_EQ(d->ToolButton(tools[i])->toolTip(), hints[i]);
    EXPECT_EQ(d->GridButton()->toolTip(), "Show grid");
    EXPECT_EQ(d->SnapButton()->toolTip(), "Snap to Grid");
    EXPECT_EQ(d->ValuesButton()->toolTip(), "Toggle display of field names or field values");
    // Page geometry: 8.5 in less two half-inch margins and a quarter inch; the ruler starts at
    // the left margin.
    EXPECT_EQ(d->Panel(TReportBand::Detail).Width(), 816 - 96 - 24);
    EXPECT_EQ(d->Panel(TReportBand::Header).Height(), 33);
    EXPECT_DOUBLE_EQ(d->Ruler()->StartInch(), 0.5);
    EXPECT_FALSE(d->BandCheck(TReportBand::Memo)->isChecked());
    EXPECT_FALSE(d->MemoStrip()->isVisible());
    EXPECT_FALSE(d->MemoPropertiesButton()->isVisible());
    qm::test::SaveScreenshot(*d, "report-designer");
}

TEST_F(TReportDesignerTest, ToolsLetOnlyTheirBandsTakeClicksAndReturnToSelection)
{
    auto d = Open();
    d->ToolButton(TPanelState::psDataLabel)->click();
    EXPECT_FALSE(d->Panel(TReportBand::Header).AcceptsClicks());
    EXPECT_TRUE(d->Panel(TReportBand::Detail).AcceptsClicks());
    EXPECT_FALSE(d->Panel(TReportBand::Footer).AcceptsClicks());
    for (TReportBand band : kPanelBands)
        EXPECT_EQ(d->Panel(band).PanelState(), TPanelState::psDataLabel);
    Click(*d, TReportBand::Header);
    EXPECT_EQ(mResponder.Beeps(), 1);
    EXPECT_EQ(Objects(*d), 0);
    EXPECT_EQ(d->Panel(TReportBand::Header).PanelState(), TPanelState::psDataLabel);

    Click(*d, TReportBand::Detail);
    ASSERT_EQ(d->Panel(TReportBand::Detail).ObjectCount(), 1);
    EXPECT_EQ(mEdited, QList<QByteArray>{"TGPDLabel"});
    // Back to the selection tool, every band taking clicks again.
    EXPECT_TRUE(d->ToolButton(TPanelState::psPointing)->isChecked());
    for (TReportBand band : kPanelBands) {
        EXPECT_EQ(d->Panel(band).PanelState(), TPanelState::psPointing);
        EXPECT_TRUE(d->Panel(band).AcceptsClicks());
    }

    d->ToolButton(TPanelState::psImage)->click();
    EXPECT_TRUE(d->Panel(TReportBand::Header).AcceptsClicks());
    EXPECT_FALSE(d->Panel(TReportBand::Detail).AcceptsClicks());
    d->ToolButton(TPanelState::psPageNumber)->click();
    EXPECT_TRUE(d->Panel(TReportBand::Footer).AcceptsClicks());
    EXPECT_FALSE(d->Panel(TReportBand::Detail).AcceptsClicks());
    d->ToolButton(TPanelState::psPointing)->click();
    EXPECT_TRUE(d->Panel(TReportBand::Detail).AcceptsClicks());
}

TEST_F(TReportDesignerTest, EveryToolInEveryBandPlacesOrBeeps)
{
    auto d = Open();
    int placed = 0;
    for (const auto& [tool, button] :
         std::map<TPanelState, QToolButton*>{{TPanelState::psLabel, nullptr},
                                             {TPanelState::psLine, nullptr},
                                             {TPanelState::psImage, nullptr},
                                             {TPanelState::psDataLabel, nullptr},
                                             {TPanelState::psDateTime, nullptr},
                                             {TPanelState::psPageNumber, nullptr},
                                             {TPanelState::psSymbolLabel, nullptr},
                                             {TPanelState::psRectangle, nullptr},
                                             {TPanelState::psEllipse, nullptr},
                                             {TPanelState::psRoundRectangle, nullptr}}) {
        (void)button;
        for (TReportBand band : kPanelBands) {
            const int before = Objects(*d);
            d->ToolButton(tool)->click();
            Click(*d, band, QPoint(10 + 60 * (placed % 10), 8));
            placed += Objects(*d) - before;
        }
    }
    // Ten tools in three bands: the field only in the detail band, the picture only in the
    // header, date/time and page number in header and footer; the rest everywhere.
    EXPECT_EQ(placed, 30 - 2 - 2 - 1 - 1);
    EXPECT_EQ(mResponder.Beeps(), 6);
    EXPECT_TRUE(mResponder.Texts().isEmpty()); // dead clicks, no messages
    qm::test::SaveScreenshot(*d, "report-designer-tools");
}

TEST_F(TReportDesignerTest, TheRefusalTextsComeFromThePlacementRule)
{
    auto d = Open();
    // A click the band takes but the rule refuses: the data field tool with every band taking
    // clicks (as after a tool was chosen in code without the tool bar).
    d->Panel(TReportBand::Header).SetPanelState(TPanelState::psDataLabel);
    Click(*d, TReportBand::Header);
    d->Panel(TReportBand::Footer).SetPanelState(TPanelState::psImage);
    Click(*d, TReportBand::Footer);
    d->Panel(TReportBand::Detail).SetPanelState(TPanelState::psPageNumber);
    Click(*d, TReportBand::Detail);
    EXPECT_EQ(mResponder.Texts(),
              (QStringList{"This object may only be used in the detail band",
                           "This object may only be used in the header band",
                           "This object may only be used in the header or footer bands"}));
    EXPECT_EQ(mResponder.Beeps(), 3);
    EXPECT_EQ(Objects(*d), 0);
}

TEST_F(TReportDesignerTest, TheSizerStopsWhereTheBandsFillThePage)
{
    auto d = Open();
    DragSizer(*d, TReportBand::Detail, 40);
    EXPECT_EQ(d->Panel(TReportBand::Detail).Height(), 73);
    DragSizer(*d, TReportBand::Detail, 5000);
    // 11 in less two half-inch margins, less header and footer.
    EXPECT_EQ(d->Panel(TReportBand::Detail).Height(), 960 - 33 - 33);
    EXPECT_EQ(d->Surface(TReportBand::Detail).height(), 960 - 66 + 1);

    // Shrinking moves an object below the new edge up to it.
    d->ToolButton(TPanelState::psRectangle)->click();
    Click(*d, TReportBand::Detail, QPoint(100, 600));
    ASSERT_EQ(d->Panel(TReportBand::Detail).ObjectCount(), 1);
    DragSizer(*d, TReportBand::Detail, -(960 - 66 - 50));
    EXPECT_EQ(d->Panel(TReportBand::Detail).Height(), 50);
    EXPECT_EQ(d->Panel(TReportBand::Detail).ObjectAt(0)->Top(), 50);
    // Up past the top: height 0.
    DragSizer(*d, TReportBand::Detail, -200);
    EXPECT_EQ(d->Panel(TReportBand::Detail).Height(), 0);
    EXPECT_FALSE(d->Surface(TReportBand::Detail).isVisible());
}

TEST_F(TReportDesignerTest, BandCheckBoxesTurnBandsOffAndOnAtTwentyPixels)
{
    auto d = Open();
    d->BandCheck(TReportBand::Footer)->click();
    EXPECT_FALSE(d->Settings().useFooter);
    EXPECT_EQ(d->Panel(TReportBand::Footer).Height(), 0);
    EXPECT_FALSE(d->Sizer(TReportBand::Footer)->isEnabled());
    d->BandCheck(TReportBand::Footer)->click();
    EXPECT_TRUE(d->Settings().useFooter);
    EXPECT_EQ(d->Panel(TReportBand::Footer).Height(), 20);
    EXPECT_TRUE(d->Sizer(TReportBand::Footer)->isEnabled());

    // The memo band: a 33-pixel strip with the record's memo, and its Properties menu.
    d->BandCheck(TReportBand::Memo)->click();
    EXPECT_TRUE(d->MemoStrip()->isVisible());
    EXPECT_EQ(d->MemoStrip()->height(), 33);
    EXPECT_TRUE(d->MemoPropertiesButton()->isVisible());
    EXPECT_EQ(d->MemoStrip()->Text(), "First memo line");
    qm::test::SaveScreenshot(*d, "report-designer-memo");
}

TEST_F(TReportDesignerTest, MemoMenuSetsFontAndAlignment)
{
    auto d = Open();
    d->BandCheck(TReportBand::Memo)->click();
    QStringList captions;
    for (QAction* a : d->MemoMenu()->actions())
        if (!a->isSeparator())
            captions << a->text();
    EXPECT_EQ(captions, (QStringList{"Font", "Left Aligned", "Centered", "Right Aligned"}));
    auto action = [&](const QString& text) {
        for (QAction* a : d->MemoMenu()->actions())
            if (a->text() == text)
                return a;
        return static_cast<QAction*>(nullptr);
    };
    EXPECT_TRUE(action("Left Aligned")->isChecked());
    action("Right Aligned")->trigger();
    EXPECT_EQ(d->Settings().memoAlignment, TMemoAlignment::Right);
    EXPECT_TRUE(action("Right Aligned")->isChecked());
    EXPECT_FALSE(action("Left Aligned")->isChecked());
    EXPECT_TRUE(d->MemoStrip()->TextAlignment() & Qt::AlignRight);
    action("Centered")->trigger();
    EXPECT_EQ(d->Settings().memoAlignment, TMemoAlignment::Centre);

    d->OnChooseFont = [](const qm::design::TGFont& start) -> std::optional<qm::design::TGFont> {
        EXPECT_EQ(start.Name(), "Arial");
        qm::design::TGFont font = start;
        font.SetName(QStringLiteral("Times New Roman"));
        font.SetPointSize(14);
        font.SetStyle(qm::design::fsItalic);
        return font;
    };
    action("Font")->trigger();
    EXPECT_EQ(d->Settings().memoFontName, "Times New Roman");
    EXPECT_EQ(d->Settings().memoFontSize, 14);
    EXPECT_TRUE(d->Settings().memoItalic);
    EXPECT_FALSE(d->Settings().memoBold);
    // The default font is another setting.
    EXPECT_EQ(d->Settings().defaultFontName, "Arial");
}

TEST_F(TReportDesignerTest, DefaultFontGoesToTheBandsAndTheCaption)
{
    auto d = Open();
    d->OnChooseFont = [](const qm::design::TGFont& start) -> std::optional<qm::design::TGFont> {
        qm::design::TGFont font = start;
        font.SetName(QStringLiteral("Courier New"));
        font.SetPointSize(12);
        font.SetStyle(qm::design::fsBold | qm::design::fsItalic);
        return font;
    };
    d->FontButton()->click();
    EXPECT_EQ(d->FontButton()->text(), "Default Font: Courier New, 12 pt , bold, italic");
    EXPECT_EQ(d->Settings().defaultFontName, "Courier New");
    EXPECT_TRUE(d->Settings().defaultBold);
    for (TReportBand band : kPanelBands)
        EXPECT_EQ(d->Surface(band).PanelFont().Name(), "Courier New");
    // Cancelled: nothing changes, the caption is rebuilt as it was.
    d->OnChooseFont = [](const qm::design::TGFont&) { return std::nullopt; };
    d->FontButton()->click();
    EXPECT_EQ(d->FontButton()->text(), "Default Font: Courier New, 12 pt , bold, italic");
}

TEST_F(TReportDesignerTest, ChangeLayoutTakesThePageAndMovesObjectsIn)
{
    auto d = Open();
    d->ToolButton(TPanelState::psRectangle)->click();
    Click(*d, TReportBand::Detail, QPoint(680, 5));
    TReportSettings seen;
    d->OnChangeLayout = [&](const TReportSettings& s) -> std::optional<TReportSettings> {
        seen = s;
        TReportSettings changed = s;
        changed.pageWidth = 816;
        changed.pageHeight = 1056;
        changed.leftMargin = 192;   // 2 in
        changed.headerHeight = 999; // the dialog's band heights are not taken
        changed.Frame(TReportBand::Detail).top = true;
        return changed;
    };
    d->ChangeLayoutButton()->click();
    EXPECT_EQ(seen.pageWidth, 816);
    EXPECT_EQ(d->Settings().leftMargin, 192);
    EXPECT_TRUE(d->Settings().Frame(TReportBand::Detail).top);
    EXPECT_EQ(d->Settings().headerHeight, 33);
    EXPECT_EQ(d->Panel(TReportBand::Detail).Width(), 816 - 192 - 48 - 24);
    EXPECT_DOUBLE_EQ(d->Ruler()->StartInch(), 2.0);
    EXPECT_EQ(d->Panel(TReportBand::Detail).ObjectAt(0)->Left(), 816 - 192 - 48 - 24);

    d->OnChangeLayout = [](const TReportSettings& s) -> std::optional<TReportSettings> {
        TReportSettings changed = s;
        changed.pageWidth = 1056;
        changed.pageHeight = 816;
        return changed;
    };
    d->ChangeLayoutButton()->click();
    EXPECT_EQ(d->LayoutNameLabel()->text(), "Letter Size, Landscape");
    // Cancelled: nothing changes.
    d->OnChangeLayout = [](const TReportSettings&) { return std::nullopt; };
    d->ChangeLayoutButton()->click();
    EXPECT_EQ(d->Settings().pageWidth, 1056);
}

TEST_F(TReportDesignerTest, ChangeLayoutOpensReportLayoutOnACopy)
{
    auto d = Open();
    auto answer = [](bool save) {
        QTimer::singleShot(0, [save] {
            auto* dialog =
                dynamic_cast<qm::reports::TReportProperties*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->LandscapeButton()->click();
            (save ? dialog->SaveButton() : dialog->CancelButton())->click();
        });
    };
    answer(false);
    d->ChangeLayoutButton()->click();
    EXPECT_EQ(d->LayoutNameLabel()->text(), "Letter Size, Portrait");
    EXPECT_EQ(d->Settings().pageWidth, 816);
    answer(true);
    d->ChangeLayoutButton()->click();
    EXPECT_EQ(d->LayoutNameLabel()->text(), "Letter Size, Landscape");
    EXPECT_EQ(d->Settings().pageWidth, 1056);
    EXPECT_EQ(d->Panel(TReportBand::Detail).Width(), 1056 - 96 - 24);
}

TEST_F(TReportDesignerTest, RecordButtonsAndTheValuesSwitchShowTheDetailBandsRecord)
{
    auto d = Open();
    d->BandCheck(TReportBand::Memo)->click();
    d->ToolButton(TPanelState::psDataLabel)->click();
    Click(*d, TReportBand::Detail);
    auto* field = dynamic_cast<qm::design::TGPDLabel*>(d->Panel(TReportBand::Detail).ObjectAt(0));
    ASSERT_NE(field, nullptr);
    field->SetDataFieldName(QStringLiteral("LNAME"));
    field->SetDataFieldDescript(QStringLiteral("Last Name"));
    d->NextButton()->click();
    EXPECT_EQ(mTable.DataSet().AsString("LNAME").trimmed(), "Baker");
    EXPECT_EQ(field->Caption(), "Baker");
    EXPECT_EQ(d->MemoStrip()->Text(), "Second record's memo");
    d->FirstButton()->click();
    EXPECT_EQ(field->Caption(), "Ames");
    d->ValuesButton()->click();
    EXPECT_FALSE(d->Panel(TReportBand::Detail).DisplayDataValues());
    EXPECT_NE(field->Caption(), "Ames");
    d->ValuesButton()->click();
    EXPECT_EQ(field->Caption(), "Ames");
}

TEST_F(TReportDesignerTest, GridAndSnapReachAllThreeBands)
{
    auto d = Open();
    d->GridButton()->click();
    d->SnapButton()->click();
    for (TReportBand band : kPanelBands) {
        EXPECT_TRUE(d->Surface(band).ShowGrid());
        EXPECT_TRUE(d->Surface(band).SnapToGrid());
    }
}

TEST_F(TReportDesignerTest, SavingWithEveryBandAtHeightZeroAsksForABand)
{
    auto d = Open();
    bool saved = false;
    d->OnSave = [&](TReportDesigner&) {
        saved = true;
        return QString();
    };
    d->BandCheck(TReportBand::Footer)->click();
    DragSizer(*d, TReportBand::Header, -100);
    DragSizer(*d, TReportBand::Detail, -100);
    d->SaveButton()->click();
    EXPECT_EQ(mResponder.Texts(),
              QStringList{"No report bands are selected. Please select at least one"});
    EXPECT_FALSE(saved);
    EXPECT_TRUE(d->isVisible());
    for (TReportBand band : {TReportBand::Header, TReportBand::Detail, TReportBand::Footer})
        EXPECT_FALSE(d->BandCheck(band)->isChecked());
}

TEST_F(TReportDesignerTest, SaveDropsFarObjectsEmptiesUnusedBandsAndTakesTheHeights)
{
    auto d = Open();
    d->DescriptionEdit()->setText(QStringLiteral("Monthly list"));
    for (TReportBand band : kPanelBands) {
        d->ToolButton(TPanelState::psLine)->click();
        Click(*d, band);
    }
    TGGraphicControl* far = d->Panel(TReportBand::Detail).ObjectAt(0);
    far->SetTop(33 + 11);
    d->BandCheck(TReportBand::Footer)->click();
    DragSizer(*d, TReportBand::Header, 17);
    TReportSettings saved;
    QString description;
    d->OnSave = [&](TReportDesigner& designer) {
        saved = designer.Settings();
        description = designer.Description();
        return QString();
    };
    d->SaveButton()->click();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(description, "Monthly list");
    EXPECT_EQ(saved.headerHeight, 50);
    EXPECT_EQ(saved.detailHeight, 33);
    EXPECT_FALSE(saved.useFooter);
    EXPECT_EQ(saved.footerHeight, 0);
    EXPECT_EQ(d->Panel(TReportBand::Header).ObjectCount(), 1);
    EXPECT_EQ(d->Panel(TReportBand::Detail).ObjectCount(), 0);
    EXPECT_EQ(d->Panel(TReportBand::Footer).ObjectCount(), 0);
}

TEST_F(TReportDesignerTest, AFailedSaveShowsWhyAndKeepsTheDesignOpen)
{
    auto d = Open();
    d->ToolButton(TPanelState::psRectangle)->click();
    Click(*d, TReportBand::Header);
    int attempts = 0;
    d->OnSave = [&](TReportDesigner&) {
        ++attempts;
        return attempts == 1 ? QStringLiteral("Unable to write BIN00001.R: No space left on device")
                             : QString();
    };
    d->SaveButton()->click();
    ASSERT_EQ(mResponder.Messages().size(), 1u);
    EXPECT_EQ(mResponder.Messages()[0].text, "Unable to write BIN00001.R: No space left on device");
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->Panel(TReportBand::Header).ObjectCount(), 1);
    // Another try succeeds and closes the window.
    d->SaveButton()->click();
    EXPECT_EQ(attempts, 2);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->result(), QDialog::Accepted);
}

TEST_F(TReportDesignerTest, CancelClosesWithoutSaving)
{
    auto d = Open();
    bool saved = false;
    d->OnSave = [&](TReportDesigner&) {
        saved = true;
        return QString();
    };
    d->CancelButton()->click();
    EXPECT_FALSE(saved);
    EXPECT_EQ(d->result(), QDialog::Rejected);
}

} // namespace

// A date and time placed with one click is as wide as its own text ("10 Dec 2" was cut).
TEST_F(TReportDesignerTest, ADateTimePlacedWithOneClickIsAsWideAsItsText)
{
    using qm::design::TGDateTimeLabel;
    TGDateTimeLabel::SetClock([] { return QDateTime(QDate(2024, 12, 10), QTime(17, 45, 30)); });
    TGDateTimeLabel::SetLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    auto d = Open();
    d->ToolButton(TPanelState::psDateTime)->click();
    Click(*d, TReportBand::Header, QPoint(30, 8));
    ASSERT_EQ(d->Panel(TReportBand::Header).ObjectCount(), 1);
    auto* stamp = dynamic_cast<TGDateTimeLabel*>(d->Panel(TReportBand::Header).ObjectAt(0));
    ASSERT_NE(stamp, nullptr);
    const QString caption = stamp->CurrentCaption();
    ASSERT_FALSE(caption.isEmpty());
    const QFont font =
        qm::design::TDesignTextMeasure::ScreenFont(stamp->Font(), stamp->ScreenPointSize());
    EXPECT_GE(stamp->Width(), qm::design::TDesignTextMeasure::TextWidth(font, caption));
    EXPECT_EQ(stamp->Left(), 30);
    TGDateTimeLabel::SetClock({});
    TGDateTimeLabel::SetLocale(QLocale::system());
}

// Every design key works from every control that can have the focus, on the band holding the
// selection or else the band that last had the focus; none ends the program, and the description
// edit keeps its keys for its text.
TEST_F(TReportDesignerTest, DesignKeysWorkFromEveryControlAndNeverEndTheProgram)
{
    std::int64_t now = 100000;
    qm::design::TTickClock::SetSource([&now] { return now; });
    auto d = Open();
    ASSERT_TRUE(qm::test::Activate(*d));
    const QList<QWidget*> controls = qm::test::FocusableControls(*d);
    EXPECT_TRUE(controls.contains(&d->Surface(TReportBand::Detail)));
    EXPECT_TRUE(controls.contains(d->DescriptionEdit()));
    EXPECT_TRUE(controls.contains(d->SaveButton()));
    EXPECT_TRUE(controls.contains(d->BandCheck(TReportBand::Memo)));
    ASSERT_TRUE(qm::test::Focus(d->Surface(TReportBand::Detail)));
    TReportBand target = TReportBand::Detail;
    for (QWidget* control : controls) {
        SCOPED_TRACE(control->objectName().toStdString());
        for (TReportBand band : kPanelBands)
            if (control == &d->Surface(band))
                target = band;
        for (TReportBand band : kPanelBands)
            d->Panel(band).ClearObjects();
        auto& panel = d->Panel(target);
        auto* box = panel.AddObject(std::make_unique<qm::design::Trpshapes>());
        box->SetBounds(20, 5, 30, 10);
        QFile::remove(qm::design::TGSurfaceCommands::ClipboardPath());
        ASSERT_TRUE(qm::test::Focus(*control));
        const QString text = d->DescriptionEdit()->text();
        const bool memoUsed = d->BandCheck(TReportBand::Memo)->isChecked();

        for (const int key : {Qt::Key_Z, Qt::Key_Y})
            qm::test::PressKey(key, Qt::ControlModifier);
        qm::test::PressKey(Qt::Key_A, Qt::ControlModifier);
        qm::test::PressKey(Qt::Key_Right);
        qm::test::PressKey(Qt::Key_Down, Qt::ShiftModifier);
        qm::test::PressKey(Qt::Key_C, Qt::ControlModifier);
        now += 1500;
        qm::test::PressKey(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(d->BandCheck(TReportBand::Memo)->isChecked(), memoUsed);
        if (control == d->DescriptionEdit()) {
            EXPECT_EQ(Objects(*d), 1);
            EXPECT_EQ(box->BoundsRect(), QRect(20, 5, 30, 10));
            qm::test::PressKey(Qt::Key_Delete);
            EXPECT_EQ(Objects(*d), 1);
            d->DescriptionEdit()->setText(text);
            continue;
        }
        EXPECT_EQ(d->DescriptionEdit()->text(), text);
        ASSERT_EQ(panel.ObjectCount(), 2) << "Ctrl+V pasted the copy into the same band";
        EXPECT_EQ(box->BoundsRect(), QRect(21, 5, 30, 11)) << "Right moved, Shift+Down grew";
        qm::test::PressKey(Qt::Key_A, Qt::ControlModifier);
        qm::test::PressKey(Qt::Key_X, Qt::ControlModifier);
        EXPECT_EQ(Objects(*d), 0) << "Ctrl+X cut both";
        now += 1500;
        qm::test::PressKey(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(panel.ObjectCount(), 2);
        qm::test::PressKey(Qt::Key_A, Qt::ControlModifier);
        qm::test::PressKey(Qt::Key_Delete);
        EXPECT_EQ(Objects(*d), 0) << "Delete";
        EXPECT_EQ(QApplication::focusWidget(), control) << "no key moved the focus";
        EXPECT_TRUE(d->isVisible());
    }
    EXPECT_TRUE(mResponder.Texts().isEmpty()) << mResponder.Texts().join('\n').toStdString();
    qm::design::TTickClock::SetSource(nullptr);
}

// The window fits a 1920 x 1080 screen at 200 % (960 x 540 logical pixels, 40 of them
// for the title bar): nothing is cut,
// also in landscape, with a long default font and a desktop font of 11 point.
TEST_F(TReportDesignerTest, FitsA960By540Screen)
{
    TReportSettings landscape = NewReport();
    std::swap(landscape.pageWidth, landscape.pageHeight);
    landscape.defaultFontName = QStringLiteral("Times New Roman");
    landscape.defaultFontSize = 12;
    landscape.defaultBold = landscape.defaultItalic = true;
    for (const int points : {0, 11}) {
        SCOPED_TRACE(points);
        auto d = Open(landscape);
        if (points > 0) {
            QFont font = d->font();
            font.setPointSize(points);
            d->setFont(font);
            QCoreApplication::processEvents();
        }
        EXPECT_LE(d->minimumSizeHint().width(), 960);
        EXPECT_LE(d->minimumSizeHint().height(), 500);
        EXPECT_EQ(qm::test::ControlsOutside(*d, QSize(960, 500)), QStringList());
        qm::test::SaveScreenshot(*d, QStringLiteral("report-designer-960x540-%1").arg(points));
    }
}
