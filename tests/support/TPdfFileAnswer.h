#pragma once

// Answers the print layer's own dialogs while it lives, as a user would: the PDF file's save
// dialog takes the file given (or the one offered, when none is given), and the report and
// letter print dialogs are passed to a function of the test's. What the save dialog offered is
// kept for the test to check. Header-only: for tests that link the print windows. One at a time:
// the one before must be gone before the next is made (its end removes the answers).

#include "print/ui/TPdfFileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QStringList>
#include <functional>

namespace qm::test {

class TPdfFileAnswer {
public:
    // file: what the user types into the save dialog; empty keeps the name offered. Each later
    // showing of the save dialog is cancelled unless more answers were queued, or everyTime
    // gives the last answer again.
    explicit TPdfFileAnswer(QString file = {}, bool everyTime = false) : mEveryTime(everyTime)
    {
        Queue(std::move(file));
        Install();
    }
    ~TPdfFileAnswer() { print::TPdfFileDialog::SetDialogRunner({}); }
    TPdfFileAnswer(const TPdfFileAnswer&) = delete;
    TPdfFileAnswer& operator=(const TPdfFileAnswer&) = delete;

    void Queue(QString file) { mAnswers << (file.isEmpty() ? QStringLiteral("*") : file); }
    // The user cancels every save dialog from now on.
    void CancelAll() { mAnswers.clear(); }

    // The print dialog's part: set the printer as the user would and return true for Print.
    std::function<bool(QPrintDialog&)> onPrintDialog;

    // The folder and file name each save dialog offered, as "folder/name".
    QStringList offered;
    int printDialogs = 0;

private:
    void Install()
    {
        print::TPdfFileDialog::SetDialogRunner([this](QDialog& dialog) {
            if (auto* save = dynamic_cast<QFileDialog*>(&dialog)) {
                const QStringList selected = save->selectedFiles();
                offered << (selected.isEmpty() ? QString() : selected.constFirst());
                if (mAnswers.isEmpty())
                    return int(QDialog::Rejected);
                const QString answer =
                    mEveryTime && mAnswers.size() == 1 ? mAnswers.first() : mAnswers.takeFirst();
                if (answer != QLatin1String("*")) {
                    save->setDirectory(QFileInfo(answer).absolutePath());
                    save->selectFile(QFileInfo(answer).fileName());
                }
                return int(QDialog::Accepted);
            }
            if (auto* print = dynamic_cast<QPrintDialog*>(&dialog)) {
                ++printDialogs;
                return onPrintDialog && onPrintDialog(*print) ? int(QDialog::Accepted)
                                                              : int(QDialog::Rejected);
            }
            return dialog.exec();
        });
    }

    QStringList mAnswers;
    bool mEveryTime = false;
};

} // namespace qm::test
