#include "xbase/TFileIo.h"

#include "xbase/TFileIoSystem.h"
#include "xbase/TXbaseError.h"

#include <algorithm>
#include <vector>

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

void TFileIo::Scan(uint64_t from, uint64_t to, TScanVisitor visit, void* context)
{
    constexpr size_t kPiece = 1 << 20;
    std::vector<uint8_t> piece(
        static_cast<size_t>(std::min<uint64_t>(kPiece, to > from ? to - from : 0)));
    for (uint64_t at = from; at < to;) {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(piece.size(), to - at));
        ReadExact(at, piece.data(), n);
        visit(context, at, piece.data(), n);
        at += n;
    }
}

namespace {
TFileIoSystem* gDefaultFiles = nullptr;
}

TFileIoSystem& TFileIoSystem::Default()
{
    return gDefaultFiles ? *gDefaultFiles : Native();
}

void TFileIoSystem::SetDefault(TFileIoSystem* system)
{
    gDefaultFiles = system;
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
