#pragma once

// The user's reports: the rows of sysdata/REPORT.DBF (description, layout name, layout file) as
// the "Report Designer" tab lists them, and every row operation: Load, Save, Clone and Delete.
//
// Contract:
// - The table is opened (or created) exclusively by Open and closed by Close or the destructor.
//   The list leaves out rows carrying the deletion mark and is in DESCRIPT tag order; it is
//   reloaded after every change.
// - Layout files are reached only through TLayoutFileNames: a row whose BINARY is not a report
//   layout name ("BIN" + five digits + ".R") makes no file be read, written, copied or deleted;
//   the name's problem is reported instead.
// - A new file name is the first of BIN00001.R .. BIN99999.R that neither exists in sysdata nor
//   is held by any row of the table (marked rows and rows whose file is gone included), so two
//   reports never share a file. With every name taken, nothing is written and the reason says so.
// - Nothing is lost on failure, also when the process is killed half-way: Save writes the
//   design to a new layout file (complete and on the disk) before the row that names it is
//   appended or rewritten and committed, and the file the row named before goes only after that;
//   Clone copies the file before it appends the row. Until the row is committed both files carry
//   a pending mark (data::TPendingFiles): after a failure, and at the next Open, the file a row
//   names stays and the other goes. A failed change leaves the earlier row and file as they were.
// - Every change is committed, so the index on disk is in step with the table; after a failed
//   one the table is opened again and the list shows what the files hold. An index found out of
//   step or damaged at Open is rebuilt there, and Notice() says so.
// - The store asks no questions; the window asks them (DeleteQuestion, CloneQuestion) first.
//   Engine and data set errors inside an operation come back as its error text.

#include "data/TDataSet.h"
#include "reports/TReportSettings.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

namespace qm::design {
class TGBasePanel;
class TGOwner;
} // namespace qm::design

namespace qm::reports {

struct TReportRow {
    std::uint32_t recNo = 0; // 0: a new report, not in the table yet
    QString description;
    QString layoutName;
    QString layoutFile; // BINARY as stored, blanks dropped

    bool IsNew() const { return recNo == 0; }
    bool operator==(const TReportRow&) const = default;
};

class TReportStore {
public:
    static constexpr int kMaxDescriptionLength = 60;

    TReportStore();
    ~TReportStore();
    TReportStore(const TReportStore&) = delete;
    TReportStore& operator=(const TReportStore&) = delete;

    // Opens (or creates) REPORT.DBF in sysdataDir and loads the list. Returns an empty text or
    // the failure message ("Unable to Open or Create REPORT.DBF", with the reason on a second
    // line when there is one).
    QString Open(const QString& sysdataDir);
    // Reports a failure to write what was pending; the destructor never throws.
    void Close();
    bool IsOpen() const { return mSet.Active(); }
    // What Open found and did about the table's index; empty when it was in order.
    const QString& Notice() const { return mNotice; }
    const QString& SysdataDir() const { return mSysdataDir; }
    // The open table (for a grid bound to it); the list is the store's.
    data::TDataSet& DataSet() { return mSet; }

    void Reload();
    const std::vector<TReportRow>& Rows() const { return mRows; }
    bool IsEmpty() const { return mRows.empty(); }
    // The list index of a description (exact, trailing blanks aside); -1 when none.
    int Find(const QString& description) const;
    // The list index of a row whose file is this name (any letter case); -1 when none.
    int FindFile(const QString& fileName) const;
    int IndexOfRecord(std::uint32_t recNo) const;

    // A report not in the table yet: "<new report>", "Letter Size, Portrait", no file name.
    static TReportRow NewRow();

    // The path of a row's layout file in sysdata (whether or not it exists). Throws
    // design::TLayoutError (FileName) when the row names no report layout file.
    QString LayoutPath(const TReportRow& row) const;

    // Empties the three bands (header, detail, footer) and loads the row into them: a new row, or
    // a row whose file does not exist, gives TReportSettings::NewReport() and empty bands. Throws
    // design::TLayoutError: FileName for a row naming no report layout file (nothing is read;
    // the caller may go on with a new report, Save then gives the row a file of its own), or the
    // filer's message for a damaged file (the objects read before the fault stay).
    TReportSettings Load(const TReportRow& row, design::TGOwner& owner,
                         const std::array<design::TGBasePanel*, 3>& bands) const;

    // Save after the designer: the bands and settings are written to a new layout file, then the
    // row is appended or rewritten with the description (at most 60 characters), the layout name
    // (the settings' own, else row.layoutName) and the new file's name, and the file the row
    // named before is removed (unless another row names it). Only when all 99,999 names are taken
    // does a row with a file of its own rewrite that file in place. On success row takes the
    // stored values (record number and file name included) and the row's list index is returned;
    // on failure -1 with the reason in *error, and the table and the old file are as they were.
    int Save(TReportRow& row, const std::array<design::TGBasePanel*, 3>& bands,
             const TReportSettings& settings, QString* error);

    // A file name for a new or cloned report (see the header comment); empty with the reason in
    // *error when all 99,999 names are taken.
    QString FreeFileName(QString* error = nullptr) const;

    // Copies the row's layout file byte for byte to a free name, then appends "Clone of " + the
    // description (cut to 60 characters) with the same layout name, naming the copy. A row whose
    // file is missing still gets its clone (which then loads as a new report). Returns the new
    // row's list index, or -1 with the reason in *error (nothing added, no file left behind).
    int Clone(int row, QString* error);

    // Marks the row deleted and removes its layout file, unless another row still names the same
    // file. A row naming no report layout file is deleted and no file is touched; *note then
    // says why. Returns false (with the reason in *note) when the row could not be deleted.
    bool Delete(int row, QString* note = nullptr);

    // The confirmation texts the window shows first (captions "DELETE" and "CLONE").
    static QString DeleteQuestion(const QString& description);
    static QString CloneQuestion(const QString& description);
    static QString AllNamesTakenMessage();

private:
    bool GoToRow(std::uint32_t recNo);
    // Every layout name held by any row of the table, marked rows included, upper case.
    QStringList HeldNames() const;
    // After a failed change: the table opened again, pending files settled, the list reloaded.
    void Recover();
    // Keeps each pending report layout file a row names and removes the others.
    void SettlePending();

    data::TDataSet mSet;
    QString mSysdataDir;
    QString mNotice;
    std::vector<TReportRow> mRows;
};

} // namespace qm::reports
