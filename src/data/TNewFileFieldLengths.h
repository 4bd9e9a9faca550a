#pragma once

// The widths that new address files get for their 18 adjustable character fields, kept in the
// settings file section "NewFileFieldLengths" (keys "Field" + field name).
//
// Loading accepts 5..80 (anything else, or a missing key, gives the default); the field-lengths
// dialog accepts 10..80. The dialog's "Defaults" are the load defaults except FAX, which it sets
// to 30.

#include <QString>
#include <array>
#include <optional>

namespace qm::data {

class TSettingsFile;

class TNewFileFieldLengths {
public:
    static constexpr int kCount = 18;
    static constexpr int kLoadMinimum = 5;
    static constexpr int kDialogMinimum = 10;
    static constexpr int kMaximum = 80;
    static constexpr const char* kSection = "NewFileFieldLengths";

    // The adjustable fields in settings-key order.
    static const std::array<const char*, kCount>& FieldNames();

    TNewFileFieldLengths(); // the load defaults

    static TNewFileFieldLengths Load(const TSettingsFile& settings);
    // Throws TSettingsWriteError.
    void Save(TSettingsFile& settings) const;
    // What the dialog's "Defaults" button fills in.
    static TNewFileFieldLengths DialogDefaults();

    // Width of a field by name (any case); nothing for a field that is not adjustable.
    std::optional<int> Width(const QString& fieldName) const;
    int At(int index) const { return mWidths[size_t(index)]; }
    void Set(int index, int width) { mWidths[size_t(index)] = width; }
    // The dialog's rule: the text is an integer from 10 to 80.
    static std::optional<int> ParseDialogValue(const QString& text);

    friend bool operator==(const TNewFileFieldLengths&, const TNewFileFieldLengths&) = default;

private:
    std::array<int, kCount> mWidths;
};

} // namespace qm::data
