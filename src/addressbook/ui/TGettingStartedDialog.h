#pragma once

// The getting-started screen shown at start-up (unless switched off with its check box, which
// writes Misc/GettingStarted) and from Help, "Getting Started".

#include "data/TSettingsFile.h"

#include <QDialog>

class QCheckBox;

namespace qm::data {
class TSettingsFile;
}

namespace qm::addressbook {

class TGettingStartedDialog : public QDialog {
public:
    TGettingStartedDialog(const data::TSettingsFile& settings, QWidget* parent = nullptr);
    QCheckBox* DoNotShowCheck() const { return mDoNotShow; }

    void done(int result) override;

private:
    data::TSettingsFile mSettings;
    QCheckBox* mDoNotShow = nullptr;
};

// The About box.
class TAboutDialog : public QDialog {
public:
    explicit TAboutDialog(QWidget* parent = nullptr);
};

} // namespace qm::addressbook
