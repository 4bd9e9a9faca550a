#pragma once

// Text as the page stream holds it: single-byte Windows-1252. Characters the code page cannot
// hold become '?' so that a drawing never fails on one character.

#include <QByteArray>
#include <QString>

namespace qm::print {

QByteArray EncodePrintText(const QString& text);
QString DecodePrintText(const QByteArray& bytes);

} // namespace qm::print
