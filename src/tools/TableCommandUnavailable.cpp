// Stands in for the table command group in builds without the engine's table layer.

#include "tools/TToolCommand.h"

#include <ostream>

namespace qm::tools {

int RunTableCommand(const std::vector<std::string>&, std::ostream&, std::ostream& err)
{
    err << "quillmark-tool: the table commands are not available in this build\n";
    return 2;
}

} // namespace qm::tools
