#pragma once

// The digits and bars of a POSTNET barcode, apart from any object or canvas: the ZIP validity
// test, the two delivery-point digits taken from a street address line, the digit string with its
// check digit, and the full/half bar sequence with frame bars.
//
// Text is compared byte by byte as the layouts hold it (Windows-1252); characters outside Latin-1
// count as not being digits.

#include <QByteArray>
#include <QString>
#include <vector>

namespace qm::design {

enum class TPostNetType { pnbc5Digit = 0, pnbc9Digit, pnbc11Digit };

class TPostNetCode {
public:
    // Bar geometry in inches.
    static constexpr double kBarWidth = 0.015;
    static constexpr double kBarPitch = 0.046;
    static constexpr double kFullBarHeight = 0.125;
    static constexpr double kHalfBarHeight = 0.055;

    // At least five characters and between "00000" and "99999-9999" in byte order.
    static bool IsValidZip(const QString& zip);

    // The two delivery-point digits of an address line ("23" for "123 MAIN ST"); "99" when none
    // can be found or the address is a military one (APO/FPO).
    static QString DeliveryPoint(const QString& address);

    // The digits to encode, check digit excluded: the ZIP's digits, only the first five for the
    // 5-digit form, and for the 11-digit form the delivery point's two after a full ZIP+4. A
    // count other than 5, 9 or 11 keeps the first five digits (a ZIP of 6 to 8 digits, or of
    // more than 11); empty when the ZIP is not valid or holds fewer than five digits.
    static QString Digits(const QString& zip, const QString& address, TPostNetType type);

    // The digit c (0..9) that makes the sum of the digits plus c a multiple of ten.
    static int CheckDigit(const QString& digits);

    // The five bars of one digit, true for a full bar (digit 0..9).
    static std::vector<bool> DigitBars(int digit);

    // Every bar of the code for a digit string (check digit appended here), frame bars included;
    // empty for an empty digit string.
    static std::vector<bool> Bars(const QString& digits);
};

} // namespace qm::design
