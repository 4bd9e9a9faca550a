#pragma once

// "Specify Field Lengths": the widths of the adjustable character fields for the next new
// address file. Takes and returns the lengths; when "Use these settings for all new databases"
// is checked, OK also writes them to the settings file.

#include "data/TNewFileFieldLengths.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace qm::data {

class TSettingsFile;

class TFieldLengthsDialog : public QDialog {
public:
    static constexpr int kHelpContext = 2097;

    TFieldLengthsDialog(const TNewFileFieldLengths& lengths, TSettingsFile& settings,
                        QWidget* parent = nullptr);

    TNewFileFieldLengths Lengths() const { return mLengths; }

    QLineEdit* Entry(const QString& fieldName) const;
    QCheckBox* UseForAllCheck() const { return mUseForAllCheck; }
    QPushButton* DefaultsButton() const { return mDefaultsButton; }
    QPushButton* OKButton() const { return mOKButton; }

private:
    void Fill(const TNewFileFieldLengths& lengths);
    void EntryExit(int index);
    void DefaultsButtonClick();
    void OKButtonClick();

    TSettingsFile& mSettings;
    TNewFileFieldLengths mLengths;
    std::array<QLineEdit*, TNewFileFieldLengths::kCount> mEntries{};
    std::array<int, TNewFileFieldLengths::kCount> mShown{}; // last valid value of each entry
    QCheckBox* mUseForAllCheck = nullptr;
    QPushButton* mDefaultsButton = nullptr;
    QPushButton* mOKButton = nullptr;
};

} // namespace qm::data
