// Feeds arbitrary bytes to the layout stream reader: as a panel stream read into a panel (every
// kind of every host registered), as a report stream into three bands with its settings list
// through the report settings reader, and through the dump. Any outcome but a TLayoutError is a
// fault; objects read so far must stay usable, and settings read must store and read back as
// themselves.

#include "TFuzzGui.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/stream/TLayoutDump.h"
#include "design/stream/TLayoutError.h"
#include "design/stream/TLayoutReader.h"
#include "design/stream/TLayoutWriter.h"
#include "design/text/TDesignUnits.h"
#include "reports/TReportSettings.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace qm::design;

namespace {

// Whatever a settings list loads as is within the limits, so it stores and loads unchanged.
void CheckSettingsRoundTrip(const qm::reports::TReportSettings& settings)
{
    QByteArray bytes;
    TLayoutWriter out(bytes);
    settings.Write(out);
    out.WriteListEnd();
    TLayoutReader in(bytes);
    if (!(qm::reports::TReportSettings::Read(in) == settings) || settings.Layout() == nullptr)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool registered = [] {
        // Objects measure their text (symbol objects size themselves while read).
        qm::fuzz::StartOffscreenGui();
        TDesignUnits::SetPpiOverride(96);
        auto& registry = TGClassRegistry::Instance();
        registry.RegisterHostKinds(TGHostKind::Label);
        registry.RegisterHostKinds(TGHostKind::Envelope);
        registry.RegisterHostKinds(TGHostKind::Report);
        return true;
    }();
    (void)registered;

    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        TGDataPanel panel;
        try {
            TGLabelObjectFiler::ReadPanelBytes(bytes, panel.Owner(), panel);
        } catch (const TLayoutError&) {
        }
        // What was read must write again (a stored value the kinds took must be storable).
        try {
            (void)TGLabelObjectFiler::PanelBytes(panel);
        } catch (const TLayoutError&) {
        }
        panel.SetScale(1.5f);
        panel.PullObjectsInside();
        panel.DropOutsideObjects();
    }
    {
        TGOwner window;
        TGDataPanel header(&window), detail(&window), footer(&window);
        TLayoutReader in(bytes);
        try {
            for (TGBasePanel* band : {&header, &detail, &footer})
                TGLabelObjectFiler::ReadPanelList(in, window, *band);
            in.ReadListStart();
            const qm::reports::TReportSettings settings = qm::reports::TReportSettings::Read(in);
            CheckSettingsRoundTrip(settings);
            while (!in.AtListEnd())
                in.ReadValue();
        } catch (const TLayoutError&) {
        }
    }
    (void)TLayoutDump::Dump(bytes);
    return 0;
}
