#include "labels/ui/TSelectLabel.h"

#include "data/TMessageService.h"
#include "data/TProgramHome.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TWindowPlacement.h"
#include "labels/TLabelSheet.h"
#include "labels/TLabelTemplateImport.h"
#include "labels/TLabelTemplates.h"
#include "labels/TTemplateFind.h"
#include "xbase/TXbaseError.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace qm::labels {
namespace {

QLineEdit* ReadOnlyField(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::ClickFocus);
    edit->setAlignment(Qt::AlignRight);
    // Wide enough for "11.693" even when the window is squeezed onto a small screen.
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000.000")) + 12);
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

    // The four fixed items, one per further maker of the tables, "All Manufacturers".
    mFilter.SetMakers(mTemplates.Makers());
    mManufacturerCombo = new QComboBox(this);
    mManufacturerCombo->setObjectName(QStringLiteral("ManufacturerCombo"));
    mManufacturerCombo->setMaxVisibleItems(20);
    mManufacturerCombo->addItems(TLabelTemplateFilter::ManufacturerItems(mFilter.Makers()));
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

    // The find box narrows whatever the lists above let through.
    mFindEdit = new QLineEdit(this);
    mFindEdit->setObjectName(QStringLiteral("FindEdit"));
    mFindEdit->setPlaceholderText(QStringLiteral("Product number or part of the description"));
    mFindEdit->setClearButtonEnabled(true);
    mFindEdit->setAccessibleName(QStringLiteral("Find"));
    auto* findLabel = new QLabel(QStringLiteral("&Find"), this);
    findLabel->setBuddy(mFindEdit);
    auto* findRow = new QHBoxLayout;
    findRow->addWidget(findLabel);
    findRow->addWidget(mFindEdit, 1);

    mGrid = new QTableWidget(0, 2, this);
    mGrid->setObjectName(QStringLiteral("TemplateGrid"));
    mGrid->setHorizontalHeaderLabels({QStringLiteral("Description"), QStringLiteral("Source")});
    mGrid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    mGrid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
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

    mImportButton = new QPushButton(QStringLiteral("&Import Label Sheets..."), this);
    mImportButton->setObjectName(QStringLiteral("ImportButton"));
    mImportButton->setAutoDefault(false);
    mImportButton->setToolTip(QStringLiteral("Adds the sheets of a label template file (XML) to "
                                             "your own label sheets"));
    mImportButton->setEnabled(!mTemplates.UserFolder().isEmpty());

    auto* right = new QVBoxLayout;
    right->addWidget(fields);
    right->addWidget(mImportButton);
    right->addStretch();
    right->addWidget(buttons);
    auto* middle = new QHBoxLayout;
    middle->addWidget(mGrid, 1);
    middle->addLayout(right);
    auto* layoutBox = new QVBoxLayout(this);
    layoutBox->addLayout(choices);
    layoutBox->addLayout(findRow);
    layoutBox->addLayout(middle, 1);

    // The lists as the layout chooses them, the filter they make, then the layout's own template
    // when the layout has one the lists can show.
    const TLabelTemplateFilter::TStart start =
        TLabelTemplateFilter::StartFor(layout.maker, layout.printer, layout.productGroup);
    // A maker of the template tables beyond the first four items has an item of its own.
    const int furtherMaker = TLabelTemplateFilter::MakerItem(layout.maker, mFilter.Makers());
    {
        const QSignalBlocker blockMaker(mManufacturerCombo);
        const QSignalBlocker blockProduct(mProductCombo);
        mManufacturerCombo->setCurrentIndex(
            start.positionGrid && furtherMaker >= 0 ? furtherMaker : start.manufacturer);
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
    connect(mFindEdit, &QLineEdit::textChanged, this, &TSelectLabel::FindEditChange);
    connect(mImportButton, &QPushButton::clicked, this, &TSelectLabel::ImportButtonClick);
    mFindEdit->installEventFilter(this);
    mGrid->installEventFilter(this);
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
    // The user's own sheets cannot be read: say so once; the shipped ones are listed.
    if (!templates.OwnProblem().isEmpty())
        data::TMessageService::Inform(parent, templates.OwnProblem());
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
        mMatched = mTemplates.Entries(mFilter.Expression());
    } catch (const xbase::TXbaseError& error) {
        mMatched.clear();
        data::TMessageService::Inform(this, QString::fromStdString(error.Message()));
    }
    ShowRows(-1);
}

void TSelectLabel::FindEditChange()
{
    ShowRows(-1);
}

// Fills the grid with the filter's rows the find box keeps and stands on current, or (for -1)
// on the row the find box moves to, else the first.
void TSelectLabel::ShowRows(int current)
{
    QStringList matched;
    matched.reserve(qsizetype(mMatched.size()));
    for (const TLabelTemplates::TEntry& entry : mMatched)
        matched << entry.description;
    const TTemplateFind::TResult found = TTemplateFind::Narrow(matched, mFindEdit->text());
    mShown.clear();
    mDescriptions.clear();
    mShown.reserve(found.rows.size());
    for (int index : found.rows) {
        mShown.push_back(mMatched[size_t(index)]);
        mDescriptions << matched[index];
    }

    {
        const QSignalBlocker block(mGrid);
        mGrid->setUpdatesEnabled(false);
        mGrid->clearContents();
        mGrid->setRowCount(int(mShown.size()));
        for (int row = 0; row < int(mShown.size()); ++row) {
            mGrid->setItem(row, 0, new QTableWidgetItem(mShown[size_t(row)].description));
            if (mShown[size_t(row)].own)
                mGrid->setItem(row, 1, new QTableWidgetItem(QStringLiteral("Your own")));
        }
        mGrid->setUpdatesEnabled(true);
    }
    const bool any = !mShown.empty();
    mOKButton->setEnabled(any);
    mGrid->setEnabled(any);
    if (any) {
        const int row = current >= 0 && current < int(mShown.size()) ? current
                        : found.current >= 0                         ? found.current
                                                                     : 0;
        mGrid->setCurrentCell(row, 0);
        if (row == 0)
            mGrid->scrollToTop();
        else
            mGrid->scrollToItem(mGrid->item(row, 0), QAbstractItemView::PositionAtCenter);
    }
    GridRowChange();
}

bool TSelectLabel::IsOwn(int row) const
{
    return row >= 0 && row < int(mShown.size()) && mShown[size_t(row)].own;
}

bool TSelectLabel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == mFindEdit) {
        // The list's keys work from the find box, so a row is chosen without leaving it.
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            if (mGrid->isEnabled())
                QCoreApplication::sendEvent(mGrid, event);
            return true;
        default:
            break;
        }
    } else if (watched == mGrid) {
        // Typing in the list goes on in the find box.
        const QString text = key->text();
        const bool typed =
            !text.isEmpty() && text.at(0).isPrint() &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (typed) {
            mFindEdit->setFocus();
            mFindEdit->insert(text);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TSelectLabel::FillManufacturers(int current)
{
    const QSignalBlocker block(mManufacturerCombo);
    mManufacturerCombo->clear();
    mManufacturerCombo->addItems(TLabelTemplateFilter::ManufacturerItems(mFilter.Makers()));
    mManufacturerCombo->setCurrentIndex(current);
}

void TSelectLabel::ImportButtonClick()
{
    const QString path = mFileChooser
                             ? mFileChooser()
                             : QFileDialog::getOpenFileName(
                                   this, QStringLiteral("Import Label Sheets"), QString(),
                                   QStringLiteral("Label template files (*.xml);;All files (*)"));
    if (path.isEmpty())
        return;
    const QString makerBefore = mManufacturerCombo->currentText();
    const TLabelTemplateImport::TResult result =
        TLabelTemplateImport::Run(path, mTemplates.UserFolder(), mTemplates);
    data::TMessageService::Inform(this, result.Summary());

    // New makers get items of their own; the lists then show the first sheet of the file.
    mFilter.SetMakers(mTemplates.Makers());
    const QStringList items = TLabelTemplateFilter::ManufacturerItems(mFilter.Makers());
    std::optional<TLabelGeometry> first;
    if (!result.firstDescription.isEmpty())
        first = mTemplates.Find(result.firstDescription);
    if (!first) {
        FillManufacturers(std::max(int(items.indexOf(makerBefore)), 0));
        ChoicesChange();
        return;
    }
    FillManufacturers(
        TLabelTemplateFilter::ItemListing(first->maker, first->printer, mFilter.Makers()));
    {
        const QSignalBlocker blockProduct(mProductCombo);
        const QSignalBlocker blockEuropean(mEuropeanCheck);
        const QSignalBlocker blockFind(mFindEdit);
        mProductCombo->setCurrentIndex(TLabelTemplateFilter::AllProductsItem());
        mEuropeanCheck->setChecked(false);
        mFindEdit->clear();
    }
    ChoicesChange();
    const int row = TLabelTemplateFilter::PositionOf(mDescriptions, result.firstDescription);
    if (row >= 0)
        ShowRows(row);
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
