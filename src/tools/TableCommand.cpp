#include "tools/TToolCommand.h"

#include <ostream>

namespace qm::tools {

// Not built yet: replaced by the real command group.
int RunTableCommand(const std::vector<std::string>&, std::ostream&, std::ostream& err)
{
    err << "quillmark-tool: this command is not available in this build\n";
    return 2;
}

} // namespace qm::tools
