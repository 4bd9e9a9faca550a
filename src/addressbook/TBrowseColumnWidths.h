#pragma once

// How wide the columns of the "Address Browse" grid are. A column starts as wide as its field
// holds characters, at least kMinCharacters and at most kMaxCharacters (wider fields scroll within
// the cell), and never narrower than its heading. A width the user gives a column by dragging is
// kept for the rest of the session: the main window owns one instance and every browse window it
// opens starts from it. Widths are in the grid's logical pixels.

#include <QString>
#include <map>
#include <optional>

namespace qm::addressbook {

class TBrowseColumnWidths {
public:
    static constexpr int kMinCharacters = 3; // "Yes", "No"
    static constexpr int kMaxCharacters = 30;

    // The starting width of a column whose field holds fieldCharacters characters, each at most
    // charWidth wide, with cellPadding around the text, under a heading headingWidth wide.
    static int FitWidth(int fieldCharacters, int charWidth, int cellPadding, int headingWidth);

    // The width the user gave the field's column in this session, if any.
    std::optional<int> Chosen(const QString& field) const;
    void Choose(const QString& field, int width);

private:
    std::map<QString, int> mChosen;
};

} // namespace qm::addressbook
