#pragma once

// A length read from a label template file, held exactly: a whole number of 1/9,144,000,000,000
// inch. In that unit inches (9144), millimetres (360), centimetres (3600), points (127) and picas
// (1524) with up to 9 decimals are all whole numbers, so sums, differences and comparisons of
// lengths given in different units are exact, and the one rounding is to the table's 3 decimals.
//
// Lengths are written as in the template files: a decimal number, optionally with an exponent
// ("3.9e-16"), then a unit "in", "mm", "cm", "pt" or "pc"; a bare number is in points. The number
// is first taken to 9 decimals (halves to even). A number above 100,000 or a length above 1,000
// inches is refused, which keeps every product of a length and a count up to 99 far inside 64
// bits.

#include <QString>
#include <QStringView>
#include <compare>
#include <cstdint>
#include <optional>

namespace qm::labels {

class TTemplateLength {
public:
    static constexpr int64_t kPerInch = 9'144'000'000'000;

    TTemplateLength() = default;
    static TTemplateLength FromUnits(int64_t units) { return TTemplateLength(units); }
    // Whole thousandths of an inch, for limits such as 0.3 in (Thousandths(300)).
    static TTemplateLength Thousandths(int64_t thousandths)
    {
        return TTemplateLength(thousandths * (kPerInch / 1000));
    }

    // The length the text gives, or nothing with *why saying what is wrong ("is not a length",
    // "is out of range").
    static std::optional<TTemplateLength> Parse(QStringView text, QString* why = nullptr);

    int64_t Units() const { return mUnits; }
    // The length in thousandths of an inch, halves to even: what a 3-decimal column stores.
    int64_t RoundedThousandths() const;
    // The length as that column writes it ("2.625", "0.156").
    QString ThreeDecimals() const;

    TTemplateLength operator+(TTemplateLength other) const { return From(mUnits + other.mUnits); }
    TTemplateLength operator-(TTemplateLength other) const { return From(mUnits - other.mUnits); }
    TTemplateLength operator*(int factor) const { return From(mUnits * factor); }
    TTemplateLength Abs() const { return From(mUnits < 0 ? -mUnits : mUnits); }
    auto operator<=>(const TTemplateLength&) const = default;

private:
    explicit TTemplateLength(int64_t units) : mUnits(units) {}
    static TTemplateLength From(int64_t units) { return TTemplateLength(units); }

    int64_t mUnits = 0;
};

} // namespace qm::labels
