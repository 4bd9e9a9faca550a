#pragma once

// A small user-designed report for the report tests: the caption "Members" in the header band and
// the last name in the detail band, on one of the report layouts, saved as a report layout file.
// Header-only: the tests that use it link the report library already.

#include "design/core/TGDataPanel.h"
#include "design/core/TGOwner.h"
#include "design/objects/TGPDLabel.h"
#include "design/objects/TGPLabel.h"
#include "reports/TReportFile.h"
#include "reports/TReportSettings.h"

#include <QString>
#include <memory>

namespace qm::test {

// Saves the report to path on TReportSettings::Layouts()[layout]; returns its settings.
inline reports::TReportSettings SaveMembersReport(const QString& path, int layout)
{
    design::TGOwner owner;
    design::TGBasePanel header(&owner);
    design::TGDataPanel detail(&owner);
    design::TGBasePanel footer(&owner);
    auto title = std::make_unique<design::TGPLabel>();
    title->SetCaption(QStringLiteral("Members"));
    header.AddObject(std::move(title));
    auto field = std::make_unique<design::TGPDLabel>();
    field->Bind(QStringLiteral("LNAME"), QStringLiteral("Last Name"));
    detail.AddObject(std::move(field));
    reports::TReportSettings settings = reports::TReportSettings::NewReport();
    settings.SetLayout(reports::TReportSettings::Layouts()[size_t(layout)]);
    reports::TReportFile::Save({&header, &detail, &footer}, settings, path);
    return settings;
}

} // namespace qm::test
