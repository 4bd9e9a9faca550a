#include "xbase/TTableRawHeader.h"

#include "xbase/TDbfHeader.h"
#include "xbase/TXbaseError.h"

#include <cerrno>
#include <fstream>

namespace qm::xbase {

TTableRawHeader TTableRawHeader::Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const int error = errno;
        throw TXbaseError(error == ENOENT ? TErrorKind::NotFound : TErrorKind::Io,
                          error == ENOENT ? "no such file" : "cannot open the file", path,
                          TXbaseError::kNoOffset, error);
    }
    unsigned char b[32];
    in.read(reinterpret_cast<char*>(b), sizeof b);
    if (in.gcount() != static_cast<std::streamsize>(sizeof b))
        throw TXbaseError(TErrorKind::Damaged, "the file is shorter than a table header (32 bytes)",
                          path, 0);
    const xbase::TDbfHeader fixed =
        xbase::TDbfHeader::ParseFixed(std::string_view(reinterpret_cast<const char*>(b), sizeof b));
    TTableRawHeader h;
    h.version = fixed.version;
    h.year = 1900 + fixed.updateYear;
    h.month = fixed.updateMonth;
    h.day = fixed.updateDay;
    h.recordCount = fixed.recordCount;
    h.headerLength = fixed.headerLength;
    h.recordLength = fixed.recordLength;
    h.tableFlags = fixed.tableFlags;
    h.codePageMark = fixed.codePage;
    in.seekg(0, std::ios::end);
    h.fileSize = static_cast<uint64_t>(in.tellg());
    in.seekg(static_cast<std::streamoff>(h.fileSize - 1));
    char last = 0;
    in.read(&last, 1);
    h.lastByte = static_cast<uint8_t>(last);
    return h;
}

} // namespace qm::xbase
