#include "design/ui/TSymbolSelectorDialog.h"

#include "data/TWin1252.h"
#include "data/ui/TWindowPlacement.h"
#include "design/text/TSymbolFont.h"
#include "design/ui/TDesignDialogButtons.h"
#include "design/ui/TDesignFontDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace qm::design {

namespace {

QString CharOf(int code)
{
    const char byte = char(code);
    return data::TWin1252::Decode(&byte, 1);
}

QFont ShownFont(const TGFont& font, int points)
{
    QFont f = font.ToQFont(points);
    f.setFamily(TSymbolFont::DisplayFace(font.Name()));
    return f;
}

} // namespace

int TSymbolSelectorDialog::ColumnsForPointSize(int p)
{
    if (p >= 6 && p <= 10)
        return 14;
    if (p >= 11 && p <= 20)
        return 10;
    if (p >= 21 && p <= 30)
        return 8;
    if (p >= 31 && p <= 40)
        return 6;
    if (p >= 41 && p <= 50)
        return 4;
    if (p >= 51 && p <= 60)
        return 3;
    if (p >= 61 && p <= 72)
        return 2;
    return 1;
}

QString TSymbolSelectorDialog::FontCaption(const TGFont& font)
{
    QString caption = font.Name() + QStringLiteral(", ") + QString::number(font.PointSize()) +
                      QStringLiteral("pt ");
    if (font.Bold())
        caption += QStringLiteral("Bold ");
    if (font.Italic())
        caption += QStringLiteral("Italic ");
    return caption;
}

TSymbolSelectorDialog::TSymbolSelectorDialog(const TGFont& font, int code, QWidget* parent)
    : QDialog(parent), mFont(font)
{
    setObjectName(QStringLiteral("TSymbolSelectorDialog"));
    setWindowTitle(QStringLiteral("Symbol Selector"));
    mSymbolList = new QTableWidget(this);
    mSymbolList->setObjectName(QStringLiteral("SymbolList"));
    mSymbolList->horizontalHeader()->hide();
    mSymbolList->verticalHeader()->hide();
    mSymbolList->setSelectionMode(QAbstractItemView::SingleSelection);
    mSymbolList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mFontButton = new QPushButton(this);
    mFontButton->setObjectName(QStringLiteral("FontButton"));
    mPreview = new QLabel(this);
    mPreview->setObjectName(QStringLiteral("Preview"));
    mPreview->setAlignment(Qt::AlignCenter);
    mPreview->setMinimumSize(96, 96);
    mPreview->setFrameShape(QFrame::StyledPanel);
    mButtons = new TDesignDialogButtons(*this, kHelpContext);

    connect(mFontButton, &QPushButton::clicked, this, &TSymbolSelectorDialog::FontButtonClick);
    connect(mSymbolList, &QTableWidget::itemSelectionChanged, this,
            &TSymbolSelectorDialog::SymbolListChange);
    connect(mSymbolList, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);

    auto* side = new QVBoxLayout;
    side->addWidget(mPreview);
    side->addWidget(mFontButton);
    side->addStretch();
    auto* body = new QHBoxLayout;
    body->addWidget(mSymbolList, 1);
    body->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(mButtons);
    setMinimumSize(520, 360);

    mSelected = std::clamp(code, kFirstCode, kFirstCode + kCodeCount - 1) - kFirstCode;
    FillList();
    data::TWindowPlacement::Centre(*this, parent ? parent->window() : nullptr);
}

void TSymbolSelectorDialog::SetFont(const TGFont& font)
{
    mFont = font;
    FillList();
}

void TSymbolSelectorDialog::SelectCode(int code)
{
    const int index = std::clamp(code, kFirstCode, kFirstCode + kCodeCount - 1) - kFirstCode;
    const int columns = mSymbolList->columnCount();
    mSymbolList->setCurrentCell(index / columns, index % columns);
}

void TSymbolSelectorDialog::FillList()
{
    const int columns = ColumnsForPointSize(mFont.PointSize());
    const int rows = (kCodeCount + columns - 1) / columns;
    const QFont listFont = ShownFont(mFont, mFont.PointSize());
    const int selected = mSelected;
    mSymbolList->blockSignals(true);
    mSymbolList->clear();
    mSymbolList->setColumnCount(columns);
    mSymbolList->setRowCount(rows);
    mSymbolList->setFont(listFont);
    for (int i = 0; i < kCodeCount; ++i) {
        auto* item =
            new QTableWidgetItem(TSymbolFont::DisplayText(mFont.Name(), CharOf(kFirstCode + i)));
        item->setTextAlignment(Qt::AlignCenter);
        mSymbolList->setItem(i / columns, i % columns, item);
    }
    mSymbolList->resizeColumnsToContents();
    mSymbolList->resizeRowsToContents();
    mSymbolList->blockSignals(false);
    mFontButton->setText(FontCaption(mFont));
    mSelected = selected;
    mSymbolList->setCurrentCell(selected / columns, selected % columns);
    ShowPreview();
}

void TSymbolSelectorDialog::SymbolListChange()
{
    const int row = mSymbolList->currentRow();
    const int column = mSymbolList->currentColumn();
    if (row < 0 || column < 0)
        return;
    const int index = row * mSymbolList->columnCount() + column;
    if (index < kCodeCount)
        mSelected = index;
    ShowPreview();
}

void TSymbolSelectorDialog::ShowPreview()
{
    QFont f = ShownFont(mFont, 48);
    mPreview->setFont(f);
    mPreview->setText(TSymbolFont::DisplayText(mFont.Name(), CharOf(Code())));
}

void TSymbolSelectorDialog::FontButtonClick()
{
    if (const std::optional<TGFont> font = TDesignFontDialog::Choose(mFont, this))
        SetFont(*font);
}

} // namespace qm::design
