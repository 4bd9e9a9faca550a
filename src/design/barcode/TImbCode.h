#pragma once

// The Intelligent Mail barcode as plain functions: the 20-digit tracking code, the routing code
// (none, 5, 9 or 11 digits), the 102-bit binary value, the 11-bit frame check sequence, the ten
// codewords, the character tables and the 65 four-state bars.
//
// Every check that refuses input says why in a message that names the value. Text is compared as
// the layouts hold it; only the ASCII digits count as digits.

#include <QString>

#include <array>
#include <cstdint>

namespace qm::design {

// One bar, written as its letter in the tool's output and the format notes.
enum class TImbBar : char { Full = 'F', Ascender = 'A', Descender = 'D', Tracker = 'T' };

using TImbBars = std::array<TImbBar, 65>;

class TImbCode {
public:
    static constexpr int kBarCount = 65;

    // Bar geometry in inches: width and pitch, the heights of a full bar and of the tracker (the
    // middle part every bar has), and of an ascender or descender (tracker plus one extender).
    static constexpr double kBarWidth = 0.020;
    static constexpr double kBarPitch = 1.0 / 22.0;
    static constexpr double kFullBarHeight = 0.145;
    static constexpr double kTrackerHeight = 0.050;
    static constexpr double kExtenderBarHeight = (kFullBarHeight + kTrackerHeight) / 2.0;

    // Empty when the 20 digits make a valid tracking code: barcode identifier (2 digits, the
    // second 0-4), service type (3), mailer identifier (6, or 9 when it starts with 9) and serial
    // number (9 or 6). Otherwise a message naming the value.
    static QString TrackingProblem(const QString& tracking);
    // Empty when the routing code is empty or has 5, 9 or 11 digits; otherwise a message.
    static QString RoutingProblem(const QString& routing);

    // The checks of the parts a layout or the settings hold, each empty when valid.
    static QString BarcodeIdProblem(const QString& barcodeId);
    static QString ServiceTypeProblem(const QString& serviceType);
    static QString MailerIdProblem(const QString& mailerId);
    // Digits of the serial number a mailer identifier leaves (9 for six digits, 6 for nine).
    static int SerialWidth(const QString& mailerId);
    // The largest serial the mailer identifier leaves room for (999,999,999 or 999,999).
    static std::int64_t MaxSerial(const QString& mailerId);

    // The tracking code of the parts, the serial zero-padded to its width; empty and a message in
    // *problem when a part is invalid or the serial does not fit (negative or over MaxSerial).
    static QString Tracking(const QString& barcodeId, const QString& serviceType,
                            const QString& mailerId, std::int64_t serial, QString* problem);

    // The routing code a record gives: its ZIP's digits (5 or 9) and, when the ZIP has 9 digits,
    // the two delivery-point digits POSTNET takes from the address line. Empty when the ZIP is not
    // a valid ZIP (the piece then prints no barcode).
    static QString Routing(const QString& zip, const QString& address);

    // The 11-bit frame check sequence of the 13 bytes of the binary value.
    static int FrameCheckSequence(const std::array<std::uint8_t, 13>& bytes);

    // The 65 bars for a tracking and routing code; false and a message in *problem (when given)
    // for invalid input, *bars then untouched.
    static bool Encode(const QString& tracking, const QString& routing, TImbBars* bars,
                       QString* problem = nullptr);

    // The bars as letters, "AADTFF...".
    static QString Letters(const TImbBars& bars);
};

} // namespace qm::design
