#pragma once

// Composition of a mailing address block from one address record.
//
// Contract:
// - Fields are read through a reader that returns the field's text (string values without their
//   blank padding) or no value when the record has no such field. A missing field ends the
//   composition: the lines composed so far are returned and nothing is reported.
// - Only non-empty lines are added, so empty fields never leave empty lines. Nothing is
//   abbreviated or reordered beyond the placement of the ZIP.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace qm::design {

// Where the ZIP goes when it is printed; numbered in stream order.
enum class TZipOptions { zoAfterState = 0, zoBeforeCity, zoAfterCountry, zoBeforeCountry };

struct TAddressBlockOptions {
    bool useName = true;
    bool useTitle = true;
    bool useCompany = true;
    bool useStreet = true;
    bool useStreet2 = true;
    bool useCityState = true;
    bool useZip = true;
    bool usePhone = false;
    bool useCountry = true;
    TZipOptions zipOptions = TZipOptions::zoAfterState;
    bool upperCase = false;

    friend bool operator==(const TAddressBlockOptions&, const TAddressBlockOptions&) = default;
};

class TAddressBlock {
public:
    // Returns the field's text, or std::nullopt when the record has no field of that name.
    using TFieldReader = std::function<std::optional<QString>(const QString& fieldName)>;

    static QStringList Compose(const TAddressBlockOptions& options, const TFieldReader& read);

    // The text with its leading blanks removed.
    static QString LeftTrim(const QString& text);
};

} // namespace qm::design
