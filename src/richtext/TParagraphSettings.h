#pragma once

// The settings of the paragraph dialog and the ruler, in twips: indents (the first line relative
// to the left indent, negative for a hanging first line), spacing before and after and the
// least line height (0: single). Read from and applied to QTextBlockFormats.

#include <QString>

class QTextBlockFormat;
class QTextCursor;

namespace qm::richtext {

struct TParagraphSettings {
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineHeight = 0;

    static TParagraphSettings From(const QTextBlockFormat& format);
    // Sets the indents, spacing and line height of the format; the rest stays.
    void ApplyTo(QTextBlockFormat& format) const;
    // Applies the settings to every paragraph the cursor's selection touches, as one undo step
    // (joined to the previous step when `joinPrevious`, as the steps of one ruler drag are).
    void ApplyTo(QTextCursor& cursor, bool joinPrevious = false) const;

    // Empty when the settings fit a text of the given width (twips); else what is wrong, for the
    // user: indents that leave no room, a negative space or height, values past 22 inches.
    QString Problem(int textWidth) const;

    bool operator==(const TParagraphSettings&) const = default;
};

} // namespace qm::richtext
