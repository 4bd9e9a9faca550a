// Feeds arbitrary bytes to the page-stream reader, the dump and the replay onto a small picture:
// every input must end in a page or in "Unexpected code found in report file.", never in a
// crash, a hang or an allocation larger than the input.

#include "TFuzzGui.h"
#include "print/TPageReplay.h"
#include "print/TPageStreamDump.h"
#include "print/TPrintError.h"

#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qm::fuzz::StartOffscreenGui();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)qm::print::DumpPageStream(bytes);
    try {
        qm::print::TPageReplay replay(bytes);
        QImage image(64, 64, QImage::Format_RGB32);
        QPainter painter(&image);
        const qm::print::TDeviceMapping mapping{8, 8, 0, 0, 100, 100, 100};
        const qm::print::TReplayContext context;
        int pages = 0;
        do
            replay.PaintPage(painter, mapping, context);
        while (++pages < 4 && replay.Next());
        replay.GotoPage(3);
        replay.GotoFirst();
    } catch (const qm::print::TPrintError&) {
    }
    return 0;
}
