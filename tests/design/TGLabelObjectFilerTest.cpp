#include "design/core/TGLabelObjectFiler.h"

#include "TDesignTestKinds.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGDataPanel.h"
#include "design/objects/TGDMultiLineAddressLabel.h"
#include "design/objects/TGPDLabel.h"
#include "design/objects/TGPLabel.h"
#include "design/stream/TLayoutDump.h"
#include "design/stream/TLayoutError.h"
#include "design/stream/TLayoutReader.h"
#include "design/stream/TLayoutWriter.h"
#include "design/text/TDesignUnits.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qm::design {
namespace {

using test::TPenBrushObject;
using test::TRecordingObject;

QByteArray Hex(const char* hex)
{
    return QByteArray::fromHex(hex);
}

class FilerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TDesignUnits::SetPpiOverride(96);
        TGClassRegistry::Instance().Clear();
        TGClassRegistry::Instance().RegisterHostKinds(TGHostKind::Label);
        test::RegisterTestKinds();
        ASSERT_TRUE(mDir.isValid());
    }
    void TearDown() override { TDesignUnits::SetPpiOverride(0); }

    QString Path(const QString& name) const { return mDir.filePath(name); }

    template <class T> T* Add(TGBasePanel& panel, const QString& name)
    {
        auto object = std::make_unique<T>();
        object->SetName(name);
        return static_cast<T*>(panel.AddObject(std::move(object)));
    }

    // Reads bytes into the panel and returns the message of the failure, if any.
    QString ReadError(const QByteArray& bytes, TGBasePanel& panel)
    {
        try {
            TGLabelObjectFiler::ReadPanelBytes(bytes, panel.Owner(), panel);
        } catch (const TLayoutError& e) {
            return e.Message();
        }
        return {};
    }

    QTemporaryDir mDir;
};

// The fixed text record of the format page, byte for byte.
QByteArray ExampleRecord()
{
    return QByteArray("TPF0") + Hex("08") + "TGPLabel" + Hex("0A") + "Component3" + Hex("04") +
           "Left" + Hex("020A") + Hex("03") + "Top" + Hex("0214") + Hex("05") + "Width" +
           Hex("038E00") + Hex("06") + "Height" + Hex("0221") + Hex("07") + "Caption" +
           Hex("0605") + "Hello" + Hex("0A") + "Font.Color" + Hex("0707") + "clBlack" + Hex("0B") +
           "Font.Height" + Hex("02F3") + Hex("09") + "Font.Name" + Hex("0605") + "Arial" +
           Hex("0A") + "Font.Style" + Hex("0B00") + Hex("0B") + "Transparent" + Hex("09") +
           Hex("09") + "BackColor" + Hex("0707") + "clWhite" + Hex("0000");
}

TEST_F(FilerTest, FixedTextRecordMatchesTheDocumentedBytes)
{
    TGPLabel label;
    label.SetName(QStringLiteral("Component3"));
    label.SetBounds(10, 20, 142, 33);
    label.SetCaption(QStringLiteral("Hello"));
    QByteArray bytes;
    TLayoutWriter out(bytes);
    TGLabelObjectFiler::WriteObject(out, label);
    EXPECT_EQ(bytes.toHex(' '), ExampleRecord().toHex(' '));
}

TEST_F(FilerTest, EmptyPanelIsTwoBytesAndReadsBackEmpty)
{
    TGDataPanel panel;
    TGLabelObjectFiler::WritePanel(panel, Path("BIN00001.L"));
    QFile file(Path("BIN00001.L"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), Hex("0100"));
    TGLabelObjectFiler::ReadPanel(panel.Owner(), panel, Path("BIN00001.L"));
    EXPECT_EQ(panel.ObjectCount(), 0);
}

TEST_F(FilerTest, MissingFileReadsNothingAndReportsNothing)
{
    TGDataPanel panel;
    EXPECT_NO_THROW(TGLabelObjectFiler::ReadPanel(panel.Owner(), panel, Path("BIN00009.L")));
    EXPECT_NO_THROW(TGLabelObjectFiler::LoadFromFile(panel, Path("BIN00009.L")));
    EXPECT_EQ(panel.ObjectCount(), 0);
}

TEST_F(FilerTest, WritingAndReadingKeepsKindsPropertiesAndZOrder)
{
    TGDataPanel panel;
    auto* text = Add<TGPLabel>(panel, "Special1");
    text->SetBounds(1, 2, 300, 40);
    text->SetCaption(QStringLiteral("It's \u00E9"));
    text->SetAngle(90);
    text->SetAlignment(TGAlignment::taCenter);
    text->SetDepthShadow(3);
    text->SetDirectionShadow(TGShadowDirection::sdLeft);
    text->SetColorShadow(TGColor{0x010203});
    text->SetTransparent(false);
    text->SetBackColor(TGColor::System(15));
    TGFont font;
    font.SetName(QStringLiteral("Times New Roman"));
    font.SetStyle(fsBold | fsStrikeOut);
    font.SetColor(TGColor{0x0000FF});
    text->SetFont(font);
    auto* block = Add<TGDMultiLineAddressLabel>(panel, "Special2");
    block->SetBounds(-5, 70000, 190, 33);
    block->SetWordWrap(true);
    auto* shape = Add<TPenBrushObject>(panel, "Special3");
    shape->pen.width = 3;
    shape->brush.color = TGColor{0x00FF00};

    const QByteArray first = TGLabelObjectFiler::PanelBytes(panel);
    TGDataPanel copy;
    TGLabelObjectFiler::ReadPanelBytes(first, copy.Owner(), copy);
    ASSERT_EQ(copy.ObjectCount(), 3);
    EXPECT_EQ(copy.ObjectAt(0)->ClassName(), QByteArray("TGPLabel"));
    EXPECT_EQ(copy.ObjectAt(1)->ClassName(), QByteArray("TGDMultiLineAddressLabel"));
    const auto* readText = static_cast<TGPLabel*>(copy.ObjectAt(0));
    EXPECT_EQ(readText->Caption(), text->Caption());
    EXPECT_EQ(readText->Angle(), 90);
    EXPECT_EQ(readText->Font(), font);
    EXPECT_EQ(readText->BackColor(), TGColor::System(15));
    EXPECT_EQ(copy.ObjectAt(1)->Top(), 70000);
    EXPECT_EQ(copy.ObjectAt(1)->Left(), -5);
    EXPECT_EQ(static_cast<TPenBrushObject*>(copy.ObjectAt(2))->pen.width, 3);

    // The copy writes the same bytes except for the names it was given.
    copy.ObjectAt(0)->SetName(QStringLiteral("Special1"));
    copy.ObjectAt(1)->SetName(QStringLiteral("Special2"));
    copy.ObjectAt(2)->SetName(QStringLiteral("Special3"));
    EXPECT_EQ(TGLabelObjectFiler::PanelBytes(copy), first);
}

TEST_F(FilerTest, ReadObjectsAreNamedComponentNAcrossReads)
{
    TGDataPanel panel;
    Add<TGPLabel>(panel, "Special1");
    Add<TGPLabel>(panel, "Component1"); // a name already in use is skipped
    Add<TGPLabel>(panel, "Special2");
    const QByteArray bytes = TGLabelObjectFiler::PanelBytes(panel);
    panel.ClearObjects();
    Add<TGPLabel>(panel, "Component1");

    TGLabelObjectFiler::ReadPanelBytes(bytes, panel.Owner(), panel);
    TGLabelObjectFiler::ReadPanelBytes(bytes, panel.Owner(), panel);
    QStringList names;
    for (const auto& object : panel.Objects())
        names << object->Name();
    EXPECT_EQ(names, (QStringList{"Component1", "Component0", "Component2", "Component3",
                                  "Component4", "Component5", "Component6"}));
}

TEST_F(FilerTest, NamesAreUniqueAcrossTheWindowsPanels)
{
    TGOwner window;
    window.AddComponentName(QStringLiteral("Component0"));
    TGDataPanel header(&window), detail(&window);
    Add<TGPLabel>(header, "Special1");
    const QByteArray bytes = TGLabelObjectFiler::PanelBytes(header);
    TGLabelObjectFiler::ReadPanelBytes(bytes, window, header);
    TGLabelObjectFiler::ReadPanelBytes(bytes, window, detail);
    EXPECT_EQ(header.ObjectAt(1)->Name(), QStringLiteral("Component1"));
    EXPECT_EQ(detail.ObjectAt(0)->Name(), QStringLiteral("Component2"));
}

TEST_F(FilerTest, WhenAllComponentNamesAreTakenTheStoredNameStays)
{
    TGOwner window;
    for (int n = 0; n <= 1000; ++n)
        window.AddComponentName(QStringLiteral("Component%1").arg(n));
    TGDataPanel panel(&window);
    Add<TGPLabel>(panel, "Stored7");
    const QByteArray bytes = TGLabelObjectFiler::PanelBytes(panel);
    TGLabelObjectFiler::ReadPanelBytes(bytes, window, panel);
    EXPECT_EQ(panel.ObjectAt(1)->Name(), QStringLiteral("Stored7"));
}

TEST_F(FilerTest, EachPasteIsShiftedFromTheStoredPositions)
{
    TGDataPanel panel;
    auto* text = Add<TGPLabel>(panel, "Special1");
    text->SetBounds(10, 20, 100, 30);
    TGLabelObjectFiler::WriteSelection({text}, Path("Clipbrd.tmp"));
    int changes = 0;
    panel.OnLabelChanged = [&] { ++changes; };
    TGLabelObjectFiler::ReadPasted(panel.Owner(), panel, Path("Clipbrd.tmp"));
    TGLabelObjectFiler::ReadPasted(panel.Owner(), panel, Path("Clipbrd.tmp"));
    ASSERT_EQ(panel.ObjectCount(), 3);
    for (int i : {1, 2}) {
        EXPECT_EQ(panel.ObjectAt(i)->Left(), 25);
        EXPECT_EQ(panel.ObjectAt(i)->Top(), 35);
        EXPECT_EQ(panel.ObjectAt(i)->Width(), 100);
    }
    EXPECT_EQ(changes, 2);
}

// The clipboard holds the 100 % geometry; pasted at the zoom it was copied at, the copy shows
// the same size, 15 pixels right and down as shown.
TEST_F(FilerTest, PastedObjectsShowAtThePanelsScale)
{
    TGDataPanel panel;
    panel.SetSize(400, 200);
    panel.SetScale(1.5f);
    auto* text = Add<TGPLabel>(panel, "Special1");
    text->SetScale(1.5f);
    text->SetBounds(30, 30, 150, 45); // drawn at 150 %
    EXPECT_EQ(
        QRect(text->DesignLeft(), text->DesignTop(), text->DesignWidth(), text->DesignHeight()),
        QRect(20, 20, 100, 30));
    TGLabelObjectFiler::WriteOne(*text, Path("Clipbrd.tmp"));
    TGLabelObjectFiler::ReadPasted(panel.Owner(), panel, Path("Clipbrd.tmp"));
    const TGGraphicControl* pasted = panel.ObjectAt(1);
    EXPECT_EQ(pasted->BoundsRect(), QRect(45, 45, 150, 45));
    EXPECT_EQ(pasted->Scale(), 1.5f);
    panel.SetScale(1.0f);
    EXPECT_EQ(pasted->BoundsRect(), QRect(30, 30, 100, 30));
}

TEST_F(FilerTest, NothingIsWrittenForAnEmptySelection)
{
    TGLabelObjectFiler::WriteSelection({}, Path("Clipbrd.tmp"));
    EXPECT_FALSE(QFile::exists(Path("Clipbrd.tmp")));
}

TEST_F(FilerTest, DuplicateAddsARenamedCopyOnTop)
{
    TGDataPanel panel;
    auto* text = Add<TGPLabel>(panel, "Special1");
    text->SetCaption(QStringLiteral("Copy me"));
    TGGraphicControl* copy = TGLabelObjectFiler::Duplicate(*text, panel.Owner(), panel);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(panel.ObjectAt(1), copy);
    EXPECT_EQ(copy->Name(), QStringLiteral("Component0"));
    EXPECT_EQ(static_cast<TGPLabel*>(copy)->Caption(), QStringLiteral("Copy me"));
    EXPECT_EQ(copy->BoundsRect(), text->BoundsRect());
}

TEST_F(FilerTest, ReadObjectsRunAfterCreateOnceAndKeepTheirStoredBoundsAsLastBounds)
{
    TGDataPanel panel;
    Add<TRecordingObject>(panel, "Special1")->SetBounds(5, 6, 7, 8);
    const QByteArray bytes = TGLabelObjectFiler::PanelBytes(panel);
    int changes = 0;
    panel.OnLabelChanged = [&] { ++changes; };
    TGLabelObjectFiler::ReadPanelBytes(bytes, panel.Owner(), panel);
    auto* read = static_cast<TRecordingObject*>(panel.ObjectAt(1));
    EXPECT_EQ(read->afterCreateCalls, 1);
    EXPECT_EQ(changes, 0) << "reading raises no change notification";
}

TEST_F(FilerTest, EmptiedCaptionIsNotStoredAndReadsBackAsText)
{
    TGDataPanel panel;
    Add<TGPLabel>(panel, "Special1")->SetCaption(QString());
    const QByteArray bytes = TGLabelObjectFiler::PanelBytes(panel);
    EXPECT_FALSE(bytes.contains("Caption"));
    TGLabelObjectFiler::ReadPanelBytes(bytes, panel.Owner(), panel);
    EXPECT_EQ(static_cast<TGPLabel*>(panel.ObjectAt(1))->Caption(), QStringLiteral("Text"));
}

TEST_F(FilerTest, UnregisteredClassStopsTheReadAndKeepsEarlierObjects)
{
    TGDataPanel panel;
    Add<TGPLabel>(panel, "A");
    Add<TGPLabel>(panel, "B");
    QByteArray bytes = TGLabelObjectFiler::PanelBytes(panel);
    panel.ClearObjects();
    const int second = bytes.indexOf("TPF0", 5);
    bytes.replace(second + 5, 8, "TGXLabel");
    EXPECT_EQ(ReadError(bytes, panel), QStringLiteral("Class TGXLabel not found"));
    EXPECT_EQ(panel.ObjectCount(), 1);

    // A kind no host registered so far is not found either, though the program has it.
    TGClassRegistry::Instance().Clear();
    TGClassRegistry::Instance().RegisterHostKinds(TGHostKind::Envelope);
    TGDataPanel other;
    auto counter = TGClassRegistry::HostKinds(TGHostKind::Label);
    EXPECT_TRUE(counter.contains("TGCounterLabel"));
    EXPECT_FALSE(TGClassRegistry::Instance().IsRegistered("TGCounterLabel"));
    EXPECT_TRUE(TGClassRegistry::Instance().IsRegistered("TGPLabel"));
}

TEST_F(FilerTest, WrongSignatureOrListStartIsInvalidStreamFormat)
{
    TGDataPanel panel;
    Add<TGPLabel>(panel, "A");
    Add<TGPLabel>(panel, "B");
    QByteArray bytes = TGLabelObjectFiler::PanelBytes(panel);
    panel.ClearObjects();
    bytes[bytes.indexOf("TPF0", 5) + 3] = 'X';
    EXPECT_EQ(ReadError(bytes, panel), QStringLiteral("Invalid stream format"));
    EXPECT_EQ(panel.ObjectCount(), 1);
    EXPECT_EQ(ReadError(Hex("02"), panel), QStringLiteral("Invalid stream format"));
}

TEST_F(FilerTest, PropertyFaultsNameObjectPropertyAndCause)
{
    const auto record = [](const QByteArray& entry) {
        return Hex("01") + "TPF0" + Hex("08") + "TGPLabel" + Hex("04") + "Old1" + entry +
               Hex("0000") + Hex("00");
    };
    TGDataPanel panel;
    EXPECT_EQ(ReadError(record(Hex("05") + "Color" + Hex("0201")), panel),
              QStringLiteral("Error reading Component0.Color: Property does not exist"));
    EXPECT_EQ(ReadError(record(Hex("04") + "Left" + Hex("0603616263")), panel),
              QStringLiteral("Error reading Component0.Left: Invalid property value"));
    EXPECT_EQ(ReadError(record(Hex("09") + "Alignment" + Hex("0705") + "taTop"), panel),
              QStringLiteral("Error reading Component0.Alignment: Invalid property value"));
    EXPECT_EQ(ReadError(record(Hex("0A") + "Font.Color" + Hex("0708") + "clOrange"), panel),
              QStringLiteral("Error reading Component0.Font.Color: Invalid property value"));
    EXPECT_EQ(
        ReadError(record(Hex("0A") + "Font.Style" + Hex("0B06") + "fsWide" + Hex("00")), panel),
        QStringLiteral("Error reading Component0.Font.Style: Invalid property value"));
    EXPECT_EQ(ReadError(record(Hex("07") + "Caption" + Hex("0C00000010") + "abc"), panel),
              QStringLiteral("Error reading Component0.Caption: Stream read error"));
    EXPECT_EQ(ReadError(Hex("01") + "TPF0" + Hex("08") + "TGPLabel" + Hex("04") + "Old1" +
                            Hex("07") + "Capt",
                        panel),
              QStringLiteral("Error reading Component0.: Stream read error"));
    EXPECT_EQ(panel.ObjectCount(), 0) << "a half-read object is not kept";
}

TEST_F(FilerTest, UnacceptedAngleIsIgnored)
{
    TGDataPanel panel;
    const QByteArray bytes = Hex("01") + "TPF0" + Hex("08") + "TGPLabel" + Hex("01") + "A" +
                             Hex("05") + "Angle" + Hex("025A") + Hex("05") + "Angle" + Hex("022D") +
                             Hex("0000") + Hex("00");
    EXPECT_EQ(ReadError(bytes, panel), QString());
    EXPECT_EQ(static_cast<TGPLabel*>(panel.ObjectAt(0))->Angle(), 90);
}

TEST_F(FilerTest, EveryTruncationFailsCleanlyAndKeepsWholeObjectsOnly)
{
    TGDataPanel source;
    for (int i = 0; i < 3; ++i)
        Add<TGPLabel>(source, QStringLiteral("S%1").arg(i))
            ->SetCaption(QStringLiteral("Line %1").arg(i));
    const QByteArray bytes = TGLabelObjectFiler::PanelBytes(source);
    int previous = 0;
    for (int length = 0; length < bytes.size(); ++length) {
        TGDataPanel panel;
        const QString error = ReadError(bytes.left(length), panel);
        EXPECT_FALSE(error.isEmpty()) << length;
        EXPECT_GE(panel.ObjectCount(), previous) << length;
        EXPECT_LE(panel.ObjectCount(), 3);
        previous = panel.ObjectCount();
    }
    TGDataPanel whole;
    EXPECT_EQ(ReadError(bytes, whole), QString());
    EXPECT_EQ(whole.ObjectCount(), 3);
}

TEST_F(FilerTest, ReportStreamsCarryThreeBandsAndTheSettingsList)
{
    TGOwner window;
    TGDataPanel header(&window), detail(&window), footer(&window);
    Add<TGPLabel>(header, "H");
    Add<TGPLabel>(footer, "F1");
    Add<TGPLabel>(footer, "F2");
    TGLabelObjectFiler::WriteBands({&header, &detail, &footer}, Path("BIN00001.R"),
                                   [](TLayoutWriter& out) {
                                       out.WriteInteger(300);
                                       out.WriteBoolean(true);
                                       out.WriteString(QStringLiteral("Title"));
                                   });
    TGOwner other;
    TGDataPanel h(&other), d(&other), f(&other);
    std::vector<QString> settings;
    TGLabelObjectFiler::ReadBands(other, {&h, &d, &f}, Path("BIN00001.R"), [&](TLayoutReader& in) {
        settings.push_back(QString::number(in.ReadValue().AsInteger()));
        settings.push_back(in.ReadValue().AsBoolean() ? "true" : "false");
        // leaves the third value for the filer to skip
    });
    EXPECT_EQ(h.ObjectCount(), 1);
    EXPECT_EQ(d.ObjectCount(), 0);
    EXPECT_EQ(f.ObjectCount(), 2);
    EXPECT_EQ(f.ObjectAt(1)->Name(), QStringLiteral("Component2"));
    EXPECT_EQ(settings, (std::vector<QString>{"300", "true"}));

    QFile file(Path("BIN00001.R"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.endsWith(Hex("0000"
                                   "00"
                                   "01"
                                   "032C01"
                                   "09"
                                   "0605") +
                               "Title" + Hex("00")))
        << bytes.toHex(' ').constData();
    EXPECT_TRUE(bytes.startsWith(Hex("01") + "TPF0"));
}

TEST_F(FilerTest, DumpShowsEachObjectAsABlock)
{
    const TLayoutDumpResult dump = TLayoutDump::Dump(Hex("01") + ExampleRecord() + Hex("00"));
    EXPECT_TRUE(dump.error.isEmpty());
    EXPECT_EQ(dump.lines, (QStringList{"object TGPLabel Component3", "  Left = 10", "  Top = 20",
                                       "  Width = 142", "  Height = 33", "  Caption = 'Hello'",
                                       "  Font.Color = clBlack", "  Font.Height = -13",
                                       "  Font.Name = 'Arial'", "  Font.Style = []",
                                       "  Transparent = True", "  BackColor = clWhite", "end"}));
    const TLayoutDumpResult cut = TLayoutDump::Dump(Hex("01") + ExampleRecord().left(30));
    EXPECT_EQ(cut.error, QStringLiteral("Stream read error"));
    EXPECT_EQ(cut.lines.first(), QStringLiteral("object TGPLabel Component3"));
}

} // namespace
} // namespace qm::design
