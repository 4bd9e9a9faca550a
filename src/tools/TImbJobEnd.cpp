#include "tools/TImbJobEnd.h"

#include "data/TSettingsFile.h"
#include "design/objects/TImbJob.h"

namespace qm::tools {

int TImbJobEnd::Finish(const design::TImbJob& imb, std::optional<data::TSettingsFile>& settings,
                       std::ostream& out, std::ostream& err)
{
    for (const QString& note : imb.Notes())
        out << note.toStdString() << "\n";
    if (!settings)
        return 0;
    try {
        imb.WriteBack(*settings);
    } catch (const data::TSettingsWriteError& error) {
        err << error.Message().toStdString() << "\n";
        return 3;
    }
    return 0;
}

} // namespace qm::tools
