#include "envelopes/ui/TEnvelopeDesignScreen.h"

#include "data/TSettingsFile.h"
#include "design/objects/TGIMBarCode.h"

#include "../../support/TFocusKeys.h"
#include "../../support/TScreenshot.h"
#include "../../support/TScriptedResponder.h"
#include "../../support/TTestHome.h"
#include "../../support/TWindowFit.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/core/TGOwner.h"
#include "design/objects/TGLabelShapes.h"
#include "design/objects/TGPLabel.h"
#include "design/surface/TGSurfaceCommands.h"
#include "design/surface/TTickClock.h"
#include "design/text/TDesignUnits.h"
#include "envelopes/ui/TEnvelopeSurface.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <random>

namespace qm::envelopes {

namespace {

QSizeF Face(int code)
{
    switch (code) {
    case 20:
        return {9.5, 4.125};
    case 23:
        return {11.5, 5};
    case 31:
        return {6.48, 4.56};
    default:
        return {};
    }
}

class TEnvelopeDesignScreenTest : public ::testing::Test {
protected:
    TEnvelopeDesignScreenTest() : panel(&owner)
    {
        design::TDesignUnits::SetPpiOverride(96);
        design::TGClassRegistry::Instance().RegisterHostKinds(design::TGHostKind::Envelope);
        printer.pageWidth = 9.5;
        printer.pageHeight = 4.125;
        printer.leftWaste = printer.rightWaste = printer.topWaste = printer.bottomWaste = 0.25;
    }
    ~TEnvelopeDesignScreenTest() override { design::TDesignUnits::SetPpiOverride(0); }

    std::unique_ptr<TEnvelopeDesignScreen> Open(const QString& description = "Home", int code = 20)
    {
        TEnvelopeFaceSource sizes;
        sizes.face = &Face;
        sizes.choose = [this](int current, QWidget*) -> std::optional<int> {
            chooserGot = current;
            return chosen;
        };
        auto screen = std::make_unique<TEnvelopeDesignScreen>(panel, nullptr, printer, description,
                                                              code, sizes);
        screen->Surface()->OnEditNewText = [this](design::TGGraphicControl&) { ++textDialogs; };
        screen->show();
        QApplication::processEvents();
        return screen;
    }

    design::TGGraphicControl* Put(const QRect& rect)
    {
        auto object = design::TGClassRegistry::Instance().Create("TGLabelShapes");
        object->AfterCreate();
        object->SetName(owner.FreeSpecialName());
        auto* placed = panel.AddObject(std::move(object));
        placed->SetBounds(rect.x(), rect.y(), rect.width(), rect.height());
        placed->RecordBounds();
        return placed;
    }

    void Drag(TEnvelopeDesignScreen& screen, const QPoint& from, const QPoint& to)
    {
        QWidget* surface = screen.Surface();
        QTest::mousePress(surface, Qt::LeftButton, {}, from);
        QTest::mouseMove(surface, QPoint((from.x() + to.x()) / 2, (from.y() + to.y()) / 2));
        QTest::mouseMove(surface, to);
        QTest::mouseRelease(surface, Qt::LeftButton, {}, to);
        QApplication::processEvents();
    }

    test::TTestHome home;
    test::TScriptedResponder responder;
    design::TGOwner owner;
    design::TGDataPanel panel;
    print::TPageGeometry printer;
    std::optional<int> chosen;
    int chooserGot = 0;
    int textDialogs = 0;
};

} // namespace

TEST_F(TEnvelopeDesignScreenTest, OpensOnTheFaceWithSaveHiddenAndTheDefaultFont)
{
    auto screen = Open();
    EXPECT_EQ(screen->windowTitle(), "Envelope Design Screen");
    EXPECT_EQ(panel.Width(), 912);
    EXPECT_EQ(panel.Height(), 396);
    EXPECT_FALSE(screen->SaveButton()->isVisible());
    EXPECT_EQ(screen->FontButton()->text(), "Default Font: Arial, 10 pt ");
    EXPECT_EQ(screen->DescriptionEdit()->text(), "Home");
    EXPECT_EQ(screen->ZoomLabel()->text(), "100%");
    EXPECT_EQ(screen->ToolButton(TEnvelopeTool::FimBarcode)->text(), "FIM");
    EXPECT_EQ(screen->ToolButton(TEnvelopeTool::Line)->toolTip(), "Line Tool");
}

TEST_F(TEnvelopeDesignScreenTest, ATinyDragWithTheTextToolMakesA50By15TextAndSelectsAgain)
{
    auto screen = Open();
    screen->ToolButton(TEnvelopeTool::Text)->click();
    EXPECT_EQ(screen->Surface()->ToolKind(), "TGPLabel");
    Drag(*screen, QPoint(100, 100), QPoint(110, 105));
    ASSERT_EQ(panel.ObjectCount(), 1);
    auto* text = dynamic_cast<design::TGPLabel*>(panel.ObjectAt(0));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->BoundsRect(), QRect(100, 100, 50, 15));
    EXPECT_EQ(textDialogs, 1);
    EXPECT_TRUE(screen->Surface()->Pointing());
    EXPECT_TRUE(screen->ToolButton(TEnvelopeTool::Selection)->isChecked());
    EXPECT_TRUE(screen->SaveButton()->isVisible());
}

TEST_F(TEnvelopeDesignScreenTest, ShapeToolsDrawTheirShape)
{
    auto screen = Open();
    screen->ToolButton(TEnvelopeTool::Ellipse)->click();
    Drag(*screen, QPoint(20, 20), QPoint(120, 80));
    ASSERT_EQ(panel.ObjectCount(), 1);
    auto* shape = dynamic_cast<design::TGLabelShapes*>(panel.ObjectAt(0));
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->Shape(), design::TGShapeType::stEllipse);
    EXPECT_EQ(textDialogs, 0);
}

TEST_F(TEnvelopeDesignScreenTest, IntelligentMailToolDrawsTheBarcodeWithTheSettingsParts)
{
    data::TSettingsFile settings(home.Home().SettingsPath());
    settings.WriteString("Intelligent Mail", "MailerId", "901234567");
    auto screen = Open();
    screen->ToolButton(TEnvelopeTool::ImbBarcode)->click();
    EXPECT_EQ(screen->Surface()->ToolKind(), "TGIMBarCode");
    Drag(*screen, QPoint(300, 250), QPoint(305, 252));
    ASSERT_EQ(panel.ObjectCount(), 1);
    auto* code = dynamic_cast<design::TGIMBarCode*>(panel.ObjectAt(0));
    ASSERT_NE(code, nullptr);
    EXPECT_EQ(code->MailerId(), "901234567");
    EXPECT_EQ(code->ZipCodeField(), "ZIP");
    EXPECT_TRUE(responder.Texts().isEmpty());
    screen->Surface()->update();
    QApplication::processEvents();
    test::SaveScreenshot(*screen, "envelope-design-imb");
}

TEST_F(TEnvelopeDesignScreenTest, ZoomStopsAt60And140Percent)
{
    auto screen = Open();
    for (int i = 0; i < 6; ++i)
        screen->ZoomInButton()->click();
    EXPECT_EQ(screen->ZoomLabel()->text(), "140%");
    EXPECT_FLOAT_EQ(panel.Scale(), 1.4f);
    for (int i = 0; i < 10; ++i)
        screen->ZoomOutButton()->click();
    EXPECT_EQ(screen->ZoomLabel()->text(), "60%");
    EXPECT_FLOAT_EQ(panel.Scale(), 0.6f);
    // The keypad keys step too.
    QTest::keyClick(screen->Surface(), Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(screen->ZoomLabel()->text(), "70%");
    QTest::keyClick(screen->Surface(), Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(screen->ZoomLabel()->text(), "60%");
}

TEST_F(TEnvelopeDesignScreenTest, ReadOutDividesByThePpiAndTheZoom)
{
    auto screen = Open();
    QMouseEvent move(QEvent::MouseMove, QPointF(96, 48), QPointF(96, 48), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(screen->Surface(), &move);
    EXPECT_EQ(screen->LeftLabel()->text(), "Left: 1.00");
    EXPECT_EQ(screen->TopLabel()->text(), "Top: 0.50");
    screen->ZoomInButton()->click();
    screen->ZoomInButton()->click(); // 120 %
    QMouseEvent zoomed(QEvent::MouseMove, QPointF(144, 57), QPointF(144, 57), Qt::NoButton,
                       Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(screen->Surface(), &zoomed);
    EXPECT_EQ(screen->LeftLabel()->text(), "Left: 1.25");
    EXPECT_EQ(screen->TopLabel()->text(), "Top: 0.49");
}

TEST_F(TEnvelopeDesignScreenTest, CancelAsksOnceSomethingChanged)
{
    auto screen = Open();
    screen->CancelButton()->click();
    EXPECT_TRUE(responder.Messages().empty());
    EXPECT_EQ(screen->result(), QDialog::Rejected);

    auto changed = Open();
    QTest::keyClicks(changed->DescriptionEdit(), "x");
    EXPECT_TRUE(changed->SaveButton()->isVisible());
    responder.QueueAnswer(false);
    changed->CancelButton()->click();
    ASSERT_EQ(responder.Messages().size(), 1u);
    EXPECT_EQ(responder.Messages()[0].caption, "CANCEL");
    EXPECT_EQ(responder.Messages()[0].text, "Discard the changes to this envelope?");
    EXPECT_FALSE(responder.Messages()[0].defaultYes);
    EXPECT_TRUE(changed->isVisible());
    // Escape asks the same question.
    responder.QueueAnswer(true);
    QTest::keyClick(changed.get(), Qt::Key_Escape);
    EXPECT_EQ(responder.Messages().size(), 2u);
    EXPECT_FALSE(changed->isVisible());
    EXPECT_EQ(changed->result(), QDialog::Rejected);
}

TEST_F(TEnvelopeDesignScreenTest, ChangeSizePullsObjectsInside)
{
    Put(QRect(850, 350, 40, 20)); // inside a #10, outside a C6 (622 x 438)
    auto screen = Open();
    chosen = 31;
    screen->ChangeSizeButton()->click();
    EXPECT_EQ(chooserGot, 20);
    EXPECT_EQ(screen->Code(), 31);
    EXPECT_EQ(panel.Width(), 622);
    EXPECT_EQ(panel.Height(), 438);
    EXPECT_EQ(panel.ObjectAt(0)->Left(), 622 - 20);
    EXPECT_TRUE(screen->SaveButton()->isVisible());

    chosen.reset(); // Cancel in the size dialog changes nothing
    screen->ChangeSizeButton()->click();
    EXPECT_EQ(screen->Code(), 31);
}

TEST_F(TEnvelopeDesignScreenTest, SaveDropsOutsideObjectsAndLeavesThePanelAt100Percent)
{
    Put(QRect(10, 10, 40, 20));
    Put(QRect(905, 10, 40, 20)); // left beyond width - 10
    auto screen = Open();
    screen->DescriptionEdit()->setText(QString(60, QLatin1Char('d')));
    EXPECT_EQ(screen->Description().size(), 50);
    screen->ZoomInButton()->click();
    screen->ZoomInButton()->click();
    QTest::keyClicks(screen->DescriptionEdit(), "e"); // shows Save
    screen->SaveButton()->click();
    EXPECT_EQ(screen->result(), QDialog::Accepted);
    EXPECT_TRUE(responder.Messages().empty());
    EXPECT_FLOAT_EQ(panel.Scale(), 1.0f);
    EXPECT_EQ(panel.Width(), 912);
    ASSERT_EQ(panel.ObjectCount(), 1);
    EXPECT_EQ(panel.ObjectAt(0)->BoundsRect(), QRect(10, 10, 40, 20));
}

TEST_F(TEnvelopeDesignScreenTest, OverlaysAreDrawnOverTheFace)
{
    Put(QRect(20, 300, 60, 40));
    auto screen = Open();
    const QImage plain = screen->Surface()->RenderPage();
    EXPECT_EQ(QColor(plain.pixel(400, 300)), QColor(Qt::white));
    screen->TemplateButton()->click();
    screen->MarginsButton()->click();
    const QImage image = screen->Surface()->RenderPage();
    EXPECT_EQ(QColor(image.pixel(400, 300)), QColor(239, 239, 239));
    int red = 0;
    for (int y = 100; y < 300; ++y)
        red += QColor(image.pixel(24, y)) == QColor(Qt::red) ? 1 : 0;
    EXPECT_GT(red, 30);
    test::SaveScreenshot(*screen, "envelope-design-screen");
}

TEST_F(TEnvelopeDesignScreenTest, DefaultFontAppliesToObjectsDrawnAfterwards)
{
    auto screen = Open();
    screen->OnChooseDefaultFont = [](const design::TGFont& font) -> std::optional<design::TGFont> {
        design::TGFont bold = font;
        bold.SetName("Times New Roman");
        bold.SetPointSize(14);
        bold.SetStyle(design::fsBold | design::fsItalic);
        return bold;
    };
    screen->FontButton()->click();
    EXPECT_EQ(screen->FontButton()->text(), "Default Font: Times New Roman, 14 pt , bold, italic");
    screen->ToolButton(TEnvelopeTool::Text)->click();
    Drag(*screen, QPoint(100, 100), QPoint(200, 130));
    auto* text = dynamic_cast<design::TGPLabel*>(panel.ObjectAt(0));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Font().Name(), "Times New Roman");
}

} // namespace qm::envelopes

namespace qm::envelopes {

TEST_F(TEnvelopeDesignScreenTest, PageKeysScrollTheWorkAreaButNotWhileTypingTheDescription)
{
    auto screen = Open();
    screen->resize(screen->minimumSize());
    for (int i = 0; i < 4; ++i)
        screen->ZoomInButton()->click();
    QApplication::processEvents();
    QScrollBar* bar = screen->WorkArea()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), bar->singleStep());
    screen->Surface()->setFocus();
    QTest::keyClick(screen->Surface(), Qt::Key_PageDown);
    EXPECT_EQ(bar->value(), bar->singleStep());
    QTest::keyClick(screen->Surface(), Qt::Key_End);
    EXPECT_EQ(bar->value(), bar->maximum());
    QTest::keyClick(screen->Surface(), Qt::Key_PageUp);
    EXPECT_EQ(bar->value(), bar->maximum() - bar->singleStep());
    QTest::keyClick(screen->Surface(), Qt::Key_Home);
    EXPECT_EQ(bar->value(), 0);

    screen->ZoomOutButton()->click();
    screen->DescriptionEdit()->setFocus();
    QTest::keyClick(screen->DescriptionEdit(), Qt::Key_End);
    EXPECT_EQ(bar->value(), 0);
    QTest::keyClick(screen->DescriptionEdit(), Qt::Key_Plus, Qt::KeypadModifier, 0);
    EXPECT_EQ(screen->ZoomLabel()->text(), "130%");
    EXPECT_EQ(screen->DescriptionEdit()->text(), "Home+");
}

TEST_F(TEnvelopeDesignScreenTest, FieldNamesToggleShowsTheOppositeOfTheButton)
{
    auto screen = Open();
    EXPECT_TRUE(panel.DisplayDataValues());
    screen->FieldNamesButton()->click();
    EXPECT_FALSE(panel.DisplayDataValues());
    screen->FieldNamesButton()->click();
    EXPECT_TRUE(panel.DisplayDataValues());
    screen->GridButton()->click();
    EXPECT_TRUE(screen->Surface()->ShowGrid());
    screen->SnapButton()->click();
    EXPECT_TRUE(screen->Surface()->SnapToGrid());
    // Without an address table the record buttons have nothing to move.
    EXPECT_FALSE(screen->NextButton()->isEnabled());
}

} // namespace qm::envelopes

namespace qm::envelopes {

// Zooming keeps each object's 100 % geometry: any zoom sequence back to 100 % leaves every object
// exactly where it was, and the layout stream is the same byte for byte.
TEST_F(TEnvelopeDesignScreenTest, FiftyRandomZoomSequencesLeaveEveryObjectWhereItWas)
{
    std::mt19937 random(6);
    std::vector<QRect> placed;
    for (int i = 0; i < 25; ++i) {
        const QRect r(int(random() % 900), int(random() % 390), 1 + int(random() % 300),
                      1 + int(random() % 120));
        placed.push_back(r);
        Put(r);
    }
    auto screen = Open();
    // A text drawn while zoomed joins them.
    screen->ZoomOutButton()->click();
    screen->ToolButton(TEnvelopeTool::Text)->click();
    Drag(*screen, QPoint(31, 41), QPoint(91, 61));
    screen->ZoomInButton()->click();
    ASSERT_EQ(panel.ObjectCount(), 26);
    placed.push_back(panel.ObjectAt(25)->BoundsRect());
    const QByteArray stream = design::TGLabelObjectFiler::PanelBytes(panel);

    for (int sequence = 0; sequence < 50; ++sequence) {
        const int presses = 1 + int(random() % 12);
        for (int i = 0; i < presses; ++i) {
            if (random() % 2)
                (random() % 2 ? screen->ZoomInButton() : screen->ZoomOutButton())->click();
            else
                QTest::keyClick(screen->Surface(), random() % 2 ? Qt::Key_Plus : Qt::Key_Minus,
                                Qt::KeypadModifier);
        }
        while (screen->Zoom().Percent() != 100)
            (screen->Zoom().Percent() < 100 ? screen->ZoomInButton() : screen->ZoomOutButton())
                ->click();
        ASSERT_EQ(screen->ZoomLabel()->text(), "100%");
        ASSERT_EQ(QSize(panel.Width(), panel.Height()), QSize(912, 396));
        for (std::size_t i = 0; i < placed.size(); ++i)
            ASSERT_EQ(panel.ObjectAt(int(i))->BoundsRect(), placed[i])
                << "sequence " << sequence << ", object " << i;
    }
    EXPECT_EQ(design::TGLabelObjectFiler::PanelBytes(panel), stream);
}

// Every design key works from every control that can have the focus and none ends the program;
// the description edit keeps its keys for its text.
TEST_F(TEnvelopeDesignScreenTest, DesignKeysWorkFromEveryControlAndNeverEndTheProgram)
{
    std::int64_t now = 100000;
    design::TTickClock::SetSource([&now] { return now; });
    auto screen = Open();
    ASSERT_TRUE(test::Activate(*screen));
    screen->SaveButton()->show();
    const QList<QWidget*> controls = test::FocusableControls(*screen);
    EXPECT_TRUE(controls.contains(screen->Surface()));
    EXPECT_TRUE(controls.contains(screen->DescriptionEdit()));
    EXPECT_TRUE(controls.contains(screen->ChangeSizeButton()));
    for (QWidget* control : controls) {
        SCOPED_TRACE(control->objectName().toStdString());
        panel.ClearObjects();
        design::TGGraphicControl* box = Put(QRect(20, 20, 30, 20));
        QFile::remove(design::TGSurfaceCommands::ClipboardPath());
        ASSERT_TRUE(test::Focus(*control));
        const QString text = screen->DescriptionEdit()->text();

        for (const int key : {Qt::Key_Z, Qt::Key_Y})
            test::PressKey(key, Qt::ControlModifier);
        test::PressKey(Qt::Key_A, Qt::ControlModifier);
        test::PressKey(Qt::Key_Right);
        test::PressKey(Qt::Key_Down, Qt::ShiftModifier);
        test::PressKey(Qt::Key_C, Qt::ControlModifier);
        now += 1500;
        test::PressKey(Qt::Key_V, Qt::ControlModifier);
        if (control == screen->DescriptionEdit()) {
            EXPECT_EQ(panel.ObjectCount(), 1);
            EXPECT_EQ(box->BoundsRect(), QRect(20, 20, 30, 20));
            test::PressKey(Qt::Key_Delete);
            EXPECT_EQ(panel.ObjectCount(), 1);
            screen->DescriptionEdit()->setText(text);
            continue;
        }
        EXPECT_EQ(screen->DescriptionEdit()->text(), text);
        ASSERT_EQ(panel.ObjectCount(), 2) << "Ctrl+V pasted the copy";
        EXPECT_EQ(box->BoundsRect(), QRect(21, 20, 30, 21)) << "Right moved, Shift+Down grew";
        EXPECT_EQ(panel.ObjectAt(1)->BoundsRect(), QRect(36, 35, 30, 21));
        test::PressKey(Qt::Key_A, Qt::ControlModifier);
        test::PressKey(Qt::Key_X, Qt::ControlModifier);
        EXPECT_EQ(panel.ObjectCount(), 0) << "Ctrl+X cut both";
        now += 1500;
        test::PressKey(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(panel.ObjectCount(), 2);
        test::PressKey(Qt::Key_A, Qt::ControlModifier);
        test::PressKey(Qt::Key_Delete);
        EXPECT_EQ(panel.ObjectCount(), 0) << "Delete";
        EXPECT_EQ(QApplication::focusWidget(), control) << "no key moved the focus";
        EXPECT_TRUE(screen->isVisible());
    }
    design::TTickClock::SetSource(nullptr);
}

// The window fits a 1920 x 1080 screen at 200 % (960 x 540 logical pixels, 40 of them
// for the title bar): nothing is cut,
// also with a desktop font of 11 point.
TEST_F(TEnvelopeDesignScreenTest, FitsA960By540Screen)
{
    for (const int points : {0, 11}) {
        SCOPED_TRACE(points);
        auto screen = Open();
        if (points > 0) {
            QFont font = screen->font();
            font.setPointSize(points);
            screen->setFont(font);
            QApplication::processEvents();
        }
        EXPECT_LE(screen->minimumSizeHint().width(), 960);
        EXPECT_LE(screen->minimumSizeHint().height(), 500);
        EXPECT_EQ(test::ControlsOutside(*screen, QSize(960, 500)), QStringList());
        test::SaveScreenshot(*screen, QStringLiteral("envelope-design-960x540-%1").arg(points));
    }
}

} // namespace qm::envelopes
