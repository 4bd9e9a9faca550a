#pragma once

// What the label designer decides without its widgets: the layout name it shows, the default
// font button's caption, the zoom steps, the face size, the rectangle a drawn object starts in,
// the POSTNET and Intelligent Mail width rules, the mouse read-out and what "Change Layout" copies
// into the working record.

#include "labels/TLabelGeometry.h"

#include <QRect>
#include <QSize>
#include <QString>

namespace qm::labels {

class TLabelDesignRules {
public:
    // A POSTNET barcode needs a label at least this wide.
    static constexpr double kPostNetMinWidth = 2.85;
    // An Intelligent Mail barcode needs a label at least this wide.
    static constexpr double kImbMinWidth = 3.0;
    static constexpr float kZoomStep = 0.1f;
    static constexpr float kMinZoom = 0.5f;
    static constexpr float kMaxZoom = 1.5f;
    // A drawn rectangle narrower or lower than these is made kDrawnWidth wide or kDrawnHeight
    // high, keeping its top-left corner.
    static constexpr int kMinDrawnWidth = 25;
    static constexpr int kDrawnWidth = 50;
    static constexpr int kMinDrawnHeight = 15;
    static constexpr int kDrawnHeight = 15;
    static constexpr int kDescriptionTyped = 50; // at most this many characters are typed

    // The template's description, or "User Defined Label Layout" for maker "USER".
    static QString LayoutName(const TLabelGeometry& geometry);

    // "Default Font: " + face + ", " + size + " pt " + ", bold" + ", italic" (the last two only
    // when set), as the button shows it.
    static QString DefaultFontCaption(const QString& face, int points, bool bold, bool italic);

    // One zoom press on a 32-bit float: 0.1 up or down while the scale is inside 50 % .. 150 %;
    // the ends are held as the float sums reach them (just below 0.5, just above 1.5), so from
    // 100 % five presses reach either end and a sixth returns the scale unchanged.
    static float ZoomIn(float scale);
    static float ZoomOut(float scale);
    // The read-out: round(scale x 100) followed by "%".
    static QString ZoomText(float scale);

    // The label face in design pixels at 100 %: round(ppi x inches), halves to even.
    static QSize FaceSize(const TLabelGeometry& geometry, int ppi);

    // The rectangle an object drawn over `dragged` is made in.
    static QRect DrawnRect(const QRect& dragged);

    static bool WideEnoughForPostNet(const TLabelGeometry& geometry)
    {
        return double(geometry.labelWidth) >= kPostNetMinWidth - 1e-6;
    }
    static QString PostNetToolRefusal();
    static QString PostNetRemovedWarning();
    static bool WideEnoughForImb(const TLabelGeometry& geometry)
    {
        return double(geometry.labelWidth) >= kImbMinWidth - 1e-6;
    }
    static QString ImbToolRefusal();
    static QString ImbRemovedWarning();

    // Inches shown by "Left: " and "Top: ": design pixels at the current zoom divided by the
    // display's PPI times the zoom, with two decimals.
    static QString ReadOut(int pixels, int ppi, float scale);

    // "Change Layout" from the template list: the template's geometry, paper, printer, shape,
    // maker, product group, extra gaps and art, and its description as the layout's template.
    // The layout's own description and layout file stay.
    static void TakeTemplate(TLabelGeometry& layout, const TLabelGeometry& chosenTemplate);
    // "Change Layout" typed in: the edited geometry, paper and shape; the layout becomes
    // user-defined (no template, printer, product group, extra gaps or art; maker "USER").
    static void TakeUserDefined(TLabelGeometry& layout, const TLabelGeometry& edited);

    // The working record a new label starts with: the new-layout geometry, "<New Label>" and the
    // given layout file name.
    static TLabelGeometry NewLabel(const QString& layoutFile);
    static QString NewLabelMessage();
};

} // namespace qm::labels
