#pragma once

// The letters window ("Print Letters"): the stored letters by description, with Modify, New,
// Delete and Clone; "What to Print" and the copies; the printer in use; Print and Preview of the
// selected letter. Opened by the main window with its address table, which the window prints
// from and puts back (TLetterScope) after each print. The LETTER table is open (exclusively) for
// as long as the window is.
//
// Tests replace the print dialog, the page sink and the designer through the hooks.

#include "letters/TLetterBounds.h"
#include "letters/TLetterStore.h"

#include <QDate>
#include <QDialog>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class QPrinter;

namespace qm::data {
class TDataSet;
}
namespace qm::richtext {
class TRichDocument;
struct TRtfReadResult;
} // namespace qm::richtext

namespace qm::letters {

class TLetterDesign;
class TLetterPageSink;

class TqMLetters : public QDialog {
public:
    static constexpr int kHelpContext = 7001;
    // The section name of the window's placement in the settings file.
    static constexpr const char* kClassName = "TqMLetters";

    // Shows the print dialog on the printer; true to print.
    using TPrintDialogHook = std::function<bool(QPrinter* printer)>;
    // Makes the sink a print goes to (default: the selected printer).
    using TSinkFactory = std::function<std::unique_ptr<TLetterPageSink>(const TLetterPageTwips&)>;
    // Runs a modal window (the designer, the status window, the preview); returns its result.
    using TRunHook = std::function<int(QDialog& dialog)>;
    using TClock = std::function<QDate()>;

    // filterExpression: the main window's filter (empty: "Records matching filter" is off).
    TqMLetters(data::TDataSet& addresses, const QString& filterExpression,
               const QString& sysdataDir, QWidget* parent = nullptr);
    ~TqMLetters() override;

    // Empty when the window may be shown, else the failure message ("Unable to Open or Create
    // LETTER.DBF").
    QString OpenFailure() const { return mOpenFailure; }

    void SetPrintDialogHook(TPrintDialogHook hook) { mPrintDialog = std::move(hook); }
    void SetSinkFactory(TSinkFactory factory) { mSinkFactory = std::move(factory); }
    void SetRunHook(TRunHook hook) { mRunHook = std::move(hook); }
    void SetClock(TClock clock) { mClock = std::move(clock); }

    TLetterStore& Store() { return mStore; }
    // Shows the store's rows again and selects a row (after a change made through Store()).
    void FillList(int select);
    int SelectedRow() const;
    void SelectRow(int row);

    void ModifyButtonClick();
    void NewButtonClick();
    void DeleteButtonClick();
    void CloneButtonClick();
    void PrintNowClick();
    void PreviewButtonClick();
    void PrinterSetupClick();
    void SetLetterButtons();

    QTableWidget* LetterList() const { return mList; }
    QRadioButton* AllRecordsButton() const { return mAll; }
    QRadioButton* FilterButton() const { return mFilter; }
    QRadioButton* CurrentButton() const { return mCurrent; }
    QCheckBox* StartFromCurrentBox() const { return mStartFromCurrent; }
    QSpinBox* CopiesEdit() const { return mCopies; }
    QLabel* PrinterLabel() const { return mPrinterLabel; }
    QPushButton* Button(const QString& name) const;

protected:
    // The first showing restores the placement saved when the window last closed.
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    // Loads the selected letter into document; false (message shown) when it cannot be read.
    bool LoadSelected(richtext::TRichDocument& document);
    using TLoad = std::function<richtext::TRtfReadResult(const QByteArray& bytes)>;
    bool LoadSelected(const TLoad& load);
    // Runs the designer; on Ok stores the letter (appended when row < 0).
    void Design(int row);
    int Run(QDialog& dialog);
    void ShowPrinterName();
    void SavePlacement();

    data::TDataSet& mAddresses;
    QString mFilterExpression;
    TLetterStore mStore;
    QString mOpenFailure;
    TPrintDialogHook mPrintDialog;
    TSinkFactory mSinkFactory;
    TRunHook mRunHook;
    TClock mClock;
    bool mActivated = false;
    bool mNewLetter = false;
    bool mPlacementSaved = false;

    QTableWidget* mList = nullptr;
    QRadioButton* mAll = nullptr;
    QRadioButton* mFilter = nullptr;
    QRadioButton* mCurrent = nullptr;
    QCheckBox* mStartFromCurrent = nullptr;
    QSpinBox* mCopies = nullptr;
    QLabel* mPrinterLabel = nullptr;
};

} // namespace qm::letters
