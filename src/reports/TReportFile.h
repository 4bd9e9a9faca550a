#pragma once

// A report's layout file ("BINnnnnn.R" in the system data folder): the header, detail and footer
// bands with their objects, then the report settings (docs/formats/report-layout.md).

#include "reports/TReportSettings.h"

#include <QString>

#include <array>

namespace qm::design {
class TGBasePanel;
class TGOwner;
} // namespace qm::design

namespace qm::reports {

class TReportFile {
public:
    // Writes the three bands (header, detail, footer) and the settings, replacing the file only
    // when complete. Throws design::TLayoutError with the filer's message.
    static void Save(const std::array<const design::TGBasePanel*, 3>& bands,
                     const TReportSettings& settings, const QString& path);

    // Save as the designer needs it: the bands are written at 100 % coordinates and with no
    // record values (each band rescaled to 1.0 and its objects' data cleared for the write, then
    // refreshed and rescaled back, also when the write fails).
    static void SaveDesign(const std::array<design::TGBasePanel*, 3>& bands,
                           const TReportSettings& settings, const QString& path);

    // Appends the file's objects to the three bands and returns its settings. A missing file
    // gives TReportSettings::NewReport() and no objects. A damaged file throws
    // design::TLayoutError; the objects read before the fault stay on the bands.
    static TReportSettings Load(design::TGOwner& owner,
                                const std::array<design::TGBasePanel*, 3>& bands,
                                const QString& path);
};

} // namespace qm::reports
