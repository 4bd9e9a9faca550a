#pragma once

// "Create new database": asks for the new address file's name (proposed by the caller) and lets
// the user adjust the field lengths. The lengths are read from the settings file each time the
// dialog opens. OK is enabled only for a valid name.

#include "data/TNewFileFieldLengths.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qm::data {

class TSettingsFile;

class TNewDatabaseDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1037;

    TNewDatabaseDialog(const QString& proposedName, TSettingsFile& settings,
                       QWidget* parent = nullptr);

    QString Name() const;
    TNewFileFieldLengths Lengths() const { return mLengths; }

    QLineEdit* NameEdit() const { return mNameEdit; }
    QLabel* InvalidLabel() const { return mInvalidLabel; }
    QPushButton* OKButton() const { return mOKButton; }
    QPushButton* FieldLengthsButton() const { return mFieldLengthsButton; }

private:
    void NameEditChange();
    void FieldLengthsButtonClick();

    TSettingsFile& mSettings;
    TNewFileFieldLengths mLengths;
    QLineEdit* mNameEdit = nullptr;
    QLabel* mInvalidLabel = nullptr;
    QPushButton* mOKButton = nullptr;
    QPushButton* mFieldLengthsButton = nullptr;
};

} // namespace qm::data
