#pragma once

// "Select Label Template": the template picker. Given the layout being designed (its template
// description, printer code, maker and product group) and whether it is new, the user narrows
// the templates by manufacturer, product type and paper, narrows them further by typing a
// product number or part of a description into the find box, looks at a template's size and
// grid, and takes one with OK. "Import Label Sheets..." adds the sheets of a template file to
// the user's own templates, which the list marks "Your own".
//
// The dialog reads the template tables through the caller's TLabelTemplates, which must be open
// for the dialog's lifetime; the filter is applied only while a list is being read, so the tables
// are left unfiltered. The choices, the filter expression and the first row are decided by
// TLabelTemplateFilter, the find box's narrowing by TTemplateFind, the import by
// TLabelTemplateImport.

#include "labels/TLabelGeometry.h"
#include "labels/TLabelTemplateFilter.h"

#include "labels/TLabelTemplates.h"

#include <QDialog>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace qm::labels {

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

    // The filter expression, and the descriptions the grid shows: those it matched, narrowed by
    // the find box.
    QString Expression() const { return mFilter.Expression(); }
    const QStringList& Descriptions() const { return mDescriptions; }
    // Whether the grid's row is one of the user's own templates.
    bool IsOwn(int row) const;

    // Replaces the file dialog of "Import Label Sheets..." (tests); an empty path imports nothing.
    void SetFileChooser(std::function<QString()> chooser) { mFileChooser = std::move(chooser); }
    // The description of the grid's current row; empty when there is none.
    QString CurrentDescription() const;

    QComboBox* ManufacturerCombo() const { return mManufacturerCombo; }
    QComboBox* ProductCombo() const { return mProductCombo; }
    QCheckBox* EuropeanCheck() const { return mEuropeanCheck; }
    QLineEdit* FindEdit() const { return mFindEdit; }
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
    QPushButton* ImportButton() const { return mImportButton; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ChoicesChange();
    void FindEditChange();
    void ShowRows(int current);
    void GridRowChange();
    void OKButtonClick();
    void ImportButtonClick();
    void FillManufacturers(int current);
    void ShowFields(const std::optional<TLabelGeometry>& geometry);

    TLabelTemplates& mTemplates;
    TLabelTemplateFilter mFilter;
    std::vector<TLabelTemplates::TEntry> mMatched; // the filter's rows
    std::vector<TLabelTemplates::TEntry> mShown;   // those the find box keeps, as the grid shows
    QStringList mDescriptions;                     // the descriptions of mShown
    std::optional<TLabelGeometry> mChosen;
    std::function<QString()> mFileChooser;

    QComboBox* mManufacturerCombo = nullptr;
    QComboBox* mProductCombo = nullptr;
    QCheckBox* mEuropeanCheck = nullptr;
    QLineEdit* mFindEdit = nullptr;
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
    QPushButton* mImportButton = nullptr;
};

} // namespace qm::labels
