#pragma once

// The shipped label sheet templates, sysdata/LBLTPL.DBF, read-only, in DESCRIPT tag order: the
// rows a picker filter matches, and one template's geometry by its description.

#include "data/TDataSet.h"
#include "labels/TLabelGeometry.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace qm::labels {

class TLabelTemplates {
public:
    // The sysdata folder whose LBLTPL.DBF is read: the program home's when it holds one, else the
    // installed data folder's. Needs the application object (the installed folder is found
    // beside the program).
    static QString DefaultFolder();

    // Opens the table read-only. Returns an empty text or "Unable to Open LBLTPL.DBF" (a missing
    // template table is never created).
    QString Open(const QString& sysdataDir);
    void Close();

    // The descriptions of the rows matching the xBase expression (every row for an empty one),
    // in tag order. Throws xbase::TXbaseError for an expression the engine refuses.
    QStringList Matching(const QString& expression);
    // The template whose description equals the text exactly (trailing blanks aside), with its
    // description in templateDescription; nothing when there is none. *problem gets a text when
    // the row's numbers cannot be read.
    std::optional<TLabelGeometry> Find(const QString& description, QString* problem = nullptr);

private:
    data::TDataSet mSet;
};

} // namespace qm::labels
