#pragma once

// Text as the page stream holds it: single-byte Windows-1252. Characters the code page cannot
// hold become '?' so that a drawing never fails on one character.

#include <QByteArray>
#include <QString>

namespace qm::print {

QByteArray EncodePrintText(const QString& text);
QString DecodePrintText(const QByteArray& bytes);
// The text as drawn in the named face: the decoded text, or, for a symbol face that is not
// installed, the pictograms of its codes (see TSymbolFont).
QString DecodePrintText(const QByteArray& bytes, const QString& face);

} // namespace qm::print
