// Feeds arbitrary bytes to the RTF reader: it must finish without a crash or a hang, refuse only
// with a message, and what it read must survive the writer: written, read again and written once
// more, the bytes are the same (same text, formats and page). Small inputs are also broken into
// pages, which must start at 0 and rise.

#include "TFuzzGui.h"
#include "richtext/TRichDocument.h"

#include <QTextDocument>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qm::fuzz::StartOffscreenGui();
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    qm::richtext::TRichDocument first;
    const auto result = first.LoadRtf(bytes);
    if (!result.ok) {
        if (result.error.isEmpty() || !first.Document().isEmpty())
            std::abort();
        return 0;
    }
    if (!first.PageLayout().IsUsable())
        std::abort();
    const QByteArray written = first.SaveRtf();
    qm::richtext::TRichDocument second;
    const auto again = second.LoadRtf(written);
    if (!again.ok || again.repairs != 0 || !again.dropped.isEmpty())
        std::abort();
    if (second.Document().toRawText() != first.Document().toRawText())
        std::abort();
    if (second.SaveRtf() != written)
        std::abort();
    if (size < 2048) {
        const QList<int> starts = second.PageStarts();
        if (starts.isEmpty() || starts.first() != 0)
            std::abort();
        for (qsizetype i = 1; i < starts.size(); ++i)
            if (starts[i] <= starts[i - 1])
                std::abort();
    }
    return 0;
}
