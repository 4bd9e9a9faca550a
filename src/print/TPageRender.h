#pragma once

// Renders every page of a page stream to a PDF file or to PNG images, the page size of each
// output page taken from its page record. Used by "quillmark-tool pages render" and the
// benchmark. Errors (a damaged stream, a file that cannot be written) throw TPrintError.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qm::print {

// Writes OUT.pdf at the given resolution; returns the number of pages written.
int RenderPdf(const QByteArray& stream, const QString& pdfPath, int dpi = 300);

// Writes one PNG per page; "%d" in the pattern becomes the page's position (1, 2, ...). Returns
// the files written.
QStringList RenderPng(const QByteArray& stream, const QString& pattern, int dpi = 96);

} // namespace qm::print
