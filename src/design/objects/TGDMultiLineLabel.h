#pragma once

// The record's memo as multi-line text. Bound by display label to a memo field (for the address
// file the single entry "MEMO"). Stream order: the multi-line list, then DataFieldName and
// DataFieldDescript (when not empty); the memo's lines are never stored.
//
// Contract (ShowData): Items are emptied; with the field found and values shown (or printing)
// a non-empty memo is split at its line breaks and, with WordWrap, at the width; with field
// names shown the single line "[label]"; with no such field "<undefined memo>" on screen and no
// lines when printing. ClearData empties Items. The record's lines (split at line breaks) are
// kept, so a change of width, font or zoom re-wraps them without reading the record again;
// placeholders are never wrapped and never printed.

#include "design/objects/TGMultiLineBaseLabel.h"

namespace qm::design {

class TGDMultiLineLabel : public TGMultiLineBaseLabel {
public:
    static constexpr const char* kClassName = "TGDMultiLineLabel";

    TGDMultiLineLabel();

    QByteArray ClassName() const override { return kClassName; }
    QString BlankPlaceholder() const override { return QStringLiteral("<blank memo>"); }

    const QString& DataFieldName() const { return mDataFieldName; }
    void SetDataFieldName(const QString& name) { mDataFieldName = name; }
    const QString& DataFieldDescript() const { return mDataFieldDescript; }
    void SetDataFieldDescript(const QString& label) { mDataFieldDescript = label; }
    void Bind(const QString& fieldName, const QString& displayLabel);
    void ConfigureDrawn(const TGFont& panelFont) { SetFont(panelFont); }
    void ToggleWordWrap();
    void ChangeFont(const TGFont& font);

    void ShowData() override;
    void ClearData() override;
    // Items (and the wrapped lines) from the kept record lines: wrapped at the width when
    // WordWrap is on; a placeholder stays one line.
    void Rewrap() override;
    void Paint(QPainter& painter) override;
    void PrintObject(print::TBaseReport& canvas, double x, double y) override;
    void WriteProperties(TLayoutWriter& out) const override;
    bool ReadProperty(const QByteArray& name, const TLayoutValue& value) override;

private:
    QString mDataFieldName = QStringLiteral("Memo");
    QString mDataFieldDescript = QStringLiteral("MEMO");
    // The memo's lines as ShowData read them, before wrapping.
    QStringList mRecordLines;
};

} // namespace qm::design
