#pragma once

// "Copy Record To Clipboard": which parts of the record the clipboard copy holds.

#include "data/TRecordText.h"

#include <QDialog>

class QCheckBox;

namespace qm::addressbook {

class TCopyRecordDialog : public QDialog {
public:
    explicit TCopyRecordDialog(QWidget* parent = nullptr);
    data::TClipboardParts Parts() const;
    QCheckBox* Check(int index) const { return mChecks[size_t(index)]; }

private:
    std::array<QCheckBox*, 5> mChecks{};
};

} // namespace qm::addressbook
