#pragma once

// "New Record": asks for the last and first name (for the duplicate-name check) and/or the ZIP
// (to fill in city and state) before a record is added. Confirmed by "Ok [PgDn]", PgDn anywhere,
// Enter in the ZIP entry, or leaving the first-name entry when no ZIP is asked.

#include "addressbook/TAddressBook.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qm::addressbook {

class TNewRecordDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1091;

    // Widths are the file's LNAME, FNAME and ZIP widths.
    TNewRecordDialog(bool askNames, bool askZip, int lastWidth, int firstWidth, int zipWidth,
                     QWidget* parent = nullptr);

    TNewRecordInput Input() const;

    QLineEdit* LastNameEdit() const { return mLastName; }
    QLineEdit* FirstNameEdit() const { return mFirstName; }
    QLineEdit* ZipEdit() const { return mZip; }
    QPushButton* OkButton() const { return mOkButton; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* mLastName = nullptr;
    QLineEdit* mFirstName = nullptr;
    QLineEdit* mZip = nullptr;
    QPushButton* mOkButton = nullptr;
    bool mAskZip;
};

} // namespace qm::addressbook
