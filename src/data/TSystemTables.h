#pragma once

// The program's own tables in sysdata/: letters, reports, envelope and label layouts (created by
// the program when missing), the label sheet templates and the state/ZIP ranges (shipped with the
// program, never created). Each has a compound index of the same name holding one tag.

#include "xbase/TFieldDef.h"
#include "xbase/TFileIoSystem.h"
#include "xbase/TTable.h"

#include <QString>
#include <functional>
#include <vector>

namespace qm::data {

class TDataSet;

// UserLabelTemplates is the user's own label sheet templates (LBLUSER), read from template files
// the user imported: the columns of LBLTPL, kept in a table of their own so that replacing the
// shipped LBLTPL never touches them. The program creates it on the first import.
enum class TSystemTable {
    Letter,
    Report,
    Envelope,
    Label,
    LabelTemplates,
    StateZip,
    UserLabelTemplates
};

struct TSystemTableSchema {
    TSystemTable table;
    const char* name; // "LETTER": the file is name + ".DBF", its index name + ".CDX"
    std::vector<xbase::TFieldDef> fields; // empty for shipped tables
    const char* tag;
    const char* tagExpression;     // the tag as open-or-create makes it
    const char* rebuildExpression; // the tag as the system index rebuild makes it
    const char* rebuildText;       // the rebuild dialog's text line
    const char* failureMessage;
    bool createdByProgram;
};

class TSystemTables {
public:
    static const TSystemTableSchema& Schema(TSystemTable table);
    // The tables in the order the system index rebuild takes them, each with its own text line.
    // The user's own templates, when they exist, are rebuilt right after LBLTPL under the same
    // "Label Setup" line.
    static const std::vector<TSystemTable>& RebuildOrder();

    // Opens the table from sysdataDir into the data set (which takes every field of the file).
    // A program-made table whose file does not exist is created with its fields and opened
    // exclusively; a missing index gets its tag. Returns an empty text on success, else the
    // failure message to show (with the reason on a second line when the engine gave one). A file
    // that exists but cannot be opened (damaged, in use) is reported, never created over.
    //
    // An index that is out of step with the table (a process killed while it wrote) or damaged
    // would list the wrong rows, so it is never used as it is: opened exclusively, the table's
    // tag is built again in place, once, and *notice says so; opened otherwise (nothing may be
    // written), the table is used without its index (rows in the order they were added) and
    // *notice says that. *notice is empty when the index was in order.
    static QString OpenOrCreate(TDataSet& dataSet, TSystemTable table, const QString& sysdataDir,
                                xbase::TOpenMode mode = xbase::TOpenMode::Exclusive,
                                QString* notice = nullptr);

    // After a write the engine refused, a table takes no further writes until it is opened
    // again: closes the data set without writing more (its errors are dropped) and opens the
    // table as OpenOrCreate does, so that what is shown is what the files hold.
    static QString Reopen(TDataSet& dataSet, TSystemTable table, const QString& sysdataDir,
                          xbase::TOpenMode mode = xbase::TOpenMode::Exclusive,
                          QString* notice = nullptr);
    // Before a row is changed in place: marks the index on disk out of step with the table, so
    // that a process stopped after the record was written but before its key was (the engine
    // writes the record first) leaves an index the next open rebuilds. The commit that ends the
    // change marks it in step again. Throws xbase::TXbaseError.
    static void MarkIndexOutOfStep(xbase::TTable& table);
    // Closes the data set; a failure to write what was pending is dropped (for destructors and
    // for paths that report an earlier failure).
    static void CloseQuietly(TDataSet& dataSet) noexcept;

    // Rebuilds one table: opened exclusively, its index file deleted, marked rows packed away,
    // the tag created again, closed. Throws xbase::TXbaseError.
    static void RebuildIndex(TSystemTable table, const QString& sysdataDir,
                             const xbase::TProgress& progress = {});

    // Rebuilds every table in order; errors skip the rest of that table. onTable gets each
    // table's text line before its work starts. The user's own templates are rebuilt after LBLTPL
    // when their file exists (never created here), whether or not LBLTPL could be rebuilt.
    static void RebuildAll(const QString& sysdataDir,
                           const std::function<void(const QString& text)>& onTable,
                           const xbase::TProgress& progress = {});

    // The table's file in sysdataDir, found in any letter case (or the path it would have).
    static QString FilePath(TSystemTable table, const QString& sysdataDir);

    // Test seam: the file layer every system table is opened, created and rebuilt through
    // (nullptr: the operating system's files). Returns the layer it replaces.
    static xbase::TFileIoSystem* UseFiles(xbase::TFileIoSystem* files);
    static xbase::TFileIoSystem& Files();
};

} // namespace qm::data
