// Report layout files: bands and settings through a file and back, a file put together byte by
// byte, layout recognition of stored pages, a missing file, a damaged file, and the designer's
// save at 100 % without record values.

#include "reports/TReportFile.h"

#include "design/core/TGClassRegistry.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/objects/TGPLabel.h"
#include "design/objects/Trpshapes.h"
#include "design/stream/TLayoutError.h"
#include "design/stream/TLayoutWriter.h"
#include "design/text/TDesignUnits.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace qm::reports;
using qm::design::TDesignUnits;
using qm::design::TGColor;
using qm::design::TGDataPanel;
using qm::design::TGLabelObjectFiler;
using qm::design::TLayoutWriter;

namespace {

// Three bands of one design window.
struct TBands {
    qm::design::TGOwner owner;
    TGDataPanel header{&owner};
    TGDataPanel detail{&owner};
    TGDataPanel footer{&owner};

    std::array<qm::design::TGBasePanel*, 3> All() { return {&header, &detail, &footer}; }
    std::array<const qm::design::TGBasePanel*, 3> Const() { return {&header, &detail, &footer}; }
};

class ReportFileTest : public ::testing::Test {
protected:
    void SetUp() override { TDesignUnits::SetPpiOverride(96); }
    void TearDown() override { TDesignUnits::SetPpiOverride(0); }

    QString Path(const QString& name) const { return QDir(mDir.path()).filePath(name); }
    void Write(const QString& name, const QByteArray& bytes)
    {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray Read(const QString& name) const
    {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Three empty bands and a settings list of the given values.
    static QByteArray WithSettings(const std::function<void(TLayoutWriter&)>& values)
    {
        QByteArray bytes("\x01\x00\x01\x00\x01\x00", 6);
        TLayoutWriter out(bytes);
        out.WriteListStart();
        values(out);
        out.WriteListEnd();
        return bytes;
    }
    static void AddShape(qm::design::TGBasePanel& band, int left, int top)
    {
        auto shape = std::make_unique<qm::design::Trpshapes>();
        shape->SetBounds(left, top, 100, 20);
        band.AddObject(std::move(shape));
    }

    QTemporaryDir mDir;
};

TReportSettings EverythingChanged()
{
    TReportSettings settings = TReportSettings::NewReport();
    settings.SetLayout(TReportSettings::Layouts()[3]);
    const int ppi = TDesignUnits::Ppi(); // margins inside 0.5 .. 2.5 in
    settings.leftMargin = ppi * 6 / 10;
    settings.topMargin = ppi * 7 / 10 + 1;
    settings.rightMargin = ppi * 2;
    settings.bottomMargin = ppi * 5 / 2;
    settings.headerHeight = 41;
    settings.detailHeight = 57;
    settings.footerHeight = 23;
    settings.useHeader = false;
    settings.useDetail = false;
    settings.useMemo = true;
    settings.useFooter = true;
    settings.memoFontName = "Times New Roman";
    settings.memoFontSize = 13;
    settings.memoBold = true;
    settings.memoItalic = true;
    settings.memoAlignment = TMemoAlignment::Right;
    settings.defaultFontName = "Courier New";
    settings.defaultFontSize = 9;
    settings.defaultBold = true;
    settings.defaultItalic = true;
    for (int band = 0; band < 4; ++band)
        settings.frames[std::size_t(band)] = {band != 0,
                                              band != 1,
                                              band != 2,
                                              band != 3,
                                              1 + band % 3,
                                              band * 20,
                                              TGColor::Rgb(band * 60, 10, 255 - band)};
    return settings;
}

} // namespace

TEST_F(ReportFileTest, EverySettingAndEveryBandComeBack)
{
    for (int ppi : {96, 120, 144}) {
        TDesignUnits::SetPpiOverride(ppi);
        const TReportSettings settings = EverythingChanged();
        TBands written;
        AddShape(written.header, 5, 6);
        AddShape(written.footer, 7, 8);
        AddShape(written.footer, 9, 10);
        TReportFile::Save(written.Const(), settings, Path("BIN00001.R"));

        TBands read;
        const TReportSettings loaded =
            TReportFile::Load(read.owner, read.All(), Path("BIN00001.R"));
        EXPECT_EQ(loaded, settings) << ppi;
        EXPECT_EQ(loaded.LayoutName(), "A4 Size, Landscape");
        EXPECT_EQ(read.header.ObjectCount(), 1);
        EXPECT_EQ(read.detail.ObjectCount(), 0);
        ASSERT_EQ(read.footer.ObjectCount(), 2);
        EXPECT_EQ(read.footer.ObjectAt(1)->Left(), 9);
        // Written again and read again, the file no longer changes (only the objects' names
        // were new after the first read).
        TReportFile::Save(read.Const(), loaded, Path("BIN00002.R"));
        TBands again;
        TReportFile::Save(again.Const(),
                          TReportFile::Load(again.owner, again.All(), Path("BIN00002.R")),
                          Path("BIN00003.R"));
        EXPECT_EQ(Read("BIN00003.R"), Read("BIN00002.R"));
    }
}

TEST_F(ReportFileTest, AFileWrittenByteByByteReads)
{
    QByteArray bytes;
    auto add = [&bytes](std::initializer_list<int> values) {
        for (int v : values)
            bytes.append(char(v));
    };
    auto text = [&bytes](const char* s) { bytes.append(s); };
    // Header band: one fixed text "Hello" at 10, 20, 142 x 33.
    add({0x01});
    text("TPF0");
    add({8});
    text("TGPLabel");
    add({10});
    text("Component3");
    add({4});
    text("Left");
    add({0x02, 0x0A, 3});
    text("Top");
    add({0x02, 0x14, 5});
    text("Width");
    add({0x03, 0x8E, 0x00, 6});
    text("Height");
    add({0x02, 0x21, 7});
    text("Caption");
    add({0x06, 5});
    text("Hello");
    add({0x00, 0x00});
    add({0x00});
    // Detail and footer bands: empty.
    add({0x01, 0x00, 0x01, 0x00});
    // The settings.
    add({0x01});
    add({0x03, 0x4E, 0x20}); // page width 8.27 in (8270 = 0x204E)
    add({0x03, 0xA0, 0x2D}); // page height 11.68 in (11680 = 0x2DA0)
    add({0x03, 0xE8, 0x03}); // left margin 1 in
    add({0x03, 0xF4, 0x01}); // top 0.5 in
    add({0x03, 0xEE, 0x02}); // right 0.75 in (750 = 0x02EE)
    add({0x03, 0xF4, 0x01}); // bottom
    add({0x03, 0x58, 0x02}); // header 0.6 in: 57.6 pixels, 58
    add({0x03, 0xE8, 0x03}); // detail 1 in
    add({0x02, 0x00});       // footer 0
    add({0x09, 0x09, 0x08, 0x09});
    add({0x06, 5});
    text("Times");
    add({0x02, 0x0C, 0x09, 0x08, 0x02, 0x02}); // 12 pt, bold, not italic, centred
    add({0x06, 5});
    text("Arial");
    add({0x02, 0x0A, 0x08, 0x08});
    add({0x09, 0x09, 0x09, 0x09, 0x02, 0x02, 0x02, 0x28, 0x03, 0xFF, 0x00}); // red 40 %
    for (int band = 0; band < 2; ++band) {
        add({0x08, 0x08, 0x08, 0x08, 0x02, 0x01, 0x02, 0x00, 0x07, 7});
        text("clWhite");
    }
    add({0x08, 0x09, 0x08, 0x09, 0x02, 0x03, 0x02, 0x64, 0x04, 0x00, 0x80, 0x00, 0x00}); // green
    add({0x00});
    Write("BIN00007.R", bytes);

    TBands read;
    const TReportSettings loaded = TReportFile::Load(read.owner, read.All(), Path("BIN00007.R"));
    ASSERT_EQ(read.header.ObjectCount(), 1);
    const auto* label = dynamic_cast<const qm::design::TGPLabel*>(read.header.ObjectAt(0));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Caption(), "Hello");
    EXPECT_EQ(label->Left(), 10);
    EXPECT_EQ(label->Width(), 142);
    EXPECT_EQ(label->Name(), "Component0");

    TReportSettings expected = TReportSettings::NewReport();
    expected.SetLayout(TReportSettings::Layouts()[2]);
    expected.leftMargin = 96;
    expected.rightMargin = 72;
    expected.headerHeight = 58;
    expected.detailHeight = 96;
    expected.footerHeight = 0;
    expected.useMemo = false;
    expected.useFooter = true;
    expected.memoFontName = "Times";
    expected.memoFontSize = 12;
    expected.memoBold = true;
    expected.memoAlignment = TMemoAlignment::Centre;
    expected.frames[0] = {true, true, true, true, 2, 40, TGColor::Rgb(255, 0, 0)};
    expected.frames[3] = {false, true, false, true, 3, 100, TGColor::Rgb(0, 128, 0)};
    EXPECT_EQ(loaded, expected);
    EXPECT_EQ(loaded.LayoutName(), "A4 Size, Portrait");
}

TEST_F(ReportFileTest, A4IsRecognisedAfterStoringAndFromOlderFiles)
{
    // Stored and loaded at several PPIs.
    for (int ppi : {72, 96, 110, 120, 144}) {
        TDesignUnits::SetPpiOverride(ppi);
        TReportSettings settings = TReportSettings::NewReport();
        settings.SetLayout(TReportSettings::Layouts()[2]);
        TBands bands;
        TReportFile::Save(bands.Const(), settings, Path("BIN00001.R"));
        TBands read;
        EXPECT_EQ(TReportFile::Load(read.owner, read.All(), Path("BIN00001.R")).LayoutName(),
                  "A4 Size, Portrait")
            << ppi;
    }
    TDesignUnits::SetPpiOverride(96);
    // Stored by truncation at 96 PPI: 793 and 1121 pixels became 8260 and 11677 thousandths.
    Write("BIN00002.R", WithSettings([](TLayoutWriter& out) {
              out.WriteInteger(11677);
              out.WriteInteger(8260);
          }));
    TBands read;
    const TReportSettings old = TReportFile::Load(read.owner, read.All(), Path("BIN00002.R"));
    EXPECT_EQ(old.LayoutName(), "A4 Size, Landscape");
    EXPECT_EQ(old.pageWidth, 1121); // held at the layout's own pixels
    EXPECT_EQ(old.pageHeight, 794);
}

TEST_F(ReportFileTest, AMissingFileIsANewReport)
{
    TBands bands;
    TReportFile::Save(bands.Const(), EverythingChanged(), Path("BIN00001.R"));
    TBands read;
    EXPECT_EQ(TReportFile::Load(read.owner, read.All(), Path("BIN00001.R")), EverythingChanged());
    // The next report's file is gone: its page and bands are a new report's, not the last one's.
    AddShape(read.detail, 1, 1);
    EXPECT_EQ(TReportFile::Load(read.owner, read.All(), Path("BIN00009.R")),
              TReportSettings::NewReport());
    EXPECT_EQ(read.detail.ObjectCount(), 1); // appended to: nothing read, nothing removed
}

TEST_F(ReportFileTest, ADamagedFileKeepsWhatWasReadAndThrows)
{
    TBands bands;
    AddShape(bands.header, 1, 2);
    AddShape(bands.header, 3, 4);
    AddShape(bands.detail, 5, 6);
    TReportFile::Save(bands.Const(), TReportSettings::NewReport(), Path("BIN00001.R"));
    const QByteArray whole = Read("BIN00001.R");
    const qsizetype detailStart = TGLabelObjectFiler::PanelBytes(bands.header).size();

    // Cut inside the detail band: the header's objects stay.
    Write("BIN00002.R", whole.left(detailStart + 10));
    TBands read;
    try {
        TReportFile::Load(read.owner, read.All(), Path("BIN00002.R"));
        ADD_FAILURE() << "a cut file loaded";
    } catch (const qm::design::TLayoutError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
        EXPECT_EQ(e.Path(), Path("BIN00002.R"));
    }
    EXPECT_EQ(read.header.ObjectCount(), 2);
    EXPECT_EQ(read.detail.ObjectCount(), 0);

    // Cut inside the settings, and with no settings list at all.
    for (qsizetype cut : {whole.size() - 3, whole.size() - 1, whole.size() - 30}) {
        Write("BIN00003.R", whole.left(cut));
        TBands again;
        EXPECT_THROW(TReportFile::Load(again.owner, again.All(), Path("BIN00003.R")),
                     qm::design::TLayoutError)
            << cut;
        EXPECT_EQ(again.detail.ObjectCount(), 1);
    }
}

TEST_F(ReportFileTest, TheDesignIsSavedAtFullSizeAndTheBandsStayAsShown)
{
    TBands bands;
    AddShape(bands.detail, 10, 20);
    bands.detail.SetScale(2.0f);
    ASSERT_EQ(bands.detail.ObjectAt(0)->Left(), 20);
    TReportFile::SaveDesign(bands.All(), TReportSettings::NewReport(), Path("BIN00001.R"));
    EXPECT_EQ(bands.detail.Scale(), 2.0f);
    EXPECT_EQ(bands.detail.ObjectAt(0)->Left(), 20);
    TBands read;
    TReportFile::Load(read.owner, read.All(), Path("BIN00001.R"));
    ASSERT_EQ(read.detail.ObjectCount(), 1);
    EXPECT_EQ(read.detail.ObjectAt(0)->Left(), 10);
    EXPECT_EQ(read.detail.ObjectAt(0)->Top(), 20);

    // A write that fails leaves the old file and the bands at their zoom.
    ASSERT_TRUE(QDir(mDir.path()).mkdir("BIN00002.R"));
    EXPECT_THROW(
        TReportFile::SaveDesign(bands.All(), TReportSettings::NewReport(), Path("BIN00002.R")),
        qm::design::TLayoutError);
    EXPECT_EQ(bands.detail.Scale(), 2.0f);
    EXPECT_EQ(bands.detail.ObjectAt(0)->Left(), 20);
}
