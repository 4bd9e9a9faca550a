#pragma once

// "Symbol Selector": the 224 characters with codes 32 to 255 in the object's face and style, in
// a number of columns that follows the font's point size; a "&Font" button; a preview of the
// selected character. After Ok, Font() and Code() (32 + the selected index) are applied by the
// caller (TGSymbolLabel::ApplySymbol).

#include "design/text/TGFont.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace qm::design {

class TDesignDialogButtons;

class TSymbolSelectorDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1204;
    static constexpr int kFirstCode = 32;
    static constexpr int kCodeCount = 224;

    TSymbolSelectorDialog(const TGFont& font, int code, QWidget* parent = nullptr);

    // Columns of the list for a point size: 6-10 14, 11-20 10, 21-30 8, 31-40 6, 41-50 4,
    // 51-60 3, 61-72 2, anything else 1.
    static int ColumnsForPointSize(int points);
    // The font button's caption: face, ", ", size, "pt ", then "Bold " and "Italic ".
    static QString FontCaption(const TGFont& font);

    const TGFont& Font() const { return mFont; }
    void SetFont(const TGFont& font);
    int Code() const { return kFirstCode + mSelected; }
    void SelectCode(int code);

    QTableWidget* SymbolList() const { return mSymbolList; }
    QPushButton* FontButton() const { return mFontButton; }
    QLabel* Preview() const { return mPreview; }
    TDesignDialogButtons* Buttons() const { return mButtons; }

private:
    void FillList();
    void FontButtonClick();
    void SymbolListChange();
    void ShowPreview();

    TGFont mFont;
    int mSelected = 0;
    QTableWidget* mSymbolList;
    QPushButton* mFontButton;
    QLabel* mPreview;
    TDesignDialogButtons* mButtons;
};

} // namespace qm::design
