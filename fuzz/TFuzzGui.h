#pragma once

// For fuzz targets whose code measures or draws text: an offscreen GUI application (the font
// database needs one; no display is used), started once and warmed up outside the inputs.
// Include from the target's one source file.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>

// fontconfig keeps its pattern caches for the life of the process; text drawn by an input fills
// them, which LeakSanitizer would report as a leak of the input that first needed a face.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\n";
}

namespace qm::fuzz {

inline void StartOffscreenGui()
{
    static const bool started = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
        // The font machinery is set up by the first text drawn.
        QImage warm(8, 8, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&warm);
        painter.drawText(0, 8, QStringLiteral("Aa"));
        return true;
    }();
    (void)started;
}

} // namespace qm::fuzz
