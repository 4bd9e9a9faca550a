#pragma once

// The settings of a user-designed report: page, margins, band heights and use, memo font and
// alignment, the default font, and a frame (borders, line width, shade) per band. One value is
// held by the window that loaded the report and handed to whoever prints it.
//
// Lengths are held in design pixels at the PPI in force (TDesignUnits::Ppi()); the layout file
// stores them as integers in thousandths of an inch after the bands
// (docs/formats/report-layout.md). Both conversions round to nearest, so a value survives any
// number of saves and loads.

#include "design/stream/TGColor.h"

#include <QColor>
#include <QString>

#include <array>

namespace qm::design {
class TLayoutReader;
class TLayoutWriter;
} // namespace qm::design

namespace qm::reports {

enum class TReportBand { Header = 0, Detail = 1, Memo = 2, Footer = 3 };
enum class TMemoAlignment { Left = 0, Right = 1, Centre = 2 };
enum class TReportPaper { Letter, A4 };

struct TBandFrame {
    bool left = false;
    bool top = false;
    bool right = false;
    bool bottom = false;
    int lineWidth = 1;    // 1..3
    int shadePercent = 0; // 0..100
    design::TGColor shadeColor = design::TGColor::Rgb(255, 255, 255);

    bool operator==(const TBandFrame&) const = default;
};

struct TReportLayout {
    const char* name; // "Letter Size, Portrait", ...
    TReportPaper paper;
    bool landscape;
    double widthInches;
    double heightInches;
};

struct TReportSettings {
    // Lengths in design pixels.
    int pageWidth = 0;
    int pageHeight = 0;
    int leftMargin = 0;
    int topMargin = 0;
    int rightMargin = 0;
    int bottomMargin = 0;
    int headerHeight = 33;
    int detailHeight = 33;
    int footerHeight = 33;
    bool useHeader = true;
    bool useDetail = true;
    bool useMemo = false;
    bool useFooter = false;
    QString memoFontName = QStringLiteral("Arial");
    int memoFontSize = 10;
    bool memoBold = false;
    bool memoItalic = false;
    TMemoAlignment memoAlignment = TMemoAlignment::Left;
    QString defaultFontName = QStringLiteral("Arial");
    int defaultFontSize = 10;
    bool defaultBold = false;
    bool defaultItalic = false;
    std::array<TBandFrame, 4> frames{}; // by TReportBand

    bool operator==(const TReportSettings&) const = default;

    // A new report at the PPI in force: Letter portrait, margins 0.5 in, bands 33 pixels, header
    // and detail in use, Arial 10, no frames.
    static TReportSettings NewReport();
    static constexpr const char* kNewDescription = "<new report>";

    // The four layouts in menu order.
    static const std::array<TReportLayout, 4>& Layouts();
    // The layout whose inches the page matches within 0.02 in at the PPI in force; nothing when
    // none does.
    const TReportLayout* Layout() const;
    // Its name, or empty.
    QString LayoutName() const;
    // Sets page width and height from a layout (inches x PPI, rounded).
    void SetLayout(const TReportLayout& layout);

    TBandFrame& Frame(TReportBand band) { return frames[std::size_t(band)]; }
    const TBandFrame& Frame(TReportBand band) const { return frames[std::size_t(band)]; }
    bool Uses(TReportBand band) const;
    // Height in pixels; 0 for a band not in use (the memo band has no stored height: 0 here).
    int Height(TReportBand band) const;

    // Pixels to thousandths of an inch and back at a PPI, rounded to nearest.
    static int ToThousandths(int pixels, int ppi);
    static int FromThousandths(int thousandths, int ppi);

    // The shade colour rule: each component c becomes c + (100 - p) * (255 - c) / 100 (integer
    // division), p limited to 0..100; 0 % gives white, 100 % the colour itself.
    static QColor ShadeColor(design::TGColor color, int percent);

    // The settings list: kSettingCount values, the first kLengthCount of them lengths; their
    // names in stream order ("page width", ..., "footer shade colour").
    static constexpr int kSettingCount = 50;
    static constexpr int kLengthCount = 9;
    static const std::array<const char*, kSettingCount>& SettingNames();

    // The 50 values in stream order (lengths in thousandths at the PPI in force).
    void Write(design::TLayoutWriter& out) const;
    // Reads what the list holds, in stream order, until its end: missing values keep the
    // new-report defaults, values of the wrong type are skipped, out-of-range values are clamped
    // (margins 0.5..2.5 in, line width 1..3, shade 0..100, font size 1..1638, band heights 0 to
    // the page height); a page matching no layout becomes Letter in its orientation.
    static TReportSettings Read(design::TLayoutReader& in);
};

} // namespace qm::reports
