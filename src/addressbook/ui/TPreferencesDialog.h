#pragma once

// "Preferences": how new records are started. Reads section "Adding" when created; Ok writes
// every key, Cancel writes nothing. "Intelligent Mail..." opens the barcode settings, which that
// dialog writes on its own Ok.

#include "addressbook/TPreferences.h"

#include <QDialog>
#include <map>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace qm::data {
class TSettingsFile;
}

namespace qm::addressbook {

class TPreferencesDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1038;

    explicit TPreferencesDialog(data::TSettingsFile& settings, QWidget* parent = nullptr);

    // Controls by their names ("PlugDate", "CarryOrg", "skipState", "DefCountry", ...).
    QCheckBox* Check(const QString& name) const;
    QLineEdit* DefCountry() const { return mDefCountry; }
    QPushButton* ImbSettingsButton() const { return mImbButton; }

    TPreferences Values() const;

private:
    void OkButtonClick();

    data::TSettingsFile& mSettings;
    std::map<QString, QCheckBox*> mChecks;
    QLineEdit* mDefCountry = nullptr;
    QPushButton* mImbButton = nullptr;
};

} // namespace qm::addressbook
