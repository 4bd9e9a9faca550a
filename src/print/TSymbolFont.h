#pragma once

// Symbol fonts that layouts name but the system may not have. A symbol object stores one
// character code of its font ("WingDings" in the stored designs); where that face is not
// installed, the code is shown as the Unicode pictogram nearest to the intended picture, drawn
// in a face that has it (DejaVu Sans). docs/design/symbol-fonts.md lists the table.
// It sits with the page stream so that the objects' screen paint and the replay of recorded
// pages (printer, PDF, preview, PNG) show the same pictograms.
//
// Contract: codes are Windows-1252 byte values 32..255; the mapping is fixed, not machine
// dependent; texts in other faces pass through unchanged.

#include <QByteArray>
#include <QChar>
#include <QString>

namespace qm::print {

class TSymbolFont {
public:
    // The face the stored designs use for symbols.
    static QString DefaultFace() { return QStringLiteral("WingDings"); }
    // The face the pictograms are drawn in when the symbol face is missing.
    static QString FallbackFace() { return QStringLiteral("DejaVu Sans"); }

    // True for a face whose codes are pictures, not letters (compared without letter case).
    static bool IsSymbolFace(const QString& face);
    // True when a symbol face is named but not installed, so the pictogram mapping applies.
    // Needs a QGuiApplication (the font database).
    static bool NeedsMapping(const QString& face);

    // The pictogram for one code (32..255); codes outside pass through.
    static char32_t Pictogram(int code);
    // The text mapped code by code; the characters of a caption are decoded Windows-1252.
    static QString MapText(const QString& caption);
    // Page-stream text (Windows-1252 bytes, one code each) mapped code by code.
    static QString MapCodes(const QByteArray& codes);
    // What a symbol object shows for its caption in its face: mapped when NeedsMapping.
    static QString DisplayText(const QString& face, const QString& caption);
    static QString DisplayFace(const QString& face);

    // The Windows-1252 code of a caption character, or -1 when it has none.
    static int CodeOf(QChar c);
};

} // namespace qm::print
