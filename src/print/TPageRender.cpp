#include "print/TPageRender.h"

#include "data/TOutputFile.h"
#include "print/TPageReplay.h"
#include "print/TPrintError.h"

#include <QFile>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>

namespace qm::print {
namespace {

double Sane(float v, double fallback)
{
    return std::isfinite(v) && v > 0.1f && v < 200.f ? double(v) : fallback;
}

} // namespace

int RenderPdf(const QByteArray& stream, const QString& pdfPath, int dpi)
{
    TPageReplay replay(stream);
    replay.Validate();
    // The file replaces an earlier one only once it is complete, and a write that failed on the
    // way (a full disk) fails the render instead of leaving a short PDF behind.
    data::TOutputFile file(pdfPath);
    if (!file.open(QIODevice::WriteOnly))
        throw TPrintError(
            TPrintErrorKind::Stream,
            QStringLiteral("Unable to write to %1: %2").arg(pdfPath, file.errorString()));
    QPdfWriter writer(&file);
    writer.setResolution(dpi);
    writer.setTitle(QStringLiteral("Quillmark pages"));
    writer.setCreator(QStringLiteral("Quillmark"));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    auto pageSize = [&] {
        const TPageRecord& r = replay.Current();
        return QPageSize(QSizeF(Sane(r.width, 8.5), Sane(r.height, 11.0)), QPageSize::Inch,
                         QString(), QPageSize::ExactMatch);
    };
    int pages = 0;
    if (replay.HasPages()) {
        replay.GotoFirst();
        writer.setPageSize(pageSize());
    }
    QPainter painter;
    if (!painter.begin(&writer))
        throw TPrintError(TPrintErrorKind::Stream, QStringLiteral("Unable to write to ") + pdfPath);
    const TReplayContext context;
    const TDeviceMapping mapping{double(dpi), double(dpi), 0, 0, 100, 100, 100};
    if (replay.HasPages()) {
        do {
            if (pages > 0) {
                writer.setPageSize(pageSize());
                writer.newPage();
            }
            replay.PaintPage(painter, mapping, context);
            ++pages;
        } while (replay.Next());
    }
    painter.end();
    if (!file.commit())
        throw TPrintError(
            TPrintErrorKind::Stream,
            QStringLiteral("Unable to write to %1: %2").arg(pdfPath, file.errorString()));
    return pages;
}

QStringList RenderPng(const QByteArray& stream, const QString& pattern, int dpi)
{
    TPageReplay replay(stream);
    replay.Validate();
    QStringList files;
    if (!replay.HasPages())
        return files;
    replay.GotoFirst();
    const TReplayContext context;
    const TDeviceMapping mapping{double(dpi), double(dpi), 0, 0, 100, 100, 100};
    int n = 0;
    do {
        ++n;
        const TPageRecord& r = replay.Current();
        QImage image(int(std::lround(Sane(r.width, 8.5) * dpi)),
                     int(std::lround(Sane(r.height, 11.0) * dpi)), QImage::Format_RGB32);
        const int dpm = int(std::lround(dpi / 0.0254));
        image.setDotsPerMeterX(dpm);
        image.setDotsPerMeterY(dpm);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            replay.PaintPage(painter, mapping, context);
        }
        QString file = pattern;
        if (file.contains(QStringLiteral("%d")))
            file.replace(QStringLiteral("%d"), QString::number(n));
        else if (n > 1)
            file += QStringLiteral(".%1").arg(n);
        // Each image replaces an earlier one only once it is complete, as the PDF does.
        data::TOutputFile out(file);
        if (!out.open(QIODevice::WriteOnly) || !image.save(&out, "PNG") || !out.commit())
            throw TPrintError(
                TPrintErrorKind::Stream,
                QStringLiteral("Unable to write to %1: %2").arg(file, out.errorString()));
        files << file;
    } while (replay.Next());
    return files;
}

} // namespace qm::print
