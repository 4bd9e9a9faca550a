// quillmark-tool: the command-line interface. It links no widget library.

#include "tools/TToolCommand.h"

#include <iostream>

int main(int argc, char* argv[])
{
    std::vector<std::string> args(argv + 1, argv + argc);
    return qm::tools::RunTool(args, std::cout, std::cerr);
}
