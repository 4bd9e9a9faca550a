#pragma once

// "Paragraph Settings": left and right indent and the first line ("Same as Left Indent" or
// "Indented by", negative for a hanging line) in inches or centimetres, space before, line height
// (0: single) and space after in points. OK refuses text that is not a number and settings that
// leave no room between the margins, with a message; the values stay for correcting.

#include "richtext/TParagraphSettings.h"

#include <QDialog>
#include <QHash>
#include <utility>

class QComboBox;
class QLineEdit;

namespace qm::richtext {

class TParagraphDialog : public QDialog {
public:
    static constexpr int kHelpContext = 2704;
    enum class EUnit { Inches, Centimetres };

    // `textWidth`: the page's text width in twips, which the indents must leave room in.
    TParagraphDialog(const TParagraphSettings& settings, int textWidth, QWidget* parent = nullptr);

    TParagraphSettings Settings() const { return mSettings; }
    EUnit Unit() const;
    void SetUnit(EUnit unit);

    QLineEdit* LeftEdit() const { return mLeftEdit; }
    QLineEdit* RightEdit() const { return mRightEdit; }
    QLineEdit* FirstEdit() const { return mFirstEdit; }
    QComboBox* FirstLineBox() const { return mFirstLineBox; }
    QLineEdit* BeforeEdit() const { return mBeforeEdit; }
    QLineEdit* LineHeightEdit() const { return mLineHeightEdit; }
    QLineEdit* AfterEdit() const { return mAfterEdit; }

    // Reads and checks the fields; true (and Settings() updated) when they are good.
    bool OKButtonClick();

private:
    void ShowSettings();
    // Shows a length in the current unit and remembers it, so an untouched field reads back
    // exactly, not rounded to its two decimals.
    void ShowLength(QLineEdit* edit, int twips);
    bool ReadLength(QLineEdit* edit, const QString& name, int* twips) const;
    bool ReadPoints(QLineEdit* edit, const QString& name, int* twips) const;

    TParagraphSettings mSettings;
    int mTextWidth;
    EUnit mShownUnit = EUnit::Inches;
    QHash<QLineEdit*, std::pair<QString, int>> mShown;
    QComboBox* mUnitBox = nullptr;
    QLineEdit* mLeftEdit = nullptr;
    QLineEdit* mRightEdit = nullptr;
    QComboBox* mFirstLineBox = nullptr;
    QLineEdit* mFirstEdit = nullptr;
    QLineEdit* mBeforeEdit = nullptr;
    QLineEdit* mLineHeightEdit = nullptr;
    QLineEdit* mAfterEdit = nullptr;
};

} // namespace qm::richtext
