#pragma once

// Finds existing files without regard to letter case, so that tables copied from systems that
// ignore case ("add0001.dbf" next to "ADD0001.CDX") open. An exact match always wins.

#include <QString>

namespace qm::data {

class TFileFinder {
public:
    // The existing path in dir whose name equals name in any letter case, or an empty string.
    static QString FindInDir(const QString& dir, const QString& name);

    // Resolves a relative path ("DATA/add0001.DBF") below base component by component. Returns
    // the existing path, or an empty string when some component is missing.
    static QString Find(const QString& base, const QString& relativePath);

    // The companion of a file with another extension ("X.DBF" -> "x.cdx"), found in any case;
    // empty when there is none.
    static QString FindCompanion(const QString& path, const QString& extension);
};

} // namespace qm::data
