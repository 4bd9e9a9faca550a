#pragma once

// Where the envelope face lands on the page the printer reports. Printers take envelopes in many
// ways; the feed method says how, and the offsets shift the design so that it lands on the
// envelope. All decisions are made on integers: the page sizes are first rounded to thousandths
// of an inch (the face already is in thousandths), then truncated to tenths or hundredths, so
// 4.56 in counts as 456 hundredths, never as the 455 that 4.56 x 100 truncates to in doubles.

#include "envelopes/TEnvelopeFeedMethod.h"
#include "envelopes/TEnvelopeSizes.h"

#include <QPointF>
#include <QString>

namespace qm::envelopes {

class TEnvelopePlacement {
public:
    // The envelope's top-left corner on the page in inches, from the page width and height as the
    // job reports them (after orientation). When the page equals the face in tenths of an inch
    // the offsets are 0; else the feed table decides (docs/design/envelopes.md). Negative offsets
    // become 0.
    static QPointF Offsets(double pageWidth, double pageHeight, TEnvelopeFace face,
                           const TEnvelopeFeedMethod& feed);

    // True when the face's width and the page width, or its height and the page height, differ
    // by more than one inch, all four taken in whole hundredths of an inch.
    static bool PaperMismatch(double pageWidth, double pageHeight, TEnvelopeFace face);
    // The red line the "Envelope Print" dialog shows when PaperMismatch is true.
    static QString MismatchWarning()
    {
        return QStringLiteral("WARNING: Printer PAPER SIZE and ORIENTATION do not match selected "
                              "Envelope.\r\nUse Printer Setup to correct this.");
    }

    // Inches in whole thousandths, to the nearest.
    static long long Thousandths(double inches);
};

} // namespace qm::envelopes
