#pragma once

// The end of a print command's job for its Intelligent Mail barcodes: the notes (skipped pieces,
// the counter starting again) as lines of the output, then the counter written back to the
// settings file. Called only once the job's output is complete.

#include <optional>
#include <ostream>

namespace qm::data {
class TSettingsFile;
}
namespace qm::design {
class TImbJob;
}

namespace qm::tools {

class TImbJobEnd {
public:
    // 0, or 3 with a message on err when the settings file cannot be written. Without a settings
    // file (no program home) nothing is written.
    static int Finish(const design::TImbJob& imb, std::optional<data::TSettingsFile>& settings,
                      std::ostream& out, std::ostream& err);
};

} // namespace qm::tools
