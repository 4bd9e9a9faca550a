#pragma once

// "User Defined Label Layout": the user types a sheet's label size, grid, margins, pitches, paper
// and label shape, in inches or millimetres. Everything the dialog decides (what a field shows,
// the pitch raised to the label size, the paper sizes, the checks on OK) is TLabelEditForm's; the
// dialog shows the form and passes on what the user does.
//
// Counts stored beyond the ranges the dialog offers (16 across, say) are shown as they are and
// kept unless the user changes them; OK refuses them with the range in the message.

#include "labels/TLabelEditForm.h"
#include "labels/TLabelGeometry.h"

#include <QDialog>
#include <array>
#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace qm::labels {

class TLabelEdit : public QDialog {
public:
    static constexpr int kHelpContext = 5102;
    using TLength = TLabelEditForm::TLength;

    explicit TLabelEdit(const TLabelGeometry& geometry, QWidget* parent = nullptr);
    ~TLabelEdit() override;

    // Runs the dialog on the geometry; returns the edited geometry (everything not shown here as
    // it came in) or nothing on Cancel.
    static std::optional<TLabelGeometry> Edit(const TLabelGeometry& geometry, QWidget* parent);

    // The geometry accepted with OK.
    const TLabelGeometry& Geometry() const { return mGeometry; }
    const TLabelEditForm& Form() const { return mForm; }

    QLineEdit* LengthEdit(TLength field) const { return mEdits[size_t(field)]; }
    QSpinBox* AcrossSpin() const { return mAcrossSpin; }
    QSpinBox* DownSpin() const { return mDownSpin; }
    QComboBox* PaperCombo() const { return mPaperCombo; }
    QComboBox* ShapeCombo() const { return mShapeCombo; }
    QRadioButton* InchesRadio() const { return mInchesRadio; }
    QRadioButton* MillimetresRadio() const { return mMillimetresRadio; }
    QPushButton* OKButton() const { return mOKButton; }
    QPushButton* CancelButton() const { return mCancelButton; }
    QPushButton* HelpButton() const { return mHelpButton; }

private:
    void LengthEdited(TLength field, const QString& text);
    void LengthLeft(TLength field);
    void UnitClick();
    void PaperComboChange(int item);
    void ShapeComboChange(int item);
    void CountChange(QSpinBox* spin, int value, int min, int max, bool across);
    void OKButtonClick();
    // Puts the form's texts into the fields (all but the one being typed in).
    void ShowTexts(QLineEdit* except = nullptr);
    void SetValidators();

    TLabelEditForm mForm;
    TLabelGeometry mGeometry;

    std::array<QLineEdit*, TLabelEditForm::kLengthCount> mEdits{};
    QSpinBox* mAcrossSpin = nullptr;
    QSpinBox* mDownSpin = nullptr;
    QComboBox* mPaperCombo = nullptr;
    QComboBox* mShapeCombo = nullptr;
    QRadioButton* mInchesRadio = nullptr;
    QRadioButton* mMillimetresRadio = nullptr;
    QPushButton* mOKButton = nullptr;
    QPushButton* mCancelButton = nullptr;
    QPushButton* mHelpButton = nullptr;
};

} // namespace qm::labels
