#pragma once

// The user's envelope layouts: the rows of sysdata/ENVELOPE.DBF as the "Print Envelope" window
// lists them (in DESCRIPT tag order, rows carrying the deletion mark left out), and every row
// operation: New and Modify's preparation, Save, Delete and Clone.
//
// Layout files are reached only through TLayoutFileNames::PathFor: a row naming anything but an
// envelope layout file of sysdata/ makes no file be read, written, copied or deleted. A new
// layout name avoids every existing file and every name any ENVELOPE row holds (marked rows and
// rows whose file is gone included), so two layouts never share a file.
//
// Nothing is lost on failure, also when the process is killed half-way: Save writes the design
// to a new layout file (complete and on the disk) before the row naming it is appended or
// rewritten and committed, and the file the row named before goes only after that; Clone copies
// the file before its row is appended. Until the row is committed the files carry a pending mark
// (data::TPendingFiles): after a failure, and at the next Open, the file a row names stays and the
// other goes. A failed change leaves the earlier row and file as they were.
//
// Every change is committed, so the index on disk is in step with the table; an index found out
// of step or damaged at Open is rebuilt there (Notice() says so). After a failed change the table
// is opened again, so the list shows what the files hold.
//
// The table is opened by Open and closed by Close (which reports a failure to write) or the
// destructor (which never throws). Questions and messages go through TMessageService. Engine
// errors propagate as xbase::TXbaseError and data set errors as data::TDataSetError; the list is
// reloaded after every change.

#include "data/TDataSet.h"
#include "envelopes/TEnvelopeLayout.h"

#include <QString>
#include <QStringList>
#include <vector>

class QWidget;

namespace qm::design {
class TGBasePanel;
}

namespace qm::envelopes {

class TEnvelopeLayoutStore {
public:
    TEnvelopeLayoutStore();
    ~TEnvelopeLayoutStore();
    TEnvelopeLayoutStore(const TEnvelopeLayoutStore&) = delete;
    TEnvelopeLayoutStore& operator=(const TEnvelopeLayoutStore&) = delete;

    // Opens (or creates) ENVELOPE.DBF in sysdataDir and loads the list. Returns an empty text or
    // the failure message ("Unable to Open or Create ENVELOPE.DBF").
    QString Open(const QString& sysdataDir);
    void Close();
    bool IsOpen() const { return mSet.Active(); }
    // What Open found and did about the table's index; empty when it was in order.
    const QString& Notice() const { return mNotice; }
    const QString& SysdataDir() const { return mSysdataDir; }

    void Reload();
    const std::vector<TEnvelopeLayout>& Rows() const { return mRows; }
    bool IsEmpty() const { return mRows.empty(); }
    // The list index of a description (exact, trailing blanks aside); -1 when none.
    int Find(const QString& description) const;
    // The list index of a record number; -1 when it is not listed.
    int IndexOfRecord(uint32_t recNo) const;

    // The working values of a listed row; "Envelope #10" with code 20 while there is none.
    TEnvelopeLayout WorkingValues(int row) const;
    // A new layout of the given size: "<New envelope>" and a new layout file name.
    TEnvelopeLayout NewLayout(int code) const;
    // Modify: the layout file to load into the designer, or empty when there is none to load
    // (the row's file is missing, or the row names no envelope layout file); then values get a
    // new layout file name, silently, so that Save never writes anywhere else.
    QString PrepareModify(TEnvelopeLayout& values) const;

    // The layout file a row prints from, or empty with the message to show in *why: the
    // missing-file message when it does not exist or the row names no envelope layout file.
    QString LayoutPath(int row, QString* why = nullptr) const;
    QString NewLayoutName() const;

    // Save after the designer: writes the panel's objects to a new layout file, then appends a
    // row (new layout) or rewrites the row values.recNo, storing the description (at most 50
    // characters), the code and the new file's name, and removes the file the row named before
    // (unless another row names it). Only when all names are taken does a layout with a file of
    // its own rewrite it in place. Returns the row's list index, or -1 with the reason in *error
    // when the file or the row could not be written; then the table and the old file are as
    // before.
    int Save(const TEnvelopeLayout& values, design::TGBasePanel& panel, QString* error);

    // "Delete \"<description>\"?" (caption "DELETE", Yes/No). On Yes the row is marked deleted
    // and its layout file removed, unless another row still names the same file. Returns true
    // when the row was deleted.
    bool Delete(int row, QWidget* parent = nullptr);
    // "Clone \"<description>\"?" (caption "CLONE", Yes/No). On Yes the layout file is copied to
    // a new name, then a row "Clone of <description>" with the same code naming the copy is
    // appended. A copy that fails adds no row (its message is shown); a missing source file still
    // gives the row, which then prints the missing-file message. Returns the new row's list index,
    // or -1.
    int Clone(int row, QWidget* parent = nullptr);

    // Why a new or cloned layout cannot be stored when NewLayoutName finds no free name.
    static QString AllNamesTakenMessage()
    {
        return QStringLiteral("All 99,999 envelope layout file names (BIN00001.E to BIN99999.E) "
                              "are in use in the sysdata folder or by rows of ENVELOPE.DBF. "
                              "Delete envelope layouts you no longer need, then try again.");
    }
    static QString MissingLayoutMessage()
    {
        return QStringLiteral("Envelope definition file has been removed from the sysdata "
                              "directory");
    }

private:
    bool GoToRow(uint32_t recNo);
    // After a failed change: the table opened again, pending files settled, the list reloaded.
    void Recover();
    // Keeps each pending envelope layout file a row names and removes the others.
    void SettlePending();
    void WriteRow(const TEnvelopeLayout& values);
    // An envelope layout path for a stored name, or empty when the name is no such file name.
    QString PathOf(const QString& storedName) const;
    // Every layout name held by any row of the table, marked rows included.
    QStringList HeldNames() const;

    data::TDataSet mSet;
    QString mSysdataDir;
    QString mNotice;
    std::vector<TEnvelopeLayout> mRows;
};

} // namespace qm::envelopes
