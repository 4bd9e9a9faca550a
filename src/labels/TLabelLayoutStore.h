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
// Nothing is lost on failure, also when the process is killed half-way: a design is written to
// a new layout file (complete and on the disk) before the row naming it is appended or rewritten,
// and the file the row named before goes only after that; Clone copies the file before its row
// is appended. Until the row is committed the files carry a pending mark (data::TPendingFiles):
// after a failure, and at the next Open, the file a row names stays and the other goes.
//
// Every change is committed at once, so the index on disk is in step with the table also while
// the table stays open; an index found out of step or damaged at Open is rebuilt there (Notice()
// says so). After a failed change the table is opened again, so the list shows what the files
// hold.
//
// The table is opened by Open and closed by Close (which reports a failure to write) or the
// destructor (which never throws). Questions and messages go through TMessageService. Engine
// errors propagate as xbase::TXbaseError and data set errors as data::TDataSetError; the list is
// reloaded after every change.

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
    // What Open found and did about the table's index; empty when it was in order.
    const QString& Notice() const { return mNotice; }
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

    // Appends a row written from the working record; returns its list index.
    int Append(const TLabelGeometry& geometry);
    // Rewrites a listed row from the working record.
    void Rewrite(int row, const TLabelGeometry& geometry);
    // Save after the designer (New: row -1; Modify: the listed row): write(path) writes the
    // design to a new layout file (throwing design::TLayoutError when it cannot), then the row is
    // appended or rewritten from geometry naming that file, and the file the row named before
    // is removed (unless another row names it). Only when all names are taken does a layout with
    // a file of its own rewrite it in place. Returns the row's list index, or -1 with the reason
    // in *error; then the table and the earlier file are as they were.
    int SaveDesign(int row, TLabelGeometry geometry,
                   const std::function<void(const QString& path)>& write, QString* error);

    static QString MissingLayoutMessage();
    // Why a new or cloned layout cannot be stored when NewLayoutName finds no free name.
    static QString AllNamesTakenMessage();

private:
    bool GoToRow(int row);
    // Appends (recNo 0) or rewrites a row and commits; returns its record number. On failure the
    // table is opened again and the error goes on.
    uint32_t WriteRow(uint32_t recNo, const TLabelGeometry& geometry);
    // After a failed change: the table opened again, pending files settled, the list reloaded.
    void Recover();
    // Keeps each pending label layout file a row names and removes the others.
    void SettlePending();
    int IndexOfRecord(uint32_t recNo) const;
    // Every layout name held by any row of the table, upper case.
    QStringList HeldNames() const;

    data::TDataSet mSet;
    QString mSysdataDir;
    QString mNotice;
    std::vector<TLabelListRow> mRows;
    TCopyLayout mCopy;
};

} // namespace qm::labels
