#pragma once

// The letter editor's tool bar: font ("Font", scalable fonts only, since letters print) and size
// ("Font Size", 6 points up), text and background colour, normal, bold, italic, underline, the
// four alignments, and copy, cut and paste. It shows the format at the caret and applies its
// choices to the selection or to what is typed next.

#include <QToolBar>

class QAction;
class QComboBox;
class QFontComboBox;
class QTextCharFormat;

namespace qm::richtext {

class TRichEdit;

class TRichToolBar : public QToolBar {
public:
    explicit TRichToolBar(TRichEdit& editor, QWidget* parent = nullptr);

    // The sizes the size list offers.
    static QList<int> FontSizes();
    // The colours the colour lists offer, automatic (invalid colour) first.
    static QList<QColor> Colours();

    QFontComboBox* FontBox() const { return mFontBox; }
    QComboBox* SizeBox() const { return mSizeBox; }
    QComboBox* TextColourBox() const { return mTextColourBox; }
    QComboBox* BackColourBox() const { return mBackColourBox; }
    QAction* NormalAction() const { return mNormal; }
    QAction* BoldAction() const { return mBold; }
    QAction* ItalicAction() const { return mItalic; }
    QAction* UnderlineAction() const { return mUnderline; }
    QAction* AlignAction(Qt::Alignment alignment) const;

private:
    void ShowFormat(const QTextCharFormat& format);
    void ShowAlignment();
    void SizeChosen(const QString& text);
    void ColourChosen(QComboBox* box, bool background);
    QComboBox* MakeColourBox(const QString& name, const QString& tip);

    TRichEdit& mEditor;
    QFontComboBox* mFontBox = nullptr;
    QComboBox* mSizeBox = nullptr;
    QComboBox* mTextColourBox = nullptr;
    QComboBox* mBackColourBox = nullptr;
    QAction* mNormal = nullptr;
    QAction* mBold = nullptr;
    QAction* mItalic = nullptr;
    QAction* mUnderline = nullptr;
    QAction* mLeft = nullptr;
    QAction* mRight = nullptr;
    QAction* mJustify = nullptr;
    QAction* mCentre = nullptr;
    bool mShowing = false;
};

} // namespace qm::richtext
