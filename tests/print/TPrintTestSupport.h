#pragma once

// Helpers for the print tests: a known printer set-up, a recorder run into memory, and a byte
// builder for expected page streams.

#include "print/TRPDevice.h"
#include "print/TReportFiler.h"

#include <QBuffer>
#include <QByteArray>
#include <cstring>
#include <functional>

namespace qm::print::test {

// No printer at all: the built-in printer switched off and no system printer.
inline void UseNoPrinter()
{
    qputenv("QUILLMARK_NO_PDF_PRINTER", "1");
    TRPDevice::Instance().ReloadWith({});
}

// Only the built-in "PDF file" printer (300 DPI, letter, no waste).
inline void UsePdfPrinter()
{
    qunsetenv("QUILLMARK_NO_PDF_PRINTER");
    TRPDevice::Instance().ReloadWith({});
}

// Runs a recording job whose OnPrint is draw; returns the stream.
inline QByteArray Record(TReportFiler& filer, const std::function<void(TBaseReport&)>& draw)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    filer.SetStream(&buffer);
    filer.OnPrint = draw;
    filer.RunJob();
    buffer.close();
    return bytes;
}

inline QByteArray Record(const std::function<void(TBaseReport&)>& draw)
{
    TReportFiler filer;
    return Record(filer, draw);
}

class TBytes {
public:
    TBytes& B(int v)
    {
        mBytes.append(char(v & 0xFF));
        return *this;
    }
    TBytes& I16(int v)
    {
        B(v);
        return B(v >> 8);
    }
    TBytes& I32(std::int64_t v)
    {
        for (int i = 0; i < 4; ++i)
            B(int(v >> (8 * i)));
        return *this;
    }
    TBytes& F(double v)
    {
        const float f = float(v);
        std::uint32_t bits;
        std::memcpy(&bits, &f, 4);
        return I32(bits);
    }
    TBytes& Text(const QByteArray& t)
    {
        B(int(t.size()));
        mBytes += t;
        return *this;
    }
    qsizetype Size() const { return mBytes.size(); }
    void PatchI32(qsizetype at, std::int64_t v)
    {
        for (int i = 0; i < 4; ++i)
            mBytes[at + i] = char((v >> (8 * i)) & 0xFF);
    }
    const QByteArray& Bytes() const { return mBytes; }

private:
    QByteArray mBytes;
};

} // namespace qm::print::test
