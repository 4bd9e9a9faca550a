#pragma once

// "Import Label Sheets...": reads a label template file (TTemplateFile), converts its templates
// into rows (TTemplateConverter) and writes them into the user's own template table,
// sysdata/LBLUSER.DBF, which it creates on first use. The shipped LBLTPL is never written.
//
// A row equal to one already listed (shipped or the user's own), column for column, is not
// written again; a row of the user's own with the same description but other values is rewritten
// (the newer file wins); any other row is appended. A file that is not a template file, or whose
// templates the table can hold none of, adds nothing and Summary() says why.
//
// Rows are written one at a time through the engine, each complete when its Post returns, so a
// write that fails (or a program that is killed) leaves the rows written before it and no half
// row; the result then says how many were written before the failure. Importing the same file
// again writes nothing new.

#include "labels/TTemplateConverter.h"

#include <QString>
#include <vector>

namespace qm::labels {

class TLabelTemplates;

class TLabelTemplateImport {
public:
    struct TResult {
        QString fileName; // the file's name without its folder, for messages
        QString refused;  // why the file added nothing as a whole (not read, not a template file)
        QString writeFailed; // why writing the table stopped part-way; rows before it stay
        int templates = 0;   // templates in the file
        int added = 0;
        int replaced = 0;
        int alreadyListed = 0;
        std::vector<TTemplateConverter::TLeftOut> leftOut;
        QStringList makers;       // the makers of the rows written or already listed
        QString firstDescription; // the first such row in file order, for the picker to show

        int Usable() const { return added + replaced + alreadyListed; }
        bool Succeeded() const
        {
            return refused.isEmpty() && writeFailed.isEmpty() && Usable() > 0;
        }
        // What the user is told: what was added, replaced and already listed, then each template
        // left out with its reason (the first maxLeftOut of them, then how many more).
        QString Summary(int maxLeftOut = 12) const;
    };

    // Imports the file at path into userDir/LBLUSER.DBF (userDir is made when missing). templates
    // must be open: it tells which rows are already listed, and its view of the user's table is
    // read again afterwards.
    static TResult Run(const QString& path, const QString& userDir, TLabelTemplates& templates);
};

} // namespace qm::labels
