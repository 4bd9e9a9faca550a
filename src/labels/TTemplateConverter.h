#pragma once

// Turns the templates of one label template file into rows of the template table, by the rules
// that scripts/convert-label-templates applies to the shipped table (docs/formats/
// label-templates.md describes them column by column); a test runs both over the whole template
// database and compares every row. Each template gives one row under its own product number (an
// equivalent takes its sheet's geometry); a template the table cannot describe is left out with
// the reason. Nothing here touches a table.

#include "labels/TTemplateFile.h"
#include "labels/TTemplateRow.h"

#include <QString>
#include <vector>

namespace qm::labels {

class TTemplateConverter {
public:
    // Why a template was left out, as the converter's summary counts them.
    enum class TReason {
        Disc,
        ContinuousRoll,
        UnequalGrid,
        TooSmall,
        FamilyEntry,
        Repeated,
        Other
    };

    struct TLeftOut {
        QString message; // "herma.xml: Herma 4464: the labels run off the sheet"
        TReason reason = TReason::Other;
    };

    struct TResult {
        std::vector<TTemplateRow> rows; // in file order
        std::vector<TLeftOut> leftOut;  // in file order
    };

    // fileName names the file in messages and in each row's source.
    static TResult Convert(const TTemplateFile& file, const QString& fileName);

    // The single rules, for the tests and the documentation's examples.
    static QString MakerName(const QString& brand);
    static QString PrinterCode(const QString& brand, const QString& part, bool labelPrinter);
    static QString ProductGroup(const QString& kindOfSheet, const QStringList& categories);
    static QString KindOfSheet(const QString& description);
    static QString Description(const QString& brand, const QString& part, const QString& kind);
    // The reason's words in the summary ("disc labels").
    static QString ReasonText(TReason reason);
};

} // namespace qm::labels
