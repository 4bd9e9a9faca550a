#pragma once

// The main window of the program. On its first activation it restores its placement; closing it
// saves the placement. Until an address file is open the record area shows the empty-state text.

#include <QMainWindow>

class QLabel;
class QStackedWidget;

namespace qm::addressbook {

class TAddressMain : public QMainWindow {
public:
    static constexpr int kHelpContext = 1029;
    static constexpr const char* kClassName = "TAddressMain";

    explicit TAddressMain(QWidget* parent = nullptr);

    // Brings the window to the front, restoring it when minimised (a second copy asked for it).
    void RaiseFromOtherCopy();

    QString EmptyStateText() const;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void BuildMenus();
    void FormActivate();
    void KeepOnScreen();
    void ExitItemClick();

    QStackedWidget* mClientArea = nullptr;
    QLabel* mEmptyStatePanel = nullptr;
    bool mActivated = false;
};

} // namespace qm::addressbook
