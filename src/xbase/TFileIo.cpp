#include "xbase/TFileIo.h"

#include "xbase/TFileIoSystem.h"
#include "xbase/TXbaseError.h"

namespace qm::xbase {

void TFileIo::ReadExact(uint64_t offset, void* data, size_t size)
{
    const size_t got = ReadAt(offset, data, size);
    if (got != size)
        throw TXbaseError(TErrorKind::Damaged,
                          "the file ends early: " + std::to_string(size) + " bytes expected, " +
                              std::to_string(got) + " present",
                          Path(), int64_t(offset));
}

std::string CompanionPath(const std::string& path, std::string_view ext)
{
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.find_last_of('.');
    const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string stem = hasExt ? path.substr(0, dot) : path;
    bool lower = false;
    if (hasExt) {
        for (size_t i = dot + 1; i < path.size(); ++i)
            if (path[i] >= 'a' && path[i] <= 'z')
                lower = true;
    }
    std::string e(ext);
    for (char& c : e) {
        if (lower && c >= 'A' && c <= 'Z')
            c = char(c + 32);
        else if (!lower && c >= 'a' && c <= 'z')
            c = char(c - 32);
    }
    return stem + e;
}

} // namespace qm::xbase
