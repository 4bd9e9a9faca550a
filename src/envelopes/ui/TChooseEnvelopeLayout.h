#pragma once

// "Envelope Size": the list of envelope sizes. It opens on the entry of the given code (the
// first entry for a code not in the list); Ok gives the selected entry's code, or the given
// code when nothing is selected.

#include <QDialog>
#include <QString>
#include <vector>

class QListWidget;
class QPushButton;

namespace qm::envelopes {

struct TEnvelopeSizeEntry {
    QString text;
    int code = 0;
};

class TChooseEnvelopeLayout : public QDialog {
public:
    static constexpr int kHelpContext = 1402;

    TChooseEnvelopeLayout(std::vector<TEnvelopeSizeEntry> entries, int code,
                          QWidget* parent = nullptr);

    // The chosen code (after Ok).
    int Code() const;

    QListWidget* SizeList() const { return mList; }
    QPushButton* OkButton() const { return mOkButton; }
    QPushButton* CancelButton() const { return mCancelButton; }

private:
    std::vector<TEnvelopeSizeEntry> mEntries;
    int mCode;
    QListWidget* mList = nullptr;
    QPushButton* mOkButton = nullptr;
    QPushButton* mCancelButton = nullptr;
};

} // namespace qm::envelopes
