// The "Label Design Screen" driven offscreen through its buttons, mouse and keys, with the
// dialogs it opens scripted and its messages answered by the scripted responder; New and Modify
// through the entry point the "Print Labels" window calls, checked in the LABEL table and the
// saved layout file.

#include "labels/ui/TLabelDesignScreen.h"
#include "TFocusKeys.h"
#include "TLayoutNameFill.h"
#include "TScreenshot.h"
#include "TScriptedResponder.h"
#include "TTestHome.h"
#include "TWindowFit.h"
#include "data/TAddressFile.h"
#include "data/TDataSet.h"
#include "data/TOutputFile.h"
#include "data/TSettingsFile.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/core/TLayoutFileNames.h"
#include "design/objects/TGCounterLabel.h"
#include "design/objects/TGIMBarCode.h"
#include "design/objects/TGLabelShapes.h"
#include "design/objects/TGLineShape.h"
#include "design/objects/TGPostNetBarCode.h"
#include "design/surface/TGSurfaceCommands.h"
#include "design/surface/TTickClock.h"
#include "design/text/TDesignUnits.h"
#include "labels/TLabelDesignRules.h"
#include "labels/TLabelLayoutStore.h"
#include "labels/TNewLabelDesign.h"
#include "print/TPageRender.h"
#include "print/TPageStreamDump.h"
#include "tools/TToolCommand.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

using namespace qm::labels;
using qm::design::TGGraphicControl;
using TTool = TLabelDesignSurface::TTool;
using R = TLabelDesignRules;

namespace {

// Runs work on the designer that DesignLayout runs modally, once its opening has finished.
void WhenOpen(std::function<void(TLabelDesignScreen&)> work)
{
    QTimer::singleShot(10, [work] {
        auto* d = dynamic_cast<TLabelDesignScreen*>(QApplication::activeModalWidget());
        if (d == nullptr || !d->Opened()) {
            WhenOpen(work);
            return;
        }
        work(*d);
    });
}

// The surface's clock, stepped by hand (the paste repeat rule reads it).
struct TStepClock {
    std::int64_t now = 100000;
    TStepClock()
    {
        qm::design::TTickClock::SetSource([this] { return now; });
    }
    ~TStepClock() { qm::design::TTickClock::SetSource(nullptr); }
    void Advance(std::int64_t ms) { now += ms; }
};

class LabelDesignScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mHome.Home().Prepare(QStringLiteral(QM_BUILD_DIR "/share/quillmark"));
        QDir().mkpath(mHome.Path("DATA"));
        const QString path = mHome.Path("DATA/ADD0001.DBF");
        ASSERT_EQ(qm::data::TAddressFile::Create(path, {}), QString());
        qm::data::TAddressFile::DeclareFieldObjects(mAddresses);
        ASSERT_TRUE(qm::data::TAddressFile::Open(mAddresses, path).opened);
        const char* const names[][4] = {{"Ames", "Ann", "12 Elm St", "12345"},
                                        {"Baker", "Bob", "4 Oak Ave", "54321"},
                                        {"Cole", "Cy", "9 Pine Rd", "60606"}};
        for (const auto& n : names) {
            mAddresses.Append();
            mAddresses.SetAsString("LNAME", n[0]);
            mAddresses.SetAsString("FNAME", n[1]);
            mAddresses.SetAsString("STREET", n[2]);
            mAddresses.SetAsString("ZIP", n[3]);
            mAddresses.Post();
        }
        mAddresses.First();
    }

    static TLabelGeometry Wide(float width)
    {
        TLabelGeometry g = R::NewLabel("BIN00001.L");
        g.labelWidth = width;
        g.horizontalPitch = width;
        g.across = 2;
        g.description = "Wide";
        return g;
    }

    // A designer opened on an existing label (no new-label block, no message).
    std::unique_ptr<TLabelDesignScreen> Open(const TLabelGeometry& g)
    {
        auto designer = std::make_unique<TLabelDesignScreen>(g, false, &mAddresses);
        designer->Surface().OnEditObject = [this](TGGraphicControl& o) {
            mEdited << o.ClassName();
        };
        designer->show();
        QCoreApplication::processEvents();
        return designer;
    }

    static void ClickFace(TLabelDesignScreen& d, const QPoint& at)
    {
        QTest::mouseClick(&d.Surface(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
    }

    static int Count(const TLabelDesignScreen& d, const QByteArray& kind)
    {
        int n = 0;
        for (const auto& o : const_cast<TLabelDesignScreen&>(d).Panel().Objects())
            n += o->ClassName() == kind;
        return n;
    }

    qm::test::TTestHome mHome;
    qm::test::TScriptedResponder mResponder;
    qm::data::TDataSet mAddresses;
    QList<QByteArray> mEdited;
};

} // namespace

TEST_F(LabelDesignScreenTest, NewLabelOpensWithTheAddressBlockSelected)
{
    TLabelDesignScreen designer(R::NewLabel("BIN00001.L"), true, &mAddresses);
    designer.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(designer.windowTitle(), "Label Design Screen");
    EXPECT_EQ(mResponder.Texts(), QStringList{R::NewLabelMessage()});
    EXPECT_EQ(designer.LayoutNameLabel()->text(), "Avery 5160  Address");
    EXPECT_EQ(designer.DescriptionEdit()->text(), "<New Label>");
    EXPECT_EQ(designer.FontButton()->text(), "Default Font: Arial, 10 pt ");
    const int ppi = qm::design::TDesignUnits::Ppi();
    const QSize face = R::FaceSize(designer.Geometry(), ppi);
    EXPECT_EQ(QSize(designer.Panel().Width(), designer.Panel().Height()), face);
    ASSERT_EQ(designer.Panel().ObjectCount(), 1);
    const TGGraphicControl* block = designer.Panel().ObjectAt(0);
    EXPECT_EQ(block->ClassName(), "TGDMultiLineAddressLabel");
    EXPECT_EQ(block->Left(), 5);
    EXPECT_EQ(block->Top(), 5);
    EXPECT_EQ(block->Left() + block->Width(), face.width() - 10);
    // The whole face down to 10 from its bottom, not the height of the 2-line record on screen.
    EXPECT_EQ(block->Top() + block->Height(), face.height() - 10);
    // The tool prints a sheet without a layout file with the same block.
    qm::design::TGDataPanel toolDesign;
    qm::labels::TNewLabelDesign::AddTo(toolDesign, designer.Geometry());
    ASSERT_EQ(toolDesign.ObjectCount(), 1);
    EXPECT_EQ(toolDesign.ObjectAt(0)->BoundsRect(), block->BoundsRect());
    EXPECT_EQ(designer.Panel().Selection().size(), 1u);
    EXPECT_TRUE(designer.ToolButton(TTool::Selection)->isChecked());
    EXPECT_FALSE(designer.SaveButton()->isVisible());
    EXPECT_FALSE(designer.ArtButton()->isEnabled());
    designer.GridButton()->click();
    qm::test::SaveScreenshot(designer, QStringLiteral("label-design"));
}

TEST_F(LabelDesignScreenTest, APlainClickStartsAFiftyByFifteenObjectForEachTool)
{
    auto designer = Open(Wide(4.0f));
    const QPoint at(60, 30);
    const TTool tools[] = {TTool::Text,      TTool::MultiLine, TTool::Counter,        TTool::Symbol,
                           TTool::Rectangle, TTool::Ellipse,   TTool::RoundRectangle, TTool::Line,
                           TTool::ClipArt,   TTool::PostNet,   TTool::Field,          TTool::Memo,
                           TTool::Address};
    for (TTool tool : tools) {
        SCOPED_TRACE(TLabelDesignSurface::KindOf(tool).constData());
        designer->ToolButton(tool)->click();
        const int before = designer->Panel().ObjectCount();
        ClickFace(*designer, at);
        ASSERT_EQ(designer->Panel().ObjectCount(), before + 1);
        const TGGraphicControl* made = designer->Panel().ObjectAt(before);
        EXPECT_EQ(made->ClassName(), TLabelDesignSurface::KindOf(tool));
        EXPECT_EQ(made->Left(), at.x());
        EXPECT_EQ(made->Top(), at.y());
        const bool fitted = tool == TTool::Text || tool == TTool::Counter || tool == TTool::Field ||
                            tool == TTool::MultiLine || tool == TTool::Address ||
                            tool == TTool::Symbol ||
                            tool == TTool::PostNet; // the barcode takes its own size
        if (!fitted) {
            EXPECT_EQ(QSize(made->Width(), made->Height()), QSize(50, 15));
        }
        EXPECT_TRUE(designer->ToolButton(TTool::Selection)->isChecked());
        EXPECT_TRUE(designer->Surface().Pointing());
        EXPECT_TRUE(designer->Panel().Selection().empty());
    }
    const auto* ellipse =
        static_cast<const qm::design::TGLabelShapes*>(designer->Panel().ObjectAt(5));
    EXPECT_EQ(ellipse->Shape(), qm::design::TGShapeType::stEllipse);
    const auto* line = static_cast<const qm::design::TGLineShape*>(designer->Panel().ObjectAt(7));
    EXPECT_EQ(line->LineStyle(), qm::design::TGLineStyle::stVertical);
    const auto* postnet =
        static_cast<const qm::design::TGPostNetBarCode*>(designer->Panel().ObjectAt(9));
    EXPECT_EQ(postnet->ZipCodeField(), "ZIP");
    EXPECT_EQ(postnet->AddressField(), "STREET");
    // The dialogs each tool opens while drawing, in order.
    EXPECT_EQ(mEdited,
              QList<QByteArray>({"TGPLabel", "TGMultiLineLabel", "TGSymbolLabel", "TGPDLabel"}));
    EXPECT_TRUE(designer->SaveButton()->isVisible());
    EXPECT_TRUE(mResponder.Texts().isEmpty());
}

TEST_F(LabelDesignScreenTest, PostNetToolIsRefusedOnANarrowLabel)
{
    auto designer = Open(Wide(2.0f));
    designer->ToolButton(TTool::PostNet)->click();
    EXPECT_EQ(mResponder.Texts(), QStringList{R::PostNetToolRefusal()});
    EXPECT_TRUE(designer->ToolButton(TTool::Selection)->isChecked());
    ClickFace(*designer, QPoint(20, 20));
    EXPECT_EQ(designer->Panel().ObjectCount(), 0);
}

TEST_F(LabelDesignScreenTest, IntelligentMailToolIsRefusedBelowThreeInchesWithItsOwnMessage)
{
    auto designer = Open(Wide(2.9f));
    designer->ToolButton(TTool::Imb)->click();
    EXPECT_EQ(mResponder.Texts(), QStringList{R::ImbToolRefusal()});
    EXPECT_TRUE(designer->ToolButton(TTool::Selection)->isChecked());
    ClickFace(*designer, QPoint(20, 20));
    EXPECT_EQ(designer->Panel().ObjectCount(), 0);
    // POSTNET still fits there.
    designer->ToolButton(TTool::PostNet)->click();
    EXPECT_EQ(mResponder.Texts().size(), 1);
}

TEST_F(LabelDesignScreenTest, IntelligentMailToolDrawsWithTheSettingsAndGoesOnANarrowerSheet)
{
    qm::data::TSettingsFile settings(qm::data::TProgramHome::Current().SettingsPath());
    settings.WriteString("Intelligent Mail", "ServiceType", "300");
    settings.WriteString("Intelligent Mail", "MailerId", "123456");
    auto designer = Open(Wide(3.0f));
    designer->ToolButton(TTool::Imb)->click();
    ClickFace(*designer, QPoint(5, 10));
    ASSERT_EQ(Count(*designer, "TGIMBarCode"), 1);
    const auto* code = static_cast<const qm::design::TGIMBarCode*>(designer->Panel().ObjectAt(0));
    EXPECT_EQ(code->ZipCodeField(), "ZIP");
    EXPECT_EQ(code->ServiceType(), "300");
    EXPECT_EQ(code->MailerId(), "123456");
    EXPECT_TRUE(mResponder.Texts().isEmpty());
    qm::test::SaveScreenshot(*designer, QStringLiteral("label-design-imb"));

    designer->OnChooseLayoutKind = [] { return 0; };
    designer->OnChooseTemplate = [](const TLabelGeometry&) {
        return std::optional<TLabelGeometry>(Wide(2.9f));
    };
    designer->ChangeLayoutButton()->click();
    EXPECT_EQ(mResponder.Texts(), QStringList{R::ImbRemovedWarning()});
    EXPECT_EQ(Count(*designer, "TGIMBarCode"), 0);
}

TEST_F(LabelDesignScreenTest, ChangingToANarrowTemplateRemovesOneBarcodeWithAWarning)
{
    auto designer = Open(Wide(4.0f));
    designer->ToolButton(TTool::PostNet)->click();
    ClickFace(*designer, QPoint(200, 10));
    ASSERT_EQ(Count(*designer, "TGPostNetBarCode"), 1);
    designer->OnChooseLayoutKind = [] { return 0; };
    designer->OnChooseTemplate = [](const TLabelGeometry&) {
        TLabelGeometry t = TLabelGeometry::NewLayout(); // 2.625 in
        t.templateDescription = "Avery 5161  Address";
        t.shape = "SR";
        return std::optional<TLabelGeometry>(t);
    };
    designer->ChangeLayoutButton()->click();
    EXPECT_EQ(mResponder.Texts(), QStringList{R::PostNetRemovedWarning()});
    EXPECT_EQ(Count(*designer, "TGPostNetBarCode"), 0);
    EXPECT_EQ(designer->LayoutNameLabel()->text(), "Avery 5161  Address");
    EXPECT_EQ(designer->Panel().Width(),
              R::FaceSize(designer->Geometry(), qm::design::TDesignUnits::Ppi()).width());
    EXPECT_EQ(designer->Surface().Shape(), qm::design::TGDesignSurface::TPageShape::lsRectangle);
    EXPECT_EQ(designer->Geometry().description, "Wide"); // the layout's own name stays
    EXPECT_TRUE(designer->SaveButton()->isVisible());

    // Without a barcode nothing is said.
    designer->ChangeLayoutButton()->click();
    EXPECT_EQ(mResponder.Texts().size(), 1);
}

TEST_F(LabelDesignScreenTest, ChangeLayoutTypedInMakesAUserDefinedLayoutAndPullsObjectsIn)
{
    auto designer = Open(Wide(4.0f));
    designer->ToolButton(TTool::Rectangle)->click();
    ClickFace(*designer, QPoint(330, 60));
    designer->OnChooseLayoutKind = [] { return 1; };
    designer->OnEditLayout = [](const TLabelGeometry& g) {
        TLabelGeometry e = g;
        e.labelWidth = 3.0f;
        e.labelHeight = 0.75f;
        e.shape = "EL";
        return std::optional<TLabelGeometry>(e);
    };
    designer->ChangeLayoutButton()->click();
    EXPECT_EQ(designer->LayoutNameLabel()->text(), "User Defined Label Layout");
    EXPECT_EQ(designer->Geometry().maker, "USER");
    EXPECT_TRUE(designer->Geometry().templateDescription.isEmpty());
    EXPECT_FALSE(designer->ArtButton()->isEnabled());
    EXPECT_EQ(designer->Surface().Shape(), qm::design::TGDesignSurface::TPageShape::lsEllipse);
    const TGGraphicControl* box = designer->Panel().ObjectAt(0);
    EXPECT_LE(box->Left(), designer->Panel().Width() - 20);
    EXPECT_LE(box->Top(), designer->Panel().Height() - 10);

    // An unknown shape code keeps the outline; cancelling the choice changes nothing.
    designer->OnChooseLayoutKind = [] { return 0; };
    designer->OnChooseTemplate = [](const TLabelGeometry&) {
        TLabelGeometry t = TLabelGeometry::NewLayout();
        t.shape = "XX";
        return std::optional<TLabelGeometry>(t);
    };
    designer->ChangeLayoutButton()->click();
    EXPECT_EQ(designer->Surface().Shape(), qm::design::TGDesignSurface::TPageShape::lsEllipse);
    designer->OnChooseLayoutKind = [] { return -1; };
    const TLabelGeometry before = designer->Geometry();
    designer->ChangeLayoutButton()->click();
    EXPECT_EQ(designer->Geometry(), before);
}

TEST_F(LabelDesignScreenTest, FivePressesZoomEachWayASixthDoesNothingAndSaveStaysHidden)
{
    auto designer = Open(Wide(4.0f));
    designer->Panel()
        .AddObject(std::make_unique<qm::design::TGLabelShapes>())
        ->SetBounds(96, 10, 40, 20);
    for (int i = 0; i < 6; ++i)
        designer->ZoomOutButton()->click();
    EXPECT_EQ(designer->ZoomLabel()->text(), "50%");
    EXPECT_LT(designer->Zoom(), 0.5f);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(designer->CancelButton(), Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(designer->ZoomLabel()->text(), "100%");
    for (int i = 0; i < 6; ++i)
        designer->ZoomInButton()->click();
    EXPECT_EQ(designer->ZoomLabel()->text(), "150%");
    EXPECT_FALSE(designer->SaveButton()->isVisible());
}

// Zooming keeps each object's 100 % geometry: any sequence of zoom presses that returns to 100 %
// leaves every object where it was, and the saved layout is the same byte for byte.
TEST_F(LabelDesignScreenTest, FiftyRandomZoomSequencesLeaveEveryObjectWhereItWas)
{
    TLabelDesignScreen designer(R::NewLabel("BIN00001.L"), true, &mAddresses);
    designer.Surface().OnEditObject = [](TGGraphicControl&) {};
    designer.show();
    QCoreApplication::processEvents();
    const std::pair<TTool, QRect> drawn[] = {
        {TTool::Text, QRect(7, 60, 30, 10)},     {TTool::Counter, QRect(150, 7, 40, 12)},
        {TTool::Rectangle, QRect(3, 3, 7, 9)},   {TTool::Line, QRect(201, 41, 13, 37)},
        {TTool::Symbol, QRect(121, 61, 20, 20)}, {TTool::Memo, QRect(61, 71, 91, 17)},
        {TTool::Ellipse, QRect(233, 85, 17, 9)},
    };
    for (const auto& [tool, rect] : drawn) {
        designer.ToolButton(tool)->click();
        QTest::mousePress(&designer.Surface(), Qt::LeftButton, {}, rect.topLeft());
        QTest::mouseMove(&designer.Surface(), rect.bottomRight());
        QTest::mouseRelease(&designer.Surface(), Qt::LeftButton, {}, rect.bottomRight());
        QCoreApplication::processEvents();
    }
    ASSERT_EQ(designer.Panel().ObjectCount(), 8);
    std::vector<QRect> before;
    for (const auto& o : designer.Panel().Objects())
        before.push_back(o->BoundsRect());
    EXPECT_EQ(before.front(), QRect(5, 5, 237, 81)) << "the new label's address block";
    const QSize face(designer.Panel().Width(), designer.Panel().Height());
    const QByteArray stream = qm::design::TGLabelObjectFiler::PanelBytes(designer.Panel());

    std::mt19937 random(8);
    for (int sequence = 0; sequence < 50; ++sequence) {
        const int presses = 1 + int(random() % 12);
        for (int i = 0; i < presses; ++i) {
            if (random() % 2)
                (random() % 2 ? designer.ZoomInButton() : designer.ZoomOutButton())->click();
            else
                QTest::keyClick(&designer.Surface(), random() % 2 ? Qt::Key_Plus : Qt::Key_Minus,
                                Qt::KeypadModifier);
        }
        while (designer.ZoomLabel()->text() != "100%") {
            const bool below = designer.ZoomLabel()->text().chopped(1).toInt() < 100;
            (below ? designer.ZoomInButton() : designer.ZoomOutButton())->click();
        }
        ASSERT_EQ(QSize(designer.Panel().Width(), designer.Panel().Height()), face);
        for (int i = 0; i < designer.Panel().ObjectCount(); ++i)
            ASSERT_EQ(designer.Panel().ObjectAt(i)->BoundsRect(), before[size_t(i)])
                << "sequence " << sequence << ", object " << i << " "
                << designer.Panel().ObjectAt(i)->ClassName().constData();
    }
    EXPECT_EQ(qm::design::TGLabelObjectFiler::PanelBytes(designer.Panel()), stream);
}

TEST_F(LabelDesignScreenTest, ReadOutDividesByThePpiTimesTheZoom)
{
    auto designer = Open(Wide(4.0f));
    const int ppi = qm::design::TDesignUnits::Ppi();
    designer->Panel()
        .AddObject(std::make_unique<qm::design::TGLabelShapes>())
        ->SetBounds(ppi, 10, 40, 20);
    for (int i = 0; i < 5; ++i)
        designer->ZoomInButton()->click();
    // The object 1 in from the left reads 1.00 (give or take the zoom's rounding), not 1.50.
    designer->Surface().AddToSelection(designer->Panel().ObjectAt(0), false);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&designer->Surface(), &move);
    const QString left = designer->LeftLabel()->text();
    ASSERT_TRUE(left.startsWith("Left: "));
    EXPECT_NEAR(left.mid(6).toDouble(), 1.0, 0.021);
    designer->Panel().ClearSelection();
    QMouseEvent there(QEvent::MouseMove, QPointF(ppi * 3, 0), QPointF(ppi * 3, 0), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&designer->Surface(), &there);
    EXPECT_EQ(designer->LeftLabel()->text(), "Left: 2.00");
    EXPECT_EQ(designer->TopLabel()->text(), "Top: 0.00");
}

TEST_F(LabelDesignScreenTest, RecordButtonsRefreshAndStepCountersOnlyFirstResets)
{
    auto designer = Open(Wide(4.0f));
    auto counter = std::make_unique<qm::design::TGCounterLabel>();
    counter->ConfigureDrawn(qm::design::TGFont());
    auto* c =
        static_cast<qm::design::TGCounterLabel*>(designer->Panel().AddObject(std::move(counter)));
    const int start = c->Value();
    designer->NextButton()->click();
    EXPECT_EQ(c->Value(), start + 1);
    EXPECT_EQ(mAddresses.AsString("LNAME"), "Baker");
    designer->PriorButton()->click();
    EXPECT_EQ(c->Value(), start + 2);
    EXPECT_EQ(mAddresses.AsString("LNAME"), "Ames");
    designer->LastButton()->click();
    EXPECT_EQ(c->Value(), start + 3);
    EXPECT_EQ(mAddresses.AsString("LNAME"), "Cole");
    designer->FirstButton()->click();
    EXPECT_EQ(c->Value(), start);
    EXPECT_EQ(mAddresses.AsString("LNAME"), "Ames");
}

TEST_F(LabelDesignScreenTest, DeleteEditsTheDescriptionWhenItHasTheFocus)
{
    auto designer = Open(Wide(4.0f));
    designer->ToolButton(TTool::Rectangle)->click();
    ClickFace(*designer, QPoint(10, 10));
    designer->Surface().SelectAll();
    designer->DescriptionEdit()->setFocus();
    designer->DescriptionEdit()->setCursorPosition(0);
    QTest::keyClick(designer->DescriptionEdit(), Qt::Key_Delete);
    EXPECT_EQ(designer->DescriptionEdit()->text(), "ide");
    EXPECT_EQ(designer->Panel().ObjectCount(), 1);
    // Elsewhere, Delete is the panel's.
    QTest::keyClick(designer->ChangeLayoutButton(), Qt::Key_Delete);
    EXPECT_EQ(designer->Panel().ObjectCount(), 0);

    // The description takes at most 50 characters.
    designer->DescriptionEdit()->selectAll();
    QTest::keyClicks(designer->DescriptionEdit(), QString(60, QLatin1Char('x')));
    EXPECT_EQ(designer->DescriptionEdit()->text().size(), 50);
}

// Ctrl+C, Ctrl+X, Ctrl+V and Ctrl+Z once ended the program from the face (the key was sent on to
// the face and came back to the window without end). Every design key works from every control
// that can have the focus; the description edit keeps its keys for its text.
TEST_F(LabelDesignScreenTest, DesignKeysWorkFromEveryControlAndNeverEndTheProgram)
{
    TStepClock clock;
    TLabelDesignScreen designer(R::NewLabel("BIN00001.L"), true, &mAddresses);
    ASSERT_TRUE(qm::test::Activate(designer));
    QCoreApplication::processEvents();
    auto& panel = designer.Panel();
    ASSERT_EQ(panel.ObjectCount(), 1);
    ASSERT_EQ(QApplication::focusWidget(), &designer.Surface()) << "as after New";
    designer.SaveButton()->show(); // Save takes the focus too once it shows

    // The keys that ended the program, straight from the face after New.
    for (const int key : {Qt::Key_Z, Qt::Key_C, Qt::Key_X, Qt::Key_V})
        qm::test::PressKey(key, Qt::ControlModifier);
    EXPECT_TRUE(designer.isVisible());

    const QList<QWidget*> controls = qm::test::FocusableControls(designer);
    EXPECT_TRUE(controls.contains(&designer.Surface()));
    EXPECT_TRUE(controls.contains(designer.DescriptionEdit()));
    EXPECT_TRUE(controls.contains(designer.CancelButton()));
    for (QWidget* control : controls) {
        SCOPED_TRACE(control->objectName().toStdString());
        panel.ClearObjects();
        auto* box = panel.AddObject(std::make_unique<qm::design::TGLabelShapes>());
        box->SetBounds(20, 20, 30, 20);
        QFile::remove(qm::design::TGSurfaceCommands::ClipboardPath());
        ASSERT_TRUE(qm::test::Focus(*control));
        const QString text = designer.DescriptionEdit()->text();

        qm::test::PressKey(Qt::Key_A, Qt::ControlModifier);
        qm::test::PressKey(Qt::Key_Right);
        qm::test::PressKey(Qt::Key_Down, Qt::ShiftModifier);
        qm::test::PressKey(Qt::Key_C, Qt::ControlModifier);
        clock.Advance(1500);
        qm::test::PressKey(Qt::Key_V, Qt::ControlModifier);
        qm::test::PressKey(Qt::Key_Z, Qt::ControlModifier);
        if (control == designer.DescriptionEdit()) {
            // Select all, copy, paste and undo were the text's: nothing on the face moved.
            EXPECT_EQ(panel.ObjectCount(), 1);
            EXPECT_EQ(box->BoundsRect(), QRect(20, 20, 30, 20));
            EXPECT_TRUE(panel.Selection().empty());
            qm::test::PressKey(Qt::Key_Delete);
            EXPECT_EQ(panel.ObjectCount(), 1);
            designer.DescriptionEdit()->setText(text);
            continue;
        }
        EXPECT_EQ(designer.DescriptionEdit()->text(), text);
        ASSERT_EQ(panel.ObjectCount(), 2) << "Ctrl+V pasted the copy";
        EXPECT_EQ(box->BoundsRect(), QRect(21, 20, 30, 21)) << "Right moved, Shift+Down grew";
        EXPECT_EQ(panel.ObjectAt(1)->BoundsRect(), QRect(36, 35, 30, 21));
        qm::test::PressKey(Qt::Key_A, Qt::ControlModifier);
        EXPECT_EQ(panel.Selection().size(), 2u);
        qm::test::PressKey(Qt::Key_X, Qt::ControlModifier);
        EXPECT_EQ(panel.ObjectCount(), 0) << "Ctrl+X cut both";
        clock.Advance(1500);
        qm::test::PressKey(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(panel.ObjectCount(), 2);
        qm::test::PressKey(Qt::Key_A, Qt::ControlModifier);
        qm::test::PressKey(Qt::Key_Delete);
        EXPECT_EQ(panel.ObjectCount(), 0) << "Delete";
        EXPECT_EQ(QApplication::focusWidget(), control) << "no key moved the focus";
        EXPECT_TRUE(designer.isVisible());
    }
}

TEST_F(LabelDesignScreenTest, CancelAsksOnlyAfterAChange)
{
    {
        auto designer = Open(Wide(4.0f));
        designer->CancelButton()->click();
        EXPECT_FALSE(designer->isVisible());
        EXPECT_TRUE(mResponder.Texts().isEmpty());
    }
    auto designer = Open(Wide(4.0f));
    QTest::keyClicks(designer->DescriptionEdit(), "!");
    EXPECT_TRUE(designer->SaveButton()->isVisible());
    mResponder.QueueAnswer(false);
    QTest::keyClick(designer.get(), Qt::Key_Escape);
    EXPECT_TRUE(designer->isVisible());
    ASSERT_EQ(mResponder.Messages().size(), 1u);
    EXPECT_EQ(mResponder.Messages()[0].caption, "CANCEL");
    EXPECT_EQ(mResponder.Messages()[0].text, "Discard the changes to this label?");
    EXPECT_FALSE(mResponder.Messages()[0].defaultYes);
    mResponder.QueueAnswer(true);
    designer->close();
    EXPECT_FALSE(designer->isVisible());
    EXPECT_EQ(designer->result(), QDialog::Rejected);
}

TEST_F(LabelDesignScreenTest, ArtFromTheTemplateIsShownWhenItsPictureExists)
{
    QTemporaryDir art;
    QImage picture(200, 60, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    {
        QPainter paint(&picture);
        paint.setPen(QPen(Qt::yellow, 6));
        paint.drawEllipse(QRect(130, 8, 50, 44));
        paint.drawLine(20, 50, 110, 50);
    }
    picture.setPixel(3, 3, qRgb(255, 255, 0));
    ASSERT_TRUE(picture.save(art.filePath("AVTEST.bmp")));
    TLabelGeometry g = Wide(4.0f);
    g.art = "avtest.bmp";
    TLabelDesignScreen designer(g, false, &mAddresses);
    designer.SetArtDirectory(art.path());
    designer.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(designer.ArtButton()->isEnabled());
    EXPECT_TRUE(designer.ArtButton()->isChecked());
    ASSERT_FALSE(designer.Surface().Picture().IsEmpty());
    const QImage shown = designer.Surface().Picture().Image();
    EXPECT_EQ(shown.size(), R::FaceSize(g, qm::design::TDesignUnits::Ppi()));
    EXPECT_EQ(shown.pixel(3, 3), 0xFFC0C0C0u);
    EXPECT_EQ(shown.pixel(0, 0), 0xFFFFFFFFu);
    designer.GridButton()->click();
    designer.ToolButton(TTool::Address)->click();
    ClickFace(designer, QPoint(20, 10));
    designer.Surface().SelectAll();
    qm::test::SaveScreenshot(designer, QStringLiteral("label-design-art"));
    designer.GridButton()->click();
    designer.ArtButton()->click();
    EXPECT_TRUE(designer.Surface().Picture().IsEmpty());

    g.art = "NOSUCH";
    TLabelDesignScreen none(g, false, &mAddresses);
    none.SetArtDirectory(art.path());
    none.show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(none.ArtButton()->isEnabled());
    EXPECT_TRUE(none.Surface().Picture().IsEmpty());
}

// ---- New and Modify for the "Print Labels" window

TEST_F(LabelDesignScreenTest, NewSavesTheLayoutFileAndAppendsTheRow)
{
    TLabelLayoutStore store;
    ASSERT_EQ(store.Open(mHome.Home().SysDataDir()), QString());
    WhenOpen([](TLabelDesignScreen& designer) {
        TLabelDesignScreen* d = &designer;
        d->DescriptionEdit()->setText("Members");
        emit d->DescriptionEdit()->textEdited("Members");
        d->SaveButton()->click();
    });
    const int row = TLabelDesignScreen::DesignLayout(store, -1, &mAddresses, nullptr);
    ASSERT_GE(row, 0);
    const TLabelGeometry saved = store.Rows()[size_t(row)].geometry;
    EXPECT_EQ(saved.description, "Members");
    EXPECT_EQ(saved.templateDescription, "Avery 5160  Address");
    EXPECT_TRUE(qm::design::TLayoutFileNames::IsLayoutName(saved.layoutFile));
    const QString path = store.LayoutPath(row);
    ASSERT_FALSE(path.isEmpty());
    qm::design::TGDataPanel panel;
    qm::design::TGLabelObjectFiler::LoadFromFile(panel, path);
    ASSERT_EQ(panel.ObjectCount(), 1);
    EXPECT_EQ(panel.ObjectAt(0)->ClassName(), "TGDMultiLineAddressLabel");
    EXPECT_EQ(panel.ObjectAt(0)->Left(), 5);

    // Modify: the file is loaded, a change is saved back to the same row, in a new file that
    // the row names once it is written; the file it named before goes.
    WhenOpen([](TLabelDesignScreen& designer) {
        TLabelDesignScreen* d = &designer;
        ASSERT_EQ(d->Panel().ObjectCount(), 1);
        d->ToolButton(TTool::Rectangle)->click();
        QTest::mouseClick(&d->Surface(), Qt::LeftButton, {}, QPoint(100, 50));
        d->SaveButton()->click();
    });
    EXPECT_EQ(TLabelDesignScreen::DesignLayout(store, row, &mAddresses, nullptr), row);
    EXPECT_EQ(store.Rows().size(), 1u);
    EXPECT_NE(store.Rows()[size_t(row)].geometry.layoutFile, saved.layoutFile);
    EXPECT_FALSE(QFile::exists(path));
    qm::design::TGDataPanel again;
    qm::design::TGLabelObjectFiler::LoadFromFile(again, store.LayoutPath(row));
    EXPECT_EQ(again.ObjectCount(), 2);

    // Cancel saves nothing.
    WhenOpen([](TLabelDesignScreen& designer) {
        TLabelDesignScreen* d = &designer;
        d->CancelButton()->click();
    });
    EXPECT_EQ(TLabelDesignScreen::DesignLayout(store, -1, &mAddresses, nullptr), -1);
    EXPECT_EQ(store.Rows().size(), 1u);
}

TEST_F(LabelDesignScreenTest, ModifyOfAMissingOrDamagedFileAndAFailedSave)
{
    TLabelLayoutStore store;
    ASSERT_EQ(store.Open(mHome.Home().SysDataDir()), QString());
    TLabelGeometry g = R::NewLabel("BIN00042.L");
    g.description = "Lost";
    const int row = store.Append(g);

    // Missing: an empty face under a new name, nothing said.
    WhenOpen([](TLabelDesignScreen& designer) {
        TLabelDesignScreen* d = &designer;
        EXPECT_EQ(d->Panel().ObjectCount(), 0);
        EXPECT_NE(d->Geometry().layoutFile, "BIN00042.L");
        d->CancelButton()->click();
    });
    EXPECT_EQ(TLabelDesignScreen::DesignLayout(store, row, &mAddresses, nullptr), -1);
    EXPECT_TRUE(mResponder.Texts().isEmpty());

    // Damaged: its message with the file and the offset; the file stays until saved.
    const QString path = QDir(mHome.Home().SysDataDir()).filePath("BIN00042.L");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\x01garbage that is no layout stream");
    }
    WhenOpen([](TLabelDesignScreen& designer) {
        TLabelDesignScreen* d = &designer;
        d->CancelButton()->click();
    });
    EXPECT_EQ(TLabelDesignScreen::DesignLayout(store, row, &mAddresses, nullptr), -1);
    ASSERT_EQ(mResponder.Texts().size(), 1);
    EXPECT_TRUE(mResponder.Texts()[0].contains("BIN00042.L"));
    EXPECT_TRUE(mResponder.Texts()[0].contains("at byte"));
    EXPECT_TRUE(QFile::exists(path));

    // A write that fails keeps the designer open; the row is as it was.
    QFile::remove(path);
    {
        qm::design::TGDataPanel panel;
        panel.AddObject(std::make_unique<qm::design::TGLabelShapes>())->SetBounds(1, 1, 30, 20);
        qm::design::TGLabelObjectFiler::SaveToFile(panel, path);
    }
    bool stayedOpen = false;
    int objects = -1;
    const QString blocked = store.NewLayoutName();
    WhenOpen([&](TLabelDesignScreen& designer) {
        TLabelDesignScreen* d = &designer;
        objects = d->Panel().ObjectCount();
        QTest::keyClicks(d->DescriptionEdit(), "x");
        // The disk is full now: the new layout file cannot be written.
        qm::data::TOutputFile::SetFaultHook(
            [](qm::data::TOutputFile::TStep, const QString&) { return ENOSPC; });
        d->SaveButton()->click();
        qm::data::TOutputFile::SetFaultHook({});
        stayedOpen = d->isVisible();
        mResponder.QueueAnswer(true); // "Discard the changes to this label?"
        d->CancelButton()->click();
    });
    EXPECT_EQ(TLabelDesignScreen::DesignLayout(store, row, &mAddresses, nullptr), -1);
    EXPECT_EQ(objects, 1);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(mResponder.Texts().size(), 3); // the damaged file, the failed write, the question
    EXPECT_TRUE(mResponder.Texts()[1].contains(blocked)) << mResponder.Texts()[1].toStdString();
    EXPECT_TRUE(mResponder.Texts()[1].contains(QString::fromLocal8Bit(std::strerror(ENOSPC))));
    EXPECT_FALSE(QFile::exists(QDir(mHome.Home().SysDataDir()).filePath(blocked)));
    EXPECT_EQ(store.Rows()[size_t(row)].geometry.description, "Lost");
    EXPECT_EQ(store.Rows()[size_t(row)].geometry.layoutFile, "BIN00042.L");
    EXPECT_TRUE(QFileInfo(path).isFile()) << "the earlier design was touched by the failed save";
}

// Two layouts may share a description: after Modify and Save the list stands on the row that was
// modified, found by its record, so the next Delete, Clone or Print acts on it.
TEST_F(LabelDesignScreenTest, ModifyThenSaveStandsOnTheModifiedRowNotItsNamesake)
{
    TLabelLayoutStore store;
    ASSERT_EQ(store.Open(mHome.Home().SysDataDir()), QString());
    TLabelGeometry g = R::NewLabel("BIN00001.L");
    g.description = "Club";
    store.Append(g);
    g.layoutFile = "BIN00002.L";
    const int second = store.Append(g);
    {
        qm::design::TGDataPanel empty; // the row's design on disk
        qm::design::TGLabelObjectFiler::SaveToFile(
            empty, QDir(mHome.Home().SysDataDir()).filePath("BIN00002.L"));
    }
    ASSERT_EQ(store.Rows().size(), 2u);
    const uint32_t recNo = store.Rows()[size_t(second)].recNo;
    ASSERT_NE(store.Find("Club"), second) << "the first namesake comes first";

    WhenOpen([](TLabelDesignScreen& d) {
        d.ToolButton(TTool::Rectangle)->click();
        QTest::mouseClick(&d.Surface(), Qt::LeftButton, {}, QPoint(40, 20));
        d.SaveButton()->click();
    });
    const int saved = TLabelDesignScreen::DesignLayout(store, second, &mAddresses, nullptr);
    ASSERT_GE(saved, 0);
    EXPECT_EQ(store.Rows()[size_t(saved)].recNo, recNo);
    // The save went to a file of its own; the namesake still names its own file.
    EXPECT_NE(store.Rows()[size_t(saved)].geometry.layoutFile, "BIN00001.L");
    EXPECT_EQ(store.Rows()[size_t(1 - saved)].geometry.layoutFile, "BIN00001.L");
}

// With every layout file name taken, a new layout has nowhere to go: Save says so and keeps the
// designer open, and nothing is written to BIN00000.L, which may be another layout's file.
TEST_F(LabelDesignScreenTest, ANewLayoutWithEveryNameTakenIsNotSaved)
{
    const QString sysdata = mHome.Home().SysDataDir();
    {
        TLabelLayoutStore store;
        ASSERT_EQ(store.Open(sysdata), QString()); // makes LABEL.DBF
    }
    QFile::remove(QDir(sysdata).filePath("LABEL.CDX")); // the tag is built again on opening
    qm::test::HoldEveryLayoutName(QDir(sysdata).filePath("LABEL.DBF"), 'L');
    TLabelLayoutStore store;
    ASSERT_EQ(store.Open(sysdata), QString());
    bool stayedOpen = false;
    WhenOpen([&](TLabelDesignScreen& designer) {
        TLabelDesignScreen* d = &designer;
        d->DescriptionEdit()->setText("Members");
        emit d->DescriptionEdit()->textEdited("Members");
        d->SaveButton()->click();
        stayedOpen = d->isVisible();
        mResponder.QueueAnswer(true); // discard the changes
        d->CancelButton()->click();
    });
    EXPECT_EQ(TLabelDesignScreen::DesignLayout(store, -1, &mAddresses, nullptr), -1);
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(mResponder.Texts().contains(TLabelLayoutStore::AllNamesTakenMessage()))
        << mResponder.Texts().join('|').toStdString();
    EXPECT_TRUE(store.Rows().empty());
    EXPECT_FALSE(QFile::exists(QDir(sysdata).filePath("BIN00000.L")));
}

TEST_F(LabelDesignScreenTest, ARowThatDescribesNoSheetNeverReachesTheFace)
{
    TLabelLayoutStore store;
    ASSERT_EQ(store.Open(mHome.Home().SysDataDir()), QString());
    TLabelGeometry g = R::NewLabel("BIN00043.L");
    g.description = "Broken";
    g.labelWidth = 0;
    const int row = store.Append(g);
    EXPECT_EQ(TLabelDesignScreen::DesignLayout(store, row, &mAddresses, nullptr), -1);
    ASSERT_EQ(mResponder.Texts().size(), 1);
}

TEST_F(LabelDesignScreenTest, TheSavedDesignIsWhatTheToolDumpsAndPrints)
{
    TLabelLayoutStore store;
    ASSERT_EQ(store.Open(mHome.Home().SysDataDir()), QString());
    WhenOpen([](TLabelDesignScreen& d) {
        QTest::keyClicks(d.DescriptionEdit(), "Club");
        d.SaveButton()->click();
    });
    const int row = TLabelDesignScreen::DesignLayout(store, -1, &mAddresses, nullptr);
    ASSERT_GE(row, 0);
    const QString description = store.Rows()[size_t(row)].geometry.description;
    EXPECT_EQ(description, "<New Label>Club");
    const QString path = store.LayoutPath(row);
    store.Close();
    mAddresses.Close(); // the tool opens the address file itself

    std::ostringstream out, err;
    ASSERT_EQ(qm::tools::RunTool({"layout", "dump", path.toStdString()}, out, err), 0) << err.str();
    EXPECT_NE(out.str().find("TGDMultiLineAddressLabel"), std::string::npos) << out.str();

    out.str({});
    const std::string table = mHome.Path("DATA/ADD0001.DBF").toStdString();
    ASSERT_EQ(qm::tools::RunTool({"print", "labels", "--table", table, "--label",
                                  description.toStdString(), "--list"},
                                 out, err),
              0)
        << err.str();
    EXPECT_NE(out.str().find("3 record(s), 3 label(s), 1 page(s)"), std::string::npos) << out.str();
}

// A label designed with New, while a 2-line record is on screen, printed for a 6-line record:
// all six lines reach the paper (the city line once went missing). The page is rendered to a
// picture for people to look at (QM_SCREENSHOT_DIR).
TEST_F(LabelDesignScreenTest, ADesignedLabelPrintsAllSixLinesOfARecord)
{
    mAddresses.Append();
    for (const auto& [field, value] : std::initializer_list<std::pair<const char*, const char*>>{
             {"PREFIX", "Dr."},
             {"FNAME", "Ada"},
             {"LNAME", "Quill"},
             {"TITLE", "Director of Research"},
             {"ORG", "Northwind Traders"},
             {"STREET", "1200 Harbor Blvd"},
             {"STREET2", "Suite 400"},
             {"CITY", "Springfield"},
             {"STATE", "IL"},
             {"ZIP", "62704-1234"}})
        mAddresses.SetAsString(field, value);
    mAddresses.Post();
    mAddresses.First(); // "Ames": two lines on screen while the label is made

    TLabelLayoutStore store;
    ASSERT_EQ(store.Open(mHome.Home().SysDataDir()), QString());
    WhenOpen([](TLabelDesignScreen& d) {
        QTest::keyClicks(d.DescriptionEdit(), "Six");
        d.SaveButton()->click();
    });
    const int row = TLabelDesignScreen::DesignLayout(store, -1, &mAddresses, nullptr);
    ASSERT_GE(row, 0);
    const QString description = store.Rows()[size_t(row)].geometry.description;
    store.Close();
    mAddresses.Close();

    const QString streamPath = mHome.Path("six.qps");
    std::ostringstream out, err;
    ASSERT_EQ(qm::tools::RunTool({"print", "labels", "--table",
                                  mHome.Path("DATA/ADD0001.DBF").toStdString(), "--label",
                                  description.toStdString(), "--stream", streamPath.toStdString()},
                                 out, err),
              0)
        << err.str();
    QFile file(streamPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QStringList texts;
    for (const QString& line : qm::print::DumpPageStream(bytes).lines)
        if (const qsizetype at = line.indexOf(" text=\""); at >= 0 && line.contains("rect="))
            texts << line.mid(at + 7).chopped(1).trimmed();
    const QStringList six = {"Dr. Ada Quill",     "Director of Research",
                             "Northwind Traders", "1200 Harbor Blvd",
                             "Suite 400",         "Springfield  IL 62704-1234"};
    for (const QString& line : six)
        EXPECT_TRUE(texts.contains(line)) << line.toStdString();
    if (const QByteArray dir = qgetenv("QM_SCREENSHOT_DIR"); !dir.isEmpty())
        qm::print::RenderPng(
            bytes, QDir(QString::fromLocal8Bit(dir)).filePath("label-designed-%d.png"), 150);
}

TEST_F(LabelDesignScreenTest, DefaultFontComesFromAndGoesToTheLabelSettings)
{
    {
        qm::data::TSettingsFile settings(mHome.Home().SettingsPath());
        settings.WriteString("Label", "DefaultFontName", "Courier New");
        settings.WriteInteger("Label", "DefaultFontSize", 12);
        settings.WriteBool("Label", "DefaultFontBold", true);
    }
    auto designer = Open(Wide(4.0f));
    EXPECT_EQ(designer->FontButton()->text(), "Default Font: Courier New, 12 pt , bold");
    designer->ToolButton(TTool::Rectangle)->click();
    ClickFace(*designer, QPoint(10, 10));
    const QRect before = designer->Panel().ObjectAt(0)->BoundsRect();
    designer->OnChooseFont = [](const qm::design::TGFont&) {
        qm::design::TGFont font;
        font.SetName("Times New Roman");
        font.SetPointSize(9);
        font.SetStyle(qm::design::fsItalic);
        return std::optional<qm::design::TGFont>(font);
    };
    designer->FontButton()->click();
    EXPECT_EQ(designer->FontButton()->text(), "Default Font: Times New Roman, 9 pt , italic");
    EXPECT_EQ(designer->Panel().ObjectAt(0)->BoundsRect(), before);
    qm::data::TSettingsFile settings(mHome.Home().SettingsPath());
    EXPECT_EQ(settings.ReadString("Label", "DefaultFontName"), "Times New Roman");
    EXPECT_EQ(settings.ReadInteger("Label", "DefaultFontSize", 0), 9);
    EXPECT_FALSE(settings.ReadBool("Label", "DefaultFontBold", true));
    EXPECT_TRUE(settings.ReadBool("Label", "DefaultFontItalic", false));
    // New text takes the chosen font.
    designer->ToolButton(TTool::Text)->click();
    ClickFace(*designer, QPoint(10, 60));
    EXPECT_EQ(designer->Surface().PanelFont().Name(), "Times New Roman");
}

// The window fits a 1920 x 1080 screen at 200 % (960 x 540 logical pixels, 40 of them
// for the title bar): nothing is cut,
// also with a long template name, a long default font and a desktop font of 11 point.
TEST_F(LabelDesignScreenTest, FitsA960By540Screen)
{
    {
        qm::data::TSettingsFile settings(mHome.Home().SettingsPath());
        settings.WriteString("Label", "DefaultFontName", "Times New Roman");
        settings.WriteInteger("Label", "DefaultFontSize", 12);
        settings.WriteBool("Label", "DefaultFontBold", true);
        settings.WriteBool("Label", "DefaultFontItalic", true);
    }
    TLabelGeometry g = R::NewLabel("BIN00001.L");
    g.templateDescription = "Avery 89101  Binder Spine Inserts, For 0.5 Inch Binders";
    for (const int points : {0, 11}) {
        SCOPED_TRACE(points);
        TLabelDesignScreen designer(g, true, &mAddresses);
        if (points > 0) {
            QFont font = designer.font();
            font.setPointSize(points);
            designer.setFont(font);
        }
        designer.show();
        QCoreApplication::processEvents();
        EXPECT_LE(designer.minimumSizeHint().width(), 960);
        EXPECT_LE(designer.minimumSizeHint().height(), 500);
        EXPECT_EQ(qm::test::ControlsOutside(designer, QSize(960, 500)), QStringList());
        EXPECT_EQ(designer.LayoutNameLabel()->toolTip(), g.templateDescription);
        qm::test::SaveScreenshot(designer, QStringLiteral("label-design-960x540-%1").arg(points));
    }
}
