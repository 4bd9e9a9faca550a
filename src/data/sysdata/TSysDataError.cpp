#include "data/sysdata/TSysDataError.h"

namespace qm::data::sysdata {
namespace {

std::string Compose(const std::string& file, int line, const std::string& column,
                    const std::string& message)
{
    std::string text = file;
    if (line > 0)
        text += ":" + std::to_string(line);
    if (!column.empty())
        text += ": " + column;
    return text + ": " + message;
}

} // namespace

TSysDataError::TSysDataError(std::string file, int line, std::string column, std::string message)
    : std::runtime_error(Compose(file, line, column, message)), mFile(std::move(file)), mLine(line),
      mColumn(std::move(column)), mMessage(std::move(message))
{
}

} // namespace qm::data::sysdata
