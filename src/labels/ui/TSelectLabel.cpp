#include "labels/ui/TSelectLabel.h"

#include "data/TMessageService.h"
#include "data/TProgramHome.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TWindowPlacement.h"
#include "labels/TLabelSheet.h"
#include "labels/TLabelTemplates.h"
#include "xbase/TXbaseError.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qm::labels {
namespace {

QLineEdit* ReadOnlyField(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::ClickFocus);
    edit->setAlignment(Qt::AlignRight);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000.0000")) + 12);
    return edit;
}

QString Inches(float value)
{
    return QString::number(TLabelGeometry::RoundForTable(value), 'f', 3);
}

} // namespace

TSelectLabel::TSelectLabel(TLabelTemplates& templates, const TLabelGeometry& layout,
                           QWidget* parent)
    : QDialog(parent), mTemplates(templates)
{
    setObjectName(QStringLiteral("TSelectLabel"));
    setWindowTitle(QStringLiteral("Select Label Template"));

    mManufacturerCombo = new QComboBox(this);
    mManufacturerCombo->setObjectName(QStringLiteral("ManufacturerCombo"));
    mManufacturerCombo->addItems(TLabelTemplateFilter::ManufacturerItems());
    mProductCombo = new QComboBox(this);
    mProductCombo->setObjectName(QStringLiteral("ProductCombo"));
    mProductCombo->addItems(TLabelTemplateFilter::ProductItems());
    mEuropeanCheck = new QCheckBox(QStringLiteral("European paper sizes only (A4, A5)"), this);
    mEuropeanCheck->setObjectName(QStringLiteral("EuropeanCheck"));

    auto* manufacturerLabel = new QLabel(QStringLiteral("&Manufacturer"), this);
    manufacturerLabel->setBuddy(mManufacturerCombo);
    auto* productLabel = new QLabel(QStringLiteral("&Product Type"), this);
    productLabel->setBuddy(mProductCombo);
    auto* choices = new QGridLayout;
    choices->addWidget(manufacturerLabel, 0, 0);
    choices->addWidget(mManufacturerCombo, 1, 0);
    choices->addWidget(productLabel, 0, 1);
    choices->addWidget(mProductCombo, 1, 1);
    choices->addWidget(mEuropeanCheck, 2, 0, 1, 2);

    mGrid = new QTableWidget(0, 1, this);
    mGrid->setObjectName(QStringLiteral("TemplateGrid"));
    mGrid->setHorizontalHeaderLabels({QStringLiteral("Description")});
    mGrid->horizontalHeader()->setStretchLastSection(true);
    mGrid->horizontalHeader()->setHighlightSections(false);
    mGrid->verticalHeader()->hide();
    mGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    mGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    mGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mGrid->setTabKeyNavigation(false);
    mGrid->setWordWrap(false);
    mGrid->verticalHeader()->setDefaultSectionSize(mGrid->fontMetrics().height() + 6);
    mGrid->setMinimumWidth(mGrid->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 44);
    mGrid->setMinimumHeight(mGrid->verticalHeader()->defaultSectionSize() * 12);

    mHeightEdit = ReadOnlyField(this, "HeightEdit");
    mWidthEdit = ReadOnlyField(this, "WidthEdit");
    mAcrossEdit = ReadOnlyField(this, "AcrossEdit");
    mDownEdit = ReadOnlyField(this, "DownEdit");
    mPaperWidthEdit = ReadOnlyField(this, "PaperWidthEdit");
    mPaperHeightEdit = ReadOnlyField(this, "PaperHeightEdit");
    auto* fields = new QGroupBox(this);
    auto* fieldsLayout = new QFormLayout(fields);
    fieldsLayout->addRow(QStringLiteral("Label Height"), mHeightEdit);
    fieldsLayout->addRow(QStringLiteral("Label Width"), mWidthEdit);
    fieldsLayout->addRow(QStringLiteral("# Across"), mAcrossEdit);
    fieldsLayout->addRow(QStringLiteral("# Down"), mDownEdit);
    fieldsLayout->addRow(QStringLiteral("Paper Width"), mPaperWidthEdit);
    fieldsLayout->addRow(QStringLiteral("Paper Height"), mPaperHeightEdit);

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    mOKButton = buttons->addButton(QDialogButtonBox::Ok);
    mOKButton->setObjectName(QStringLiteral("OKButton"));
    mOKButton->setDefault(true);
    mCancelButton = buttons->addButton(QDialogButtonBox::Cancel);
    mCancelButton->setObjectName(QStringLiteral("CancelButton"));
    mHelpButton = buttons->addButton(QDialogButtonBox::Help);
    mHelpButton->setObjectName(QStringLiteral("HelpButton"));
    mHelpButton->setAutoDefault(false);

    auto* right = new QVBoxLayout;
    right->addWidget(fields);
    right->addStretch();
    right->addWidget(buttons);
    auto* middle = new QHBoxLayout;
    middle->addWidget(mGrid, 1);
    middle->addLayout(right);
    auto* layoutBox = new QVBoxLayout(this);
    layoutBox->addLayout(choices);
    layoutBox->addLayout(middle, 1);

    // The lists as the layout chooses them, the filter they make, then the layout's own template
    // when the layout has one the lists can show.
    const TLabelTemplateFilter::TStart start =
        TLabelTemplateFilter::StartFor(layout.maker, layout.printer, layout.productGroup);
    {
        const QSignalBlocker blockMaker(mManufacturerCombo);
        const QSignalBlocker blockProduct(mProductCombo);
        mManufacturerCombo->setCurrentIndex(start.manufacturer);
        mProductCombo->setCurrentIndex(start.product);
    }
    ChoicesChange();
    if (start.positionGrid) {
        const int row = TLabelTemplateFilter::PositionOf(mDescriptions, layout.templateDescription);
        if (row >= 0) {
            mGrid->setCurrentCell(row, 0);
            mGrid->scrollToItem(mGrid->item(row, 0), QAbstractItemView::PositionAtCenter);
        }
    }

    connect(mManufacturerCombo, &QComboBox::currentIndexChanged, this,
            &TSelectLabel::ChoicesChange);
    connect(mProductCombo, &QComboBox::currentIndexChanged, this, &TSelectLabel::ChoicesChange);
    connect(mEuropeanCheck, &QCheckBox::toggled, this, &TSelectLabel::ChoicesChange);
    connect(mGrid, &QTableWidget::itemSelectionChanged, this, &TSelectLabel::GridRowChange);
    connect(mGrid, &QTableWidget::cellDoubleClicked, this, &TSelectLabel::OKButtonClick);
    connect(mOKButton, &QPushButton::clicked, this, &TSelectLabel::OKButtonClick);
    connect(mCancelButton, &QPushButton::clicked, this, &TSelectLabel::reject);
    connect(mHelpButton, &QPushButton::clicked, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });

    mGrid->setFocus();
    data::TWindowPlacement::Centre(*this, parent ? parent->window() : nullptr);
}

TSelectLabel::~TSelectLabel() = default;

std::optional<TLabelGeometry> TSelectLabel::Choose(const TLabelGeometry& layout, QWidget* parent)
{
    TLabelTemplates templates;
    const QString failure = templates.Open(data::TProgramHome::Current().SysDataDir());
    if (!failure.isEmpty()) {
        data::TMessageService::Inform(parent, failure);
        return std::nullopt;
    }
    TSelectLabel dialog(templates, layout, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Chosen();
}

void TSelectLabel::ChoicesChange()
{
    mFilter.SetManufacturer(mManufacturerCombo->currentIndex());
    mFilter.SetProduct(mProductCombo->currentIndex());
    mFilter.SetEuropeanOnly(mEuropeanCheck->isChecked());
    try {
        mDescriptions = mTemplates.Matching(mFilter.Expression());
    } catch (const xbase::TXbaseError& error) {
        mDescriptions.clear();
        data::TMessageService::Inform(this, QString::fromStdString(error.Message()));
    }

    {
        const QSignalBlocker block(mGrid);
        mGrid->clearContents();
        mGrid->setRowCount(int(mDescriptions.size()));
        for (int row = 0; row < mDescriptions.size(); ++row)
            mGrid->setItem(row, 0, new QTableWidgetItem(mDescriptions[row]));
    }
    const bool any = !mDescriptions.isEmpty();
    mOKButton->setEnabled(any);
    mGrid->setEnabled(any);
    if (any) {
        mGrid->setCurrentCell(0, 0);
        mGrid->scrollToTop();
    }
    GridRowChange();
}

QString TSelectLabel::CurrentDescription() const
{
    const int row = mGrid->currentRow();
    if (row < 0 || row >= mDescriptions.size() || mGrid->selectedItems().isEmpty())
        return {};
    return mDescriptions[row];
}

void TSelectLabel::GridRowChange()
{
    const QString description = CurrentDescription();
    ShowFields(description.isEmpty() ? std::nullopt : mTemplates.Find(description));
}

void TSelectLabel::ShowFields(const std::optional<TLabelGeometry>& g)
{
    if (!g) {
        for (QLineEdit* edit :
             {mHeightEdit, mWidthEdit, mAcrossEdit, mDownEdit, mPaperWidthEdit, mPaperHeightEdit})
            edit->clear();
        return;
    }
    mHeightEdit->setText(Inches(g->labelHeight));
    mWidthEdit->setText(Inches(g->labelWidth));
    mAcrossEdit->setText(QString::number(g->across));
    mDownEdit->setText(QString::number(g->down));
    mPaperWidthEdit->setText(Inches(g->sheetWidth));
    mPaperHeightEdit->setText(Inches(g->sheetDepth));
}

void TSelectLabel::OKButtonClick()
{
    if (!mOKButton->isEnabled())
        return;
    const QString description = CurrentDescription();
    if (description.isEmpty()) {
        data::TMessageService::Inform(this, QStringLiteral("Choose a template from the list"));
        return;
    }
    QString problem;
    const std::optional<TLabelGeometry> g = mTemplates.Find(description, &problem);
    if (g && problem.isEmpty())
        problem = TLabelSheet::Problem(*g);
    if (!g || !problem.isEmpty()) {
        // A damaged template row never reaches the designer's face or the LABEL table.
        data::TMessageService::Inform(
            this, QStringLiteral("The template \"%1\" cannot be used: %2")
                      .arg(description, g ? problem : QStringLiteral("it is no longer listed")));
        return;
    }
    mChosen = g;
    accept();
}

} // namespace qm::labels
