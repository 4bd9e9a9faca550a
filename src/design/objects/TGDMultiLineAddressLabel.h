#pragma once

// The mailing address block: lines composed from the current address record (TAddressBlock).
// Stream order: the multi-line list, then UseName, UseTitle, UseCompany, UseStreet, UseStreet2,
// UseCityState, UseZip, UsePhone, UseCountry (always), ZipOptions (always), UpperCase (always);
// the composed lines are never stored.
//
// Contract (ShowData): Items are emptied; with field names shown and not printing the single
// line "[Address Label]"; otherwise the composed lines (a missing field ends the composition and
// keeps the lines made so far). With no open data set nothing is composed. ClearData empties
// Items. With WordWrap on, the composed lines are wrapped again whenever the width, the font or
// the zoom change.

#include "design/objects/TGMultiLineBaseLabel.h"
#include "design/text/TAddressBlock.h"

namespace qm::design {

class TGDMultiLineAddressLabel : public TGMultiLineBaseLabel {
public:
    static constexpr const char* kClassName = "TGDMultiLineAddressLabel";

    QByteArray ClassName() const override { return kClassName; }

    const TAddressBlockOptions& Options() const { return mOptions; }
    void SetOptions(const TAddressBlockOptions& options) { mOptions = options; }
    // The "Address Label Layout" dialog's Ok: stores the options; the panel then refreshes.
    void ApplyOptions(const TAddressBlockOptions& options);
    void ConfigureDrawn(const TGFont& panelFont) { SetFont(panelFont); }
    void ChangeFont(const TGFont& font);

    void ShowData() override;
    void ClearData() override;
    void Paint(QPainter& painter) override;
    void PrintObject(print::TBaseReport& canvas, double x, double y) override;
    void WriteProperties(TLayoutWriter& out) const override;
    bool ReadProperty(const QByteArray& name, const TLayoutValue& value) override;

private:
    TAddressBlockOptions mOptions;
};

} // namespace qm::design
