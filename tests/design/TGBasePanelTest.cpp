#include "design/core/TGBasePanel.h"

#include "TDesignTestKinds.h"
#include "data/TAddressFile.h"
#include "data/TDataSet.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/core/TGOwner.h"
#include "design/objects/TGBaseLabel.h"
#include "design/objects/TGMultiLineLabel.h"
#include "design/objects/TGPLabel.h"
#include "design/objects/TMultiLineText.h"
#include "design/stream/TLayoutError.h"
#include "design/text/TDesignUnits.h"
#include "print/TPageStreamDump.h"
#include "print/TRPDevice.h"
#include "print/TReportFiler.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>

namespace qm::design {
namespace {

using test::CallLog;
using test::TRecordingObject;

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TDesignUnits::SetPpiOverride(96);
        TGClassRegistry::Instance().Clear();
        TGClassRegistry::Instance().RegisterHostKinds(TGHostKind::Label);
        test::RegisterTestKinds();
        CallLog().clear();
        mPanel.SetSize(300, 100);
    }
    void TearDown() override { TDesignUnits::SetPpiOverride(0); }

    TRecordingObject* Add(const QString& name, int left, int top, int width = 20, int height = 10)
    {
        auto object = std::make_unique<TRecordingObject>();
        object->SetName(name);
        object->SetBounds(left, top, width, height);
        return static_cast<TRecordingObject*>(mPanel.AddObject(std::move(object)));
    }

    QStringList Names() const
    {
        QStringList names;
        for (const auto& object : mPanel.Objects())
            names << object->Name();
        return names;
    }

    TGDataPanel mPanel;
};

TEST_F(PanelTest, FreeNamesSkipEveryNameInUseOnEveryPanel)
{
    TGOwner window;
    TGDataPanel other(&window);
    TGDataPanel band(&window);
    auto add = [](TGBasePanel& panel, const QString& name) {
        auto object = std::make_unique<TRecordingObject>();
        object->SetName(name);
        panel.AddObject(std::move(object));
    };
    EXPECT_EQ(window.FreeComponentName(), "Component0");
    EXPECT_EQ(window.FreeSpecialName(), "Special1");
    add(other, "component0");
    add(band, "Component1");
    add(band, "Special1");
    add(other, "Special2");
    add(band, "Special04"); // not the name 4 makes
    add(band, "Special3x"); // nor 3's
    window.AddComponentName("Component2");
    EXPECT_EQ(window.FreeComponentName(), "Component3");
    EXPECT_EQ(window.FreeSpecialName(), "Special3");
    add(band, "Special3");
    EXPECT_EQ(window.FreeSpecialName(), "Special4");
    for (int n = 4; n <= 1000; ++n)
        add(other, QStringLiteral("Special%1").arg(n));
    EXPECT_EQ(window.FreeSpecialName(), "");
}

TEST_F(PanelTest, PullObjectsInsideMovesOnlyObjectsPastTheLimits)
{
    auto* corner = Add("corner", 295, 95);
    auto* inside = Add("inside", 250, 50);
    auto* low = Add("low", 10, 91);
    mPanel.Select(corner);
    mPanel.PullObjectsInside();
    EXPECT_EQ(corner->Left(), 280);
    EXPECT_EQ(corner->Top(), 90);
    EXPECT_EQ(inside->Left(), 250);
    EXPECT_EQ(inside->Top(), 50);
    EXPECT_EQ(low->Top(), 90);
    EXPECT_TRUE(mPanel.Selection().empty());
}

TEST_F(PanelTest, DropOutsideObjectsFreesObjectsOutsideOrWithoutArea)
{
    Add("zeroWidth", 10, 10, 0, 10);
    Add("zeroHeight", 10, 10, 10, 0);
    Add("right", 291, 10);
    Add("below", 10, 91);
    Add("wide", 250, 10, 100, 10);
    Add("edge", 290, 90);
    int changes = 0;
    mPanel.OnLabelChanged = [&] { ++changes; };
    mPanel.DropOutsideObjects();
    EXPECT_EQ(Names(), (QStringList{"wide", "edge"}));
    EXPECT_EQ(changes, 4);
}

TEST_F(PanelTest, HostOperationsVisitObjectsBottomFirst)
{
    Add("a", 0, 0);
    Add("b", 96, 48);
    mPanel.StepCounters();
    mPanel.ResetCounters();
    EXPECT_EQ(CallLog(),
              (QStringList{"a.CounterStep", "b.CounterStep", "a.CounterReset", "b.CounterReset"}));
}

TEST_F(PanelTest, PrintObjectsDrawsBottomFirstAtThePanelsCorner)
{
    Add("bottom", 0, 0);
    Add("top", 96, 48);
    qputenv("QUILLMARK_NO_PDF_PRINTER", "1");
    print::TRPDevice::Instance().ReloadWith({});
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    print::TReportFiler filer;
    filer.SetStream(&buffer);
    filer.OnPrint = [&](print::TBaseReport& report) { mPanel.PrintObjects(report, 1.0, 2.0); };
    filer.RunJob();
    EXPECT_EQ(CallLog(), (QStringList{"bottom.Print(1,2)", "top.Print(2,2.5)"}));
    const print::TPageStreamDump dump = print::DumpPageStream(bytes);
    EXPECT_TRUE(dump.error.isEmpty()) << dump.error.toStdString();
    QStringList shapes;
    for (const QString& line : dump.lines)
        if (line.contains(QStringLiteral("Rectangle"), Qt::CaseInsensitive))
            shapes << line;
    ASSERT_EQ(shapes.size(), 2) << dump.lines.join('\n').toStdString();
    EXPECT_TRUE(shapes[0].contains(QStringLiteral("1")));
}

TEST_F(PanelTest, RefreshDataNeedsAnOpenDataSet)
{
    Add("a", 0, 0);
    mPanel.RefreshData();
    EXPECT_TRUE(CallLog().isEmpty()) << "no data set";
    data::TDataSet closed;
    mPanel.SetDataSet(&closed);
    mPanel.RefreshData();
    mPanel.SetDisplayDataValues(false);
    EXPECT_TRUE(CallLog().isEmpty()) << "closed data set";
    EXPECT_FALSE(mPanel.DisplayDataValues());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ADD0001.DBF"));
    ASSERT_TRUE(data::TAddressFile::Create(path, {}).isEmpty());
    data::TDataSet open;
    data::TAddressFile::DeclareFieldObjects(open);
    open.Open(path);
    mPanel.SetDataSet(&open);
    int updates = 0;
    mPanel.OnProcessUpdates = [&] { ++updates; };
    mPanel.SetDisplayDataValues(true);
    EXPECT_EQ(CallLog(), QStringList{"a.ShowData"});
    EXPECT_EQ(updates, 1);
}

TEST_F(PanelTest, BoundsNearTheEndsOfTheIntRangeAreCutNotWrapped)
{
    // Layout files may store any 32-bit bounds; the rectangle must not wrap around.
    TRecordingObject* far = Add("Far", 0, 0);
    far->SetBounds(std::numeric_limits<int>::max() - 5, std::numeric_limits<int>::min(), 100,
                   std::numeric_limits<int>::max());
    const QRect r = far->BoundsRect();
    EXPECT_EQ(r.left(), std::numeric_limits<int>::max() - 5);
    EXPECT_EQ(r.right(), std::numeric_limits<int>::max() - 1);
    EXPECT_EQ(r.width(), 5);
    EXPECT_EQ(r.top(), std::numeric_limits<int>::min());
    EXPECT_EQ(r.height(), std::numeric_limits<int>::max());
    far->SetBounds(-10, -20, std::numeric_limits<int>::min(), -3);
    EXPECT_EQ(far->BoundsRect().left(), -10);
    EXPECT_LE(far->BoundsRect().width(), 0);
    EXPECT_EQ(far->BoundsRect().top(), -20);
    EXPECT_EQ(far->BoundsRect().height(), -3);
}

TEST_F(PanelTest, ZoomingUpAndBackIsExact)
{
    auto* object = Add("a", 7, 13, 142, 33);
    for (float f : {1.1f, 1.2f, 1.3f, 1.4f, 1.5f})
        mPanel.SetScale(f);
    EXPECT_EQ(object->Scale(), 1.5f);
    EXPECT_EQ(mPanel.Width(), 450);
    for (float f : {1.4f, 1.3f, 1.2f, 1.1f, 1.0f})
        mPanel.SetScale(f);
    EXPECT_EQ(object->BoundsRect(), QRect(7, 13, 142, 33));
    EXPECT_EQ(mPanel.Width(), 300);
    EXPECT_EQ(mPanel.Height(), 100);
}

TEST_F(PanelTest, ZoomingDownAndBackIsExact)
{
    // Rounding each step from the last one brought a Left of 7 back as 2.
    auto* object = Add("a", 7, 7, 142, 33);
    for (float f : {0.9f, 0.8f, 0.7f, 0.6f, 0.5f})
        mPanel.SetScale(f);
    EXPECT_EQ(object->BoundsRect(), QRect(4, 4, 71, 16)) << "round(100 % x 0.5), halves to even";
    for (float f : {0.6f, 0.7f, 0.8f, 0.9f, 1.0f})
        mPanel.SetScale(f);
    EXPECT_EQ(object->BoundsRect(), QRect(7, 7, 142, 33));
}

// Any zoom sequence that ends at 100 % leaves the page and every object exactly where they were,
// and at every step the shown bounds are the 100 % ones at that zoom.
TEST_F(PanelTest, FiftyRandomZoomSequencesBackTo100PercentMoveNothing)
{
    std::mt19937 random(34);
    std::vector<QRect> placed;
    for (int i = 0; i < 40; ++i) {
        const QRect r(int(random() % 300), int(random() % 100), 1 + int(random() % 250),
                      1 + int(random() % 90));
        placed.push_back(r);
        Add(QStringLiteral("o%1").arg(i), r.x(), r.y(), r.width(), r.height());
    }
    // The designers' own steps: 0.1 on a float (labels, 50 to 150 %) and whole percentages
    // (envelopes, 60 to 140 %), and any factor at all.
    for (int sequence = 0; sequence < 50; ++sequence) {
        float scale = 1.0f;
        const int steps = 1 + int(random() % 30);
        for (int step = 0; step < steps; ++step) {
            switch (sequence % 3) {
            case 0:
                scale = std::clamp(scale + (random() % 2 ? 0.1f : -0.1f), 0.45f, 1.55f);
                break;
            case 1:
                scale = float(60 + 10 * int(random() % 9)) / 100.0f;
                break;
            default:
                scale = 0.25f + float(random() % 1000) / 400.0f;
                break;
            }
            mPanel.SetScale(scale);
            for (std::size_t i = 0; i < placed.size(); ++i) {
                const TGGraphicControl* o = mPanel.ObjectAt(int(i));
                ASSERT_EQ(o->Left(), TDesignUnits::Round(placed[i].x() * double(scale)));
                ASSERT_EQ(o->Width(), TDesignUnits::Round(placed[i].width() * double(scale)));
            }
        }
        mPanel.SetScale(1.0f);
        for (std::size_t i = 0; i < placed.size(); ++i)
            ASSERT_EQ(mPanel.ObjectAt(int(i))->BoundsRect(), placed[i])
                << "sequence " << sequence << ", object " << i;
        ASSERT_EQ(mPanel.Width(), 300);
        ASSERT_EQ(mPanel.Height(), 100);
    }
}

// An edit at a zoom goes back to 100 % only for the edges it changed.
TEST_F(PanelTest, AnEditWhileZoomedKeepsTheEdgesItDidNotTouch)
{
    auto* object = Add("a", 5, 5, 237, 81);
    mPanel.SetScale(0.5f);
    EXPECT_EQ(object->BoundsRect(), QRect(2, 2, 118, 40));
    object->SetBounds(object->Left() + 10, object->Top(), object->Width(), object->Height());
    EXPECT_EQ(object->DesignLeft(), 24) << "moved 10 at 50 %: 20 at 100 %";
    EXPECT_EQ(object->DesignWidth(), 237) << "118 / 0.5 would have made it 236";
    mPanel.SetScale(1.0f);
    EXPECT_EQ(object->BoundsRect(), QRect(24, 5, 237, 81));

    // At 150 % every shown length maps back to the one 100 % length it came from.
    mPanel.SetScale(1.5f);
    object->SetBounds(object->Left(), object->Top(), object->Width() + 3, object->Height());
    mPanel.SetScale(1.0f);
    EXPECT_EQ(object->BoundsRect(), QRect(24, 5, 239, 81));

    // A new object drawn at a zoom takes the rectangle as drawn at that zoom.
    mPanel.SetScale(2.0f);
    auto drawn = std::make_unique<TRecordingObject>();
    drawn->SetScale(mPanel.Scale());
    drawn->SetBounds(20, 40, 100, 30);
    auto* placed = mPanel.AddObject(std::move(drawn));
    EXPECT_EQ(placed->BoundsRect(), QRect(20, 40, 100, 30));
    mPanel.SetScale(1.0f);
    EXPECT_EQ(placed->BoundsRect(), QRect(10, 20, 50, 15));
}

// The zoom sets each object's bounds before its Scale; word-wrapped text must still be measured
// in the font of the new zoom, or its lines run past the object's edge.
TEST_F(PanelTest, ZoomingRewrapsInTheNewZoomsFont)
{
    auto text = std::make_unique<TGMultiLineLabel>();
    text->SetBounds(10, 10, 120, 100);
    text->ApplyLines({"The quick brown fox jumps over the lazy dog again and again"});
    text->SetWordWrap(true);
    auto* label = static_cast<TGMultiLineLabel*>(mPanel.AddObject(std::move(text)));
    const QStringList atOne = label->WrappedLines();
    ASSERT_GT(atOne.size(), 2);
    for (float f : {2.0f, 0.5f, 1.5f}) {
        mPanel.SetScale(f);
        const QFontMetrics metrics(TMultiLineText::ScreenFont(*label));
        for (const QString& line : label->WrappedLines())
            EXPECT_LE(metrics.horizontalAdvance(line), label->Width())
                << "zoom " << f << ": " << line.toStdString();
    }
    mPanel.SetScale(1.0f);
    EXPECT_EQ(label->WrappedLines(), atOne);
}

TEST_F(PanelTest, RescalingRaisesNoChangeNotification)
{
    auto* object = Add("a", 10, 10);
    object->BoundsChanged(); // the first call only records the bounds
    int changes = 0;
    mPanel.OnLabelChanged = [&] { ++changes; };
    mPanel.SetScale(2.0f);
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(mPanel.Scaling());
    object->SetLeft(50);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(object->LastBounds(), object->BoundsRect());
}

TEST_F(PanelTest, BoundsChangedRecordsFirstThenNotifiesAndRefits)
{
    auto object = std::make_unique<TRecordingObject>();
    int changes = 0, refits = 0;
    mPanel.OnLabelChanged = [&] { ++changes; };
    mPanel.OnRefitHandle = [&] { ++refits; };
    auto* raw = static_cast<TRecordingObject*>(mPanel.AddObject(std::move(object)));
    raw->SetBounds(1, 2, 3, 4);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(raw->LastBounds(), QRect(1, 2, 3, 4));
    raw->SetBounds(1, 2, 3, 4);
    EXPECT_EQ(changes, 0) << "same bounds";
    raw->SetBounds(2, 2, 3, 4);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(refits, 1);
}

TEST_F(PanelTest, ClearObjectsEmptiesTheSelectionFirst)
{
    auto* a = Add("a", 0, 0);
    mPanel.Select(a);
    bool selectionWasEmptyBeforeFree = false;
    mPanel.OnSelectionChanged = [&] { selectionWasEmptyBeforeFree = mPanel.ObjectCount() == 1; };
    mPanel.ClearObjects();
    EXPECT_TRUE(selectionWasEmptyBeforeFree);
    EXPECT_EQ(mPanel.ObjectCount(), 0);
}

TEST_F(PanelTest, NewTextObjectHasTheDocumentedDefaults)
{
    TGPLabel label;
    EXPECT_EQ(label.Caption(), QStringLiteral("Text"));
    EXPECT_EQ(label.Width(), 142);
    EXPECT_EQ(label.Height(), 33);
    EXPECT_EQ(label.Font().Name(), QStringLiteral("Arial"));
    EXPECT_EQ(label.Font().PointSize(), 10);
    EXPECT_EQ(label.Scale(), 1.0f);
    EXPECT_TRUE(label.Transparent());
    EXPECT_EQ(label.DirectionHighlight(), TGHighlightDirection::hdUpLeft);
    EXPECT_EQ(label.DirectionShadow(), TGShadowDirection::sdDownRight);
    label.SetAngle(45);
    EXPECT_EQ(label.Angle(), 0);
    label.SetAngle(270);
    EXPECT_EQ(label.Angle(), 270);
}

TEST_F(PanelTest, SavingWhileZoomedStores100PercentCoordinates)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("BIN00001.L"));
    auto* object = Add("a", 3, 3, 142, 33);
    mPanel.SetScale(1.1f);
    mPanel.SetScale(1.2f);
    EXPECT_EQ(object->BoundsRect(), QRect(4, 4, 170, 40));
    TGLabelObjectFiler::SaveToFile(mPanel, path);
    EXPECT_EQ(mPanel.Scale(), 1.2f) << "the zoom stays";
    EXPECT_EQ(object->BoundsRect(), QRect(4, 4, 170, 40));
    EXPECT_EQ(CallLog(), QStringList{"a.ClearData"});

    TGDataPanel loaded;
    TGLabelObjectFiler::LoadFromFile(loaded, path);
    ASSERT_EQ(loaded.ObjectCount(), 1);
    EXPECT_EQ(loaded.ObjectAt(0)->BoundsRect(), QRect(3, 3, 142, 33));

    // Read into a zoomed panel (a paste), the stored 100 % geometry shows at that zoom.
    TGDataPanel zoomed;
    zoomed.SetScale(1.2f);
    TGLabelObjectFiler::LoadFromFile(zoomed, path);
    EXPECT_EQ(zoomed.ObjectAt(0)->BoundsRect(), QRect(4, 4, 170, 40));
    EXPECT_EQ(zoomed.ObjectAt(0)->DesignLeft(), 3);
}

TEST_F(PanelTest, FailedSaveKeepsTheOldFileAndTheZoom)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("BIN00001.L"));
    Add("a", 3, 3);
    TGLabelObjectFiler::SaveToFile(mPanel, path);
    QFile before(path);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray saved = before.readAll();
    before.close();

    static_cast<TRecordingObject*>(mPanel.ObjectAt(0))->SetName(QStringLiteral("\u2603"));
    mPanel.SetScale(2.0f);
    EXPECT_THROW(TGLabelObjectFiler::SaveToFile(mPanel, path), TLayoutError);
    EXPECT_EQ(mPanel.Scale(), 2.0f) << "a failed write leaves the zoom alone";
    QFile after(path);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), saved);

    EXPECT_THROW(
        TGLabelObjectFiler::SaveToFile(mPanel, dir.filePath(QStringLiteral("missing/BIN00001.L"))),
        TLayoutError);
}

} // namespace
} // namespace qm::design
