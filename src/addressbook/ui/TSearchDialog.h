#pragma once

// The "Search" box: the list "Search Order" of the fourteen sort captions, preselected on the
// current order, and the entry "Search <order> starting with...". The caller seeks (TSoftSeek)
// with Order() and Text() after Ok; Cancel does nothing.

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;

namespace qm::addressbook {

class TSearchDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1026;

    TSearchDialog(const QString& currentTag, QWidget* parent = nullptr);

    // The chosen order's tag and the text typed.
    QString OrderTag() const;
    QString Text() const;

    QListWidget* OrderList() const { return mOrders; }
    QLineEdit* Entry() const { return mEntry; }
    QString EntryLabelText() const;

private:
    void OrderListChange();

    QListWidget* mOrders = nullptr;
    QLabel* mEntryLabel = nullptr;
    QLineEdit* mEntry = nullptr;
};

} // namespace qm::addressbook
