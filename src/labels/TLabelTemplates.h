#pragma once

// The label sheet templates the picker offers: the shipped sysdata/LBLTPL.DBF, read-only, and
// the user's own templates in sysdata/LBLUSER.DBF (rows read from template files the user
// imported, TLabelTemplateImport), merged into one list in DESCRIPT tag order. A row of the
// user's own with the description of a shipped row takes that row's place. Both tables have the
// same columns; a filter expression applies to both.

#include "data/TDataSet.h"
#include "labels/TLabelGeometry.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace qm::labels {

class TLabelTemplates {
public:
    // The sysdata folder whose LBLTPL.DBF is read: the program home's when it holds one, else the
    // installed data folder's. Needs the application object (the installed folder is found
    // beside the program).
    static QString DefaultFolder();
    // The folder of the user's own templates: the program home's sysdata; empty without a home.
    static QString DefaultUserFolder();

    // Opens LBLTPL from sysdataDir read-only, and LBLUSER from userDir when it is there. Returns
    // an empty text or "Unable to Open LBLTPL.DBF" (a missing template table is never created).
    // Trouble with the user's table does not fail the open: the list then holds the shipped rows
    // and OwnProblem() says what is wrong.
    QString Open(const QString& sysdataDir, const QString& userDir);
    QString Open(const QString& sysdataDir) { return Open(sysdataDir, sysdataDir); }
    void Close();
    // Lets go of the user's table (so that an import can write it), and reads it again after.
    void CloseOwn();
    void ReopenOwn();
    const QString& OwnProblem() const { return mOwnProblem; }
    // The folder of the user's own table given to Open; empty when there is none.
    const QString& UserFolder() const { return mUserDir; }

    struct TEntry {
        QString description;
        bool own = false; // a row of the user's own templates
        bool operator==(const TEntry&) const = default;
    };
    // The rows matching the xBase expression (every row for an empty one), in tag order. Throws
    // xbase::TXbaseError for an expression the engine refuses.
    std::vector<TEntry> Entries(const QString& expression);
    // Their descriptions.
    QStringList Matching(const QString& expression);

    // The template whose description equals the text exactly (trailing blanks aside), the user's
    // own first, with its description in templateDescription; nothing when there is none.
    // *problem gets a text when the row's numbers cannot be read.
    std::optional<TLabelGeometry> Find(const QString& description, QString* problem = nullptr);

    // Every maker (MANUFAC) of both tables other than those the picker's first items name (AVERY,
    // COSTAR, NEBS), once each whatever its letter case, sorted without regard to case.
    QStringList Makers();

private:
    void OpenOwn();

    data::TDataSet mSet;
    data::TDataSet mOwn;
    QString mUserDir;
    QString mOwnProblem;
};

} // namespace qm::labels
