#pragma once

// "Select Label Template": the template picker. Given the layout being designed (its template
// description, printer code, maker and product group) and whether it is new, the user narrows
// the shipped templates by manufacturer, product type and paper, looks at a template's size and
// grid, and takes one with OK.
//
// The dialog reads the template table through the caller's TLabelTemplates, which must be open
// for the dialog's lifetime; the filter is applied only while a list is being read, so the table
// is left unfiltered. The choices, the filter expression and the first row are decided by
// TLabelTemplateFilter.

#include "labels/TLabelGeometry.h"
#include "labels/TLabelTemplateFilter.h"

#include <QDialog>
#include <QStringList>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace qm::labels {

class TLabelTemplates;

class TSelectLabel : public QDialog {
public:
    static constexpr int kHelpContext = 5101;

    TSelectLabel(TLabelTemplates& templates, const TLabelGeometry& layout,
                 QWidget* parent = nullptr);
    ~TSelectLabel() override;

    // Opens sysdata/LBLTPL.DBF of the program home and runs the picker. Returns the chosen
    // template (its geometry, with its DESCRIPT in templateDescription), or nothing on Cancel.
    // A missing template table shows its message and returns nothing.
    static std::optional<TLabelGeometry> Choose(const TLabelGeometry& layout, QWidget* parent);

    // The template taken with OK.
    const std::optional<TLabelGeometry>& Chosen() const { return mChosen; }

    // The filter expression and the descriptions it matched, as the grid shows them.
    QString Expression() const { return mFilter.Expression(); }
    const QStringList& Descriptions() const { return mDescriptions; }
    // The description of the grid's current row; empty when there is none.
    QString CurrentDescription() const;

    QComboBox* ManufacturerCombo() const { return mManufacturerCombo; }
    QComboBox* ProductCombo() const { return mProductCombo; }
    QCheckBox* EuropeanCheck() const { return mEuropeanCheck; }
    QTableWidget* Grid() const { return mGrid; }
    QLineEdit* HeightEdit() const { return mHeightEdit; }
    QLineEdit* WidthEdit() const { return mWidthEdit; }
    QLineEdit* AcrossEdit() const { return mAcrossEdit; }
    QLineEdit* DownEdit() const { return mDownEdit; }
    QLineEdit* PaperWidthEdit() const { return mPaperWidthEdit; }
    QLineEdit* PaperHeightEdit() const { return mPaperHeightEdit; }
    QPushButton* OKButton() const { return mOKButton; }
    QPushButton* CancelButton() const { return mCancelButton; }
    QPushButton* HelpButton() const { return mHelpButton; }

private:
    void ChoicesChange();
    void GridRowChange();
    void OKButtonClick();
    void ShowFields(const std::optional<TLabelGeometry>& geometry);

    TLabelTemplates& mTemplates;
    TLabelTemplateFilter mFilter;
    QStringList mDescriptions;
    std::optional<TLabelGeometry> mChosen;

    QComboBox* mManufacturerCombo = nullptr;
    QComboBox* mProductCombo = nullptr;
    QCheckBox* mEuropeanCheck = nullptr;
    QTableWidget* mGrid = nullptr;
    QLineEdit* mHeightEdit = nullptr;
    QLineEdit* mWidthEdit = nullptr;
    QLineEdit* mAcrossEdit = nullptr;
    QLineEdit* mDownEdit = nullptr;
    QLineEdit* mPaperWidthEdit = nullptr;
    QLineEdit* mPaperHeightEdit = nullptr;
    QPushButton* mOKButton = nullptr;
    QPushButton* mCancelButton = nullptr;
    QPushButton* mHelpButton = nullptr;
};

} // namespace qm::labels
