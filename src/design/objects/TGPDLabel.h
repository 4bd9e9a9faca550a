#pragma once

// One record field on a single line. Bound by display label (DataFieldDescript); DataFieldName
// is stored alongside and never used for the lookup. Stream order: the TGBaseLabel list, then
// DataFieldName, DataFieldDescript (when not empty), LengthOfText (always; nothing sets or reads
// it).
//
// Contract (ShowData, with the panel's data set on the current record):
// - bound field found: the caption is the field's text when the panel shows values or prints
//   ("<blank field>" on screen for an empty text, empty while printing), "[label]" when the
//   panel shows field names;
// - no field (or no label): "<undefined field>" on screen; while printing the caption stays.
// ClearData empties the caption. PrintObject never puts a placeholder on paper ("<blank field>",
// "<undefined field>", "[label]"): an object whose caption is still the placeholder ShowData last
// set prints as an empty field, while the screen keeps showing it.

#include "design/objects/TGBaseLabel.h"
#include "design/objects/TSingleLineText.h"

namespace qm::design {

class TGPDLabel : public TGBaseLabel {
public:
    static constexpr const char* kClassName = "TGPDLabel";

    TGPDLabel();

    QByteArray ClassName() const override { return kClassName; }

    const QString& DataFieldName() const { return mDataFieldName; }
    void SetDataFieldName(const QString& name) { mDataFieldName = name; }
    const QString& DataFieldDescript() const { return mDataFieldDescript; }
    void SetDataFieldDescript(const QString& label) { mDataFieldDescript = label; }
    std::int32_t LengthOfText() const { return mLengthOfText; }

    // Binds to a field (the "Select Field" dialog's Ok).
    void Bind(const QString& fieldName, const QString& displayLabel);
    // Settings of an object drawn with a tool: DataFieldName "<field>", the panel's font.
    void ConfigureDrawn(const TGFont& panelFont);
    void FitWidth() { mText.FitWidth(*this, Caption()); }
    // True while the caption is the placeholder ShowData last set, not a record value.
    bool ShowsPlaceholder() const;

    void ShowData() override;
    void ClearData() override;
    void Paint(QPainter& painter) override;
    void PrintObject(print::TBaseReport& canvas, double x, double y) override;
    void WriteProperties(TLayoutWriter& out) const override;
    bool ReadProperty(const QByteArray& name, const TLayoutValue& value) override;

private:
    TSingleLineText mText;
    QString mDataFieldName;
    QString mDataFieldDescript;
    std::int32_t mLengthOfText = 0;
    // The placeholder ShowData last put in the caption (empty when it put a value).
    QString mPlaceholder;
};

} // namespace qm::design
