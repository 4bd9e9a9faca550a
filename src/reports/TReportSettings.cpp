#include "reports/TReportSettings.h"

#include "design/stream/TLayoutError.h"
#include "design/stream/TLayoutReader.h"
#include "design/stream/TLayoutValue.h"
#include "design/stream/TLayoutWriter.h"
#include "design/text/TDesignUnits.h"

#include <algorithm>
#include <cmath>

namespace qm::reports {
namespace {

using design::TDesignUnits;
using design::TLayoutTag;
using design::TLayoutValue;

// Lengths are compared and converted at the PPI in force; a broken PPI falls back to the default.
int PpiInForce()
{
    const int ppi = TDesignUnits::Ppi();
    return ppi > 0 ? ppi : TDesignUnits::kDefaultPpi;
}

// How far a page side may be from a layout's and still be that layout: covers pages stored by
// truncation, one pixel off at any PPI from 50 up, and pages stored at another PPI.
constexpr double kLayoutTolerance = 0.02 + 1e-9;

// The limits the layout dialog and the designer allow, applied to what a file holds.
constexpr int kMinMarginThousandths = 500;
constexpr int kMaxMarginThousandths = 2500;
constexpr int kMinLineWidth = 1;
constexpr int kMaxLineWidth = 3;
constexpr int kMaxShadePercent = 100;
constexpr int kMinFontSize = 1;
constexpr int kMaxFontSize = 1638;
constexpr int kNewBandHeight = 33;
constexpr double kNewMarginInches = 0.5;

// Stream positions (0-based) of the settings; the frames follow from kFirstFrame on, seven values
// per band.
enum Slot {
    kPageWidth,
    kPageHeight,
    kLeftMargin,
    kTopMargin,
    kRightMargin,
    kBottomMargin,
    kHeaderHeight,
    kDetailHeight,
    kFooterHeight,
    kUseHeader,
    kUseDetail,
    kUseMemo,
    kUseFooter,
    kMemoFontName,
    kMemoFontSize,
    kMemoBold,
    kMemoItalic,
    kMemoAlignment,
    kDefaultFontName,
    kDefaultFontSize,
    kDefaultBold,
    kDefaultItalic,
    kFirstFrame,
};
constexpr int kFrameValues = 7;
constexpr int kSlotCount = kFirstFrame + 4 * kFrameValues;
static_assert(kSlotCount == TReportSettings::kSettingCount);
static_assert(kUseHeader == TReportSettings::kLengthCount);

bool IsBoolean(const TLayoutValue& value)
{
    return value.tag == TLayoutTag::vaTrue || value.tag == TLayoutTag::vaFalse;
}

// A colour the frames can hold: a plain RGB value, a named or system colour, or clNone.
bool ReadColor(const TLayoutValue& value, design::TGColor& color)
{
    if (!value.IsInteger() && value.tag != TLayoutTag::vaIdent)
        return false;
    try {
        const design::TGColor read = value.AsColor();
        const auto bits = std::uint32_t(read.value);
        const bool plain = (bits & 0xFF000000u) == 0;
        const bool system =
            read.IsSystem() &&
            (bits & 0x00FFFFFFu) < std::uint32_t(design::TGColor::kSystemColorCount);
        if (!plain && !system && read.value != design::TGColor::kNone)
            return false;
        color = read;
        return true;
    } catch (const design::TLayoutError&) {
        return false; // an identifier that names no colour
    }
}

// A value that is neither the end of the list nor readable throws TLayoutError; everything else
// is taken or skipped by its slot.
class TSettingsReadState {
public:
    explicit TSettingsReadState(TReportSettings& settings) : mSettings(settings) {}

    void Take(int slot, const TLayoutValue& value)
    {
        if (slot < kFirstFrame)
            TakeMain(slot, value);
        else if (slot < kSlotCount)
            TakeFrame(mSettings.frames[std::size_t((slot - kFirstFrame) / kFrameValues)],
                      (slot - kFirstFrame) % kFrameValues, value);
    }

    // Lengths arrive in thousandths; they are converted once the whole list is read.
    std::array<int, kUseHeader> lengths{};
    std::array<bool, kUseHeader> lengthRead{};

private:
    void TakeMain(int slot, const TLayoutValue& value)
    {
        if (slot < kUseHeader) {
            if (value.IsInteger()) {
                lengths[std::size_t(slot)] = value.integer;
                lengthRead[std::size_t(slot)] = true;
            }
            return;
        }
        switch (slot) {
        case kUseHeader:
            Boolean(value, mSettings.useHeader);
            break;
        case kUseDetail:
            Boolean(value, mSettings.useDetail);
            break;
        case kUseMemo:
            Boolean(value, mSettings.useMemo);
            break;
        case kUseFooter:
            Boolean(value, mSettings.useFooter);
            break;
        case kMemoFontName:
            FontName(value, mSettings.memoFontName);
            break;
        case kMemoFontSize:
            Integer(value, mSettings.memoFontSize, kMinFontSize, kMaxFontSize);
            break;
        case kMemoBold:
            Boolean(value, mSettings.memoBold);
            break;
        case kMemoItalic:
            Boolean(value, mSettings.memoItalic);
            break;
        case kMemoAlignment: {
            int alignment = int(mSettings.memoAlignment);
            Integer(value, alignment, int(TMemoAlignment::Left), int(TMemoAlignment::Centre));
            mSettings.memoAlignment = TMemoAlignment(alignment);
            break;
        }
        case kDefaultFontName:
            FontName(value, mSettings.defaultFontName);
            break;
        case kDefaultFontSize:
            Integer(value, mSettings.defaultFontSize, kMinFontSize, kMaxFontSize);
            break;
        case kDefaultBold:
            Boolean(value, mSettings.defaultBold);
            break;
        case kDefaultItalic:
            Boolean(value, mSettings.defaultItalic);
            break;
        default:
            break;
        }
    }

    static void TakeFrame(TBandFrame& frame, int part, const TLayoutValue& value)
    {
        switch (part) {
        case 0:
            Boolean(value, frame.left);
            break;
        case 1:
            Boolean(value, frame.top);
            break;
        case 2:
            Boolean(value, frame.right);
            break;
        case 3:
            Boolean(value, frame.bottom);
            break;
        case 4:
            Integer(value, frame.lineWidth, kMinLineWidth, kMaxLineWidth);
            break;
        case 5:
            Integer(value, frame.shadePercent, 0, kMaxShadePercent);
            break;
        case 6:
            ReadColor(value, frame.shadeColor);
            break;
        default:
            break;
        }
    }

    static void Boolean(const TLayoutValue& value, bool& target)
    {
        if (IsBoolean(value))
            target = value.tag == TLayoutTag::vaTrue;
    }
    static void Integer(const TLayoutValue& value, int& target, int low, int high)
    {
        if (value.IsInteger())
            target = std::clamp(int(value.integer), low, high);
    }
    static void FontName(const TLayoutValue& value, QString& target)
    {
        if (!value.IsString())
            return;
        const QString name = value.AsString().trimmed();
        if (!name.isEmpty())
            target = name;
    }

    TReportSettings& mSettings;
};

int Clamp(int value, int low, int high)
{
    return std::clamp(value, low, std::max(low, high));
}

} // namespace

TReportSettings TReportSettings::NewReport()
{
    const int ppi = PpiInForce();
    TReportSettings settings;
    settings.SetLayout(Layouts()[0]);
    const int margin = TDesignUnits::Round(kNewMarginInches * ppi);
    settings.leftMargin = margin;
    settings.topMargin = margin;
    settings.rightMargin = margin;
    settings.bottomMargin = margin;
    settings.headerHeight = kNewBandHeight;
    settings.detailHeight = kNewBandHeight;
    settings.footerHeight = kNewBandHeight;
    return settings;
}

const std::array<const char*, TReportSettings::kSettingCount>& TReportSettings::SettingNames()
{
    static const std::array<const char*, kSettingCount> names = {
        "page width",           "page height",
        "left margin",          "top margin",
        "right margin",         "bottom margin",
        "header height",        "detail height",
        "footer height",        "use header",
        "use detail",           "use memo",
        "use footer",           "memo font name",
        "memo font size",       "memo bold",
        "memo italic",          "memo alignment",
        "default font name",    "default font size",
        "default bold",         "default italic",
        "header border left",   "header border top",
        "header border right",  "header border bottom",
        "header line width",    "header shade percent",
        "header shade colour",  "detail border left",
        "detail border top",    "detail border right",
        "detail border bottom", "detail line width",
        "detail shade percent", "detail shade colour",
        "memo border left",     "memo border top",
        "memo border right",    "memo border bottom",
        "memo line width",      "memo shade percent",
        "memo shade colour",    "footer border left",
        "footer border top",    "footer border right",
        "footer border bottom", "footer line width",
        "footer shade percent", "footer shade colour",
    };
    return names;
}

const std::array<TReportLayout, 4>& TReportSettings::Layouts()
{
    static const std::array<TReportLayout, 4> layouts = {{
        {"Letter Size, Portrait", TReportPaper::Letter, false, 8.5, 11.0},
        {"Letter Size, Landscape", TReportPaper::Letter, true, 11.0, 8.5},
        {"A4 Size, Portrait", TReportPaper::A4, false, 8.27, 11.68},
        {"A4 Size, Landscape", TReportPaper::A4, true, 11.68, 8.27},
    }};
    return layouts;
}

const TReportLayout* TReportSettings::Layout() const
{
    const double ppi = PpiInForce();
    const double width = pageWidth / ppi;
    const double height = pageHeight / ppi;
    for (const TReportLayout& layout : Layouts())
        if (std::abs(width - layout.widthInches) <= kLayoutTolerance &&
            std::abs(height - layout.heightInches) <= kLayoutTolerance)
            return &layout;
    return nullptr;
}

QString TReportSettings::LayoutName() const
{
    const TReportLayout* layout = Layout();
    return layout ? QString::fromLatin1(layout->name) : QString();
}

void TReportSettings::SetLayout(const TReportLayout& layout)
{
    const int ppi = PpiInForce();
    pageWidth = TDesignUnits::Round(layout.widthInches * ppi);
    pageHeight = TDesignUnits::Round(layout.heightInches * ppi);
}

bool TReportSettings::Uses(TReportBand band) const
{
    switch (band) {
    case TReportBand::Header:
        return useHeader;
    case TReportBand::Detail:
        return useDetail;
    case TReportBand::Memo:
        return useMemo;
    case TReportBand::Footer:
        return useFooter;
    }
    return false;
}

int TReportSettings::Height(TReportBand band) const
{
    if (!Uses(band))
        return 0;
    switch (band) {
    case TReportBand::Header:
        return headerHeight;
    case TReportBand::Detail:
        return detailHeight;
    case TReportBand::Footer:
        return footerHeight;
    case TReportBand::Memo:
        break;
    }
    return 0;
}

int TReportSettings::ToThousandths(int pixels, int ppi)
{
    if (ppi <= 0)
        ppi = TDesignUnits::kDefaultPpi;
    // Halves are exact in binary, so the division never turns one into a near miss.
    return TDesignUnits::Round(double(pixels) * 1000.0 / ppi);
}

int TReportSettings::FromThousandths(int thousandths, int ppi)
{
    if (ppi <= 0)
        ppi = TDesignUnits::kDefaultPpi;
    return TDesignUnits::Round(double(thousandths) * ppi / 1000.0);
}

QColor TReportSettings::ShadeColor(design::TGColor color, int percent)
{
    const int p = std::clamp(percent, 0, 100);
    const QColor base = color.ToQColor();
    auto shade = [p](int c) { return c + (100 - p) * (255 - c) / 100; };
    return QColor(shade(base.red()), shade(base.green()), shade(base.blue()));
}

void TReportSettings::Write(design::TLayoutWriter& out) const
{
    const int ppi = PpiInForce();
    for (int length : {pageWidth, pageHeight, leftMargin, topMargin, rightMargin, bottomMargin,
                       headerHeight, detailHeight, footerHeight})
        out.WriteInteger(ToThousandths(length, ppi));
    for (bool use : {useHeader, useDetail, useMemo, useFooter})
        out.WriteBoolean(use);
    out.WriteString(memoFontName);
    out.WriteInteger(memoFontSize);
    out.WriteBoolean(memoBold);
    out.WriteBoolean(memoItalic);
    out.WriteInteger(int(memoAlignment));
    out.WriteString(defaultFontName);
    out.WriteInteger(defaultFontSize);
    out.WriteBoolean(defaultBold);
    out.WriteBoolean(defaultItalic);
    for (const TBandFrame& frame : frames) {
        for (bool side : {frame.left, frame.top, frame.right, frame.bottom})
            out.WriteBoolean(side);
        out.WriteInteger(frame.lineWidth);
        out.WriteInteger(frame.shadePercent);
        out.WriteInteger(frame.shadeColor.value); // always the number, never a colour name
    }
}

TReportSettings TReportSettings::Read(design::TLayoutReader& in)
{
    TReportSettings settings = NewReport();
    const TReportSettings defaults = settings;
    TSettingsReadState state(settings);
    for (int slot = 0; in.PeekByte() != 0; ++slot)
        state.Take(slot, in.ReadValue());

    const int ppi = PpiInForce();
    auto length = [&](int slot, int fallback) {
        return state.lengthRead[std::size_t(slot)]
                   ? FromThousandths(state.lengths[std::size_t(slot)], ppi)
                   : fallback;
    };

    // The page: one of the four layouts, recognised by its inches and then held at exactly that
    // layout's pixels; anything else is Letter, upright unless it is wider than high.
    settings.pageWidth = length(kPageWidth, defaults.pageWidth);
    settings.pageHeight = length(kPageHeight, defaults.pageHeight);
    if (const TReportLayout* layout = settings.Layout())
        settings.SetLayout(*layout);
    else
        settings.SetLayout(Layouts()[settings.pageWidth > settings.pageHeight ? 1 : 0]);

    auto margin = [&](int slot, int fallback) {
        if (!state.lengthRead[std::size_t(slot)])
            return fallback;
        return FromThousandths(std::clamp(state.lengths[std::size_t(slot)], kMinMarginThousandths,
                                          kMaxMarginThousandths),
                               ppi);
    };
    settings.leftMargin = margin(kLeftMargin, defaults.leftMargin);
    settings.topMargin = margin(kTopMargin, defaults.topMargin);
    settings.rightMargin = margin(kRightMargin, defaults.rightMargin);
    settings.bottomMargin = margin(kBottomMargin, defaults.bottomMargin);

    // Band heights up to the page; the thousandths are limited first so that no value converts
    // beyond what an int holds.
    const int pageThousandths = ToThousandths(settings.pageHeight, ppi);
    auto band = [&](int slot, int fallback) {
        if (!state.lengthRead[std::size_t(slot)])
            return fallback;
        const int thousandths = std::clamp(state.lengths[std::size_t(slot)], 0, pageThousandths);
        return Clamp(FromThousandths(thousandths, ppi), 0, settings.pageHeight);
    };
    settings.headerHeight = band(kHeaderHeight, defaults.headerHeight);
    settings.detailHeight = band(kDetailHeight, defaults.detailHeight);
    settings.footerHeight = band(kFooterHeight, defaults.footerHeight);
    return settings;
}

} // namespace qm::reports
