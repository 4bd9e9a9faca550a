#pragma once

// The user's label layouts: the rows of sysdata/LABEL.DBF as the "Print Labels" window lists
// them, and the row operations that do not need the designer (Delete, Clone, and writing a row
// back from the working record after New or Modify).
//
// The list is in DESCRIPT tag order and leaves out rows carrying the deletion mark and rows whose
// DELETED column is true. A row's layout file is reached only through TLayoutFileNames::PathFor,
// so a row naming anything but a layout file of sysdata/ makes no file be read, written or
// deleted. A new layout name avoids every existing file and every name any LABEL row holds
// (hidden rows and rows whose file is gone included), so two layouts never share a file.
//
// The table is opened by Open and closed by Close or the destructor. Questions and messages go
// through TMessageService. Engine errors propagate as xbase::TXbaseError and data set errors as
// data::TDataSetError; the list is reloaded after every change.

#include "data/TDataSet.h"
#include "labels/TLabelGeometry.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

class QWidget;

namespace qm::labels {

struct TLabelListRow {
    uint32_t recNo = 0;
    TLabelGeometry geometry;
    // Empty when the row describes a printable sheet; else why it does not, naming the row.
    QString problem;
};

class TLabelLayoutStore {
public:
    // Copies a layout file to a new path; returns an empty text or the error to show. The default
    // copies the file's bytes, writing the new file under a temporary name first.
    using TCopyLayout = std::function<QString(const QString& from, const QString& to)>;

    TLabelLayoutStore();
    ~TLabelLayoutStore();

    // Opens (or creates) LABEL.DBF in sysdataDir and loads the list. Returns an empty text or the
    // failure message ("Unable to Open or Create LABEL.DBF").
    QString Open(const QString& sysdataDir);
    void Close();
    bool IsOpen() const { return mSet.Active(); }
    const QString& SysdataDir() const { return mSysdataDir; }

    void Reload();
    const std::vector<TLabelListRow>& Rows() const { return mRows; }
    bool IsEmpty() const { return mRows.empty(); }
    // The list row of a description (exact, trailing blanks aside); -1 when none.
    int Find(const QString& description) const;

    // The working record the window starts with: the first listed row, or "Default Label Setup"
    // while there is none.
    TLabelGeometry WorkingRecord(int row) const;

    // The layout file of a row: its path in sysdata/, or empty (with the reason in *why) when the
    // row names no layout file or the file does not exist.
    QString LayoutPath(int row, QString* why = nullptr) const;
    // A layout file name for a new or cloned layout (see the header comment).
    QString NewLayoutName() const;

    // "Delete \"<description>\"?" (caption "DELETE", Yes/No). On Yes the row is marked deleted
    // and its layout file removed, unless another row still names the same file. Returns true
    // when the row was deleted.
    bool Delete(int row, QWidget* parent = nullptr);
    // "Clone \"<description>\"?" (caption "CLONE", Yes/No). On Yes the layout file is copied to a
    // new name and a row "Clone of :<description>" (50 characters at most) with every other value
    // copied is appended. A missing layout file: "Label definition file has been removed from the
    // sysdata directory" and nothing else happens. Returns the new row's list index, or -1.
    int Clone(int row, QWidget* parent = nullptr);
    void SetCopyLayout(TCopyLayout copy) { mCopy = std::move(copy); }

    // Appends a row written from the working record (New, after the designer saved); returns
    // its list index.
    int Append(const TLabelGeometry& geometry);
    // Rewrites a listed row from the working record (Modify, after the designer saved).
    void Rewrite(int row, const TLabelGeometry& geometry);

    static QString MissingLayoutMessage();
    // Why a new or cloned layout cannot be stored when NewLayoutName finds no free name.
    static QString AllNamesTakenMessage();

private:
    bool GoToRow(int row);
    int IndexOfRecord(uint32_t recNo) const;
    // Every layout name held by any row of the table, upper case.
    QStringList HeldNames() const;

    data::TDataSet mSet;
    QString mSysdataDir;
    std::vector<TLabelListRow> mRows;
    TCopyLayout mCopy;
};

} // namespace qm::labels
