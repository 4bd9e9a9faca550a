#pragma once

// The address file's calculated fields, recomputed for every record the table fetches:
// DisplayDate (DATE shown as mm/dd/yyyy, empty when not a valid date), Tagged (TAG equals the tag
// identifier), and, only while a label, envelope or report window asks for them, FullName,
// FullNameWithPrefix and CityStateZip. Field values are taken without trailing blanks; results
// longer than the field are cut by the data set.

#include <QString>
#include <functional>

namespace qm::data {

class TDataSet;
class TGridRow;

class TCalculatedFields {
public:
    using TValue = std::function<QString(const QString& field)>;

    // "YYYYMMDD..." to "mm/dd/yyyy"; empty when blank or not a valid date.
    static QString DisplayDate(const QString& stored);
    static QString FullName(const TValue& value);
    static QString FullNameWithPrefix(const TValue& value);
    static QString CityStateZip(const TValue& value);
    static bool Tagged(const QString& tag, const QString& tagIdentifier);

    // Installs the computation on the data set. tagIdentifier and withNames are read at each
    // fetch, so changing them takes effect at the next record.
    static void Install(TDataSet& dataSet, const QString* tagIdentifier, const bool* withNames);
    // The value of a calculated column of a grid row.
    static QString ForGridRow(const TGridRow& row, const QString& field,
                              const QString& tagIdentifier);
};

} // namespace qm::data
