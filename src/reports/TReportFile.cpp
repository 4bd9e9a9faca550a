#include "reports/TReportFile.h"

#include "design/core/TGBasePanel.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/core/TGOwner.h"
#include "design/stream/TLayoutReader.h"
#include "design/stream/TLayoutWriter.h"

#include <optional>

namespace qm::reports {

using design::TGLabelObjectFiler;

void TReportFile::Save(const std::array<const design::TGBasePanel*, 3>& bands,
                       const TReportSettings& settings, const QString& path)
{
    TGLabelObjectFiler::WriteBands(
        bands, path, [&settings](design::TLayoutWriter& out) { settings.Write(out); });
}

void TReportFile::SaveDesign(const std::array<design::TGBasePanel*, 3>& bands,
                             const TReportSettings& settings, const QString& path)
{
    std::array<float, 3> scales{};
    for (std::size_t i = 0; i < bands.size(); ++i) {
        scales[i] = bands[i]->Scale();
        if (scales[i] != 1.0f)
            bands[i]->SetScale(1.0f);
        for (const auto& object : bands[i]->Objects())
            object->ClearData();
    }
    // The bands go back to what the designer showed whether or not the write went through.
    auto restore = [&] {
        for (std::size_t i = 0; i < bands.size(); ++i) {
            bands[i]->RefreshData();
            if (scales[i] != 1.0f)
                bands[i]->SetScale(scales[i]);
        }
    };
    try {
        Save({bands[0], bands[1], bands[2]}, settings, path);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

TReportSettings TReportFile::Load(design::TGOwner& owner,
                                  const std::array<design::TGBasePanel*, 3>& bands,
                                  const QString& path)
{
    // The bands' kinds must be readable even when no report band has been created in this run
    // (the tool, printing without the designer).
    design::TGClassRegistry::Instance().RegisterHostKinds(design::TGHostKind::Report);
    std::optional<TReportSettings> settings;
    auto refresh = [&bands] {
        for (design::TGBasePanel* band : bands)
            band->RefreshData();
    };
    try {
        TGLabelObjectFiler::ReadBands(owner, bands, path, [&settings](design::TLayoutReader& in) {
            settings = TReportSettings::Read(in);
        });
    } catch (...) {
        refresh();
        throw;
    }
    refresh();
    // No file (ReadBands read nothing): a new report, not whatever was loaded before.
    return settings ? *settings : TReportSettings::NewReport();
}

} // namespace qm::reports
