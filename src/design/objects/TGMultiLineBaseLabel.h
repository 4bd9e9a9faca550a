#pragma once

// The multi-line text base: stored lines (Items), a wrapped copy of them used instead when
// WordWrap is on, font and alignment. Stream order after the bounds: Items.Strings (when there
// are lines), AutoSize (always), Alignment (when not taLeftJustify), Font.*, WordWrap (when
// true); derived kinds append theirs. AutoSize is carried in the stream and has no effect.
//
// Contract:
// - A new object is 190 x 33, "Arial" 10 point, no lines, WordWrap off, left aligned.
// - Rewrap() recomputes WrappedLines() from Items when WordWrap is on (the memo kind re-wraps
//   the record's lines it keeps). It runs whenever the font, the flag, the bounds or the Scale
//   change, so the wrap always measures the width in the font at the current zoom. ShownLines()
//   is what paints and prints: the wrapped lines with WordWrap on, else Items.
// - Data-bound kinds may put a placeholder line in Items ("[label]", "<undefined memo>"):
//   ShowsPlaceholder() says so, and printing puts nothing on paper for it.
// - Setters ask for a repaint and raise no change notification (the commands do).

#include "design/core/TGGraphicControl.h"
#include "design/stream/TGEnumNames.h"
#include "design/text/TGFont.h"

#include <QString>
#include <QStringList>

namespace qm::design {

class TGMultiLineBaseLabel : public TGGraphicControl {
public:
    static constexpr std::int32_t kDefaultWidth = 190;
    static constexpr std::int32_t kDefaultHeight = 33;

    TGMultiLineBaseLabel();

    const QStringList& Items() const { return mItems; }
    void SetItems(const QStringList& lines);
    const QStringList& WrappedLines() const { return mWrapped; }
    void SetWrappedLines(const QStringList& lines) { mWrapped = lines; }
    const QStringList& ShownLines() const { return mWordWrap ? mWrapped : mItems; }
    bool AutoSize() const { return mAutoSize; }
    void SetAutoSize(bool on) { mAutoSize = on; }
    TGAlignment Alignment() const { return mAlignment; }
    void SetAlignment(TGAlignment alignment);
    const TGFont& Font() const { return mFont; }
    void SetFont(const TGFont& font);
    bool WordWrap() const { return mWordWrap; }
    void SetWordWrap(bool on);

    // The placeholder shown for an empty value: "<blank>" here, "<blank memo>" for the memo.
    virtual QString BlankPlaceholder() const { return QStringLiteral("<blank>"); }
    // Recomputes the wrapped lines when WordWrap is on.
    virtual void Rewrap();
    // True while Items is the single placeholder line the kind's ShowData put there.
    bool ShowsPlaceholder() const;

    // Point size the text is drawn at on screen: trunc(font points x Scale).
    int ScreenPointSize() const;

    void ApplyFont(const TGFont& font) override { SetFont(font); }
    void WriteProperties(TLayoutWriter& out) const override;
    bool ReadProperty(const QByteArray& name, const TLayoutValue& value) override;

protected:
    void BoundsMoved() override { Rewrap(); }
    void ScaleSet() override { Rewrap(); }
    // The placeholder line ShowData put in Items (empty when it put record lines).
    void SetPlaceholderLine(const QString& line) { mPlaceholderLine = line; }
    const QString& PlaceholderLine() const { return mPlaceholderLine; }

private:
    QStringList mItems;
    QStringList mWrapped;
    bool mAutoSize = false;
    TGAlignment mAlignment = TGAlignment::taLeftJustify;
    TGFont mFont;
    bool mWordWrap = false;
    QString mPlaceholderLine;
};

} // namespace qm::design
