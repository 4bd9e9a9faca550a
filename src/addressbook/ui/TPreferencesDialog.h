#pragma once

// "Preferences": how new records are started. Reads section "Adding" when created; Ok writes
// every key, Cancel writes nothing.

#include "addressbook/TPreferences.h"

#include <QDialog>
#include <map>

class QCheckBox;
class QLineEdit;

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

    TPreferences Values() const;

private:
    void OkButtonClick();

    data::TSettingsFile& mSettings;
    std::map<QString, QCheckBox*> mChecks;
    QLineEdit* mDefCountry = nullptr;
};

} // namespace qm::addressbook
