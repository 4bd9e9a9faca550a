#include "tools/TTableRawHeader.h"

#include "xbase/TXbaseError.h"

#include <cerrno>
#include <fstream>

namespace qm::tools {

using xbase::TErrorKind;
using xbase::TXbaseError;

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
    TTableRawHeader h;
    h.version = b[0];
    h.year = 1900 + b[1];
    h.month = b[2];
    h.day = b[3];
    h.recordCount = static_cast<uint32_t>(b[4]) | static_cast<uint32_t>(b[5]) << 8 |
                    static_cast<uint32_t>(b[6]) << 16 | static_cast<uint32_t>(b[7]) << 24;
    h.headerLength = static_cast<uint16_t>(b[8] | b[9] << 8);
    h.recordLength = static_cast<uint16_t>(b[10] | b[11] << 8);
    h.codePageMark = b[29];
    in.seekg(0, std::ios::end);
    h.fileSize = static_cast<uint64_t>(in.tellg());
    in.seekg(static_cast<std::streamoff>(h.fileSize - 1));
    char last = 0;
    in.read(&last, 1);
    h.lastByte = static_cast<uint8_t>(last);
    return h;
}

} // namespace qm::tools
