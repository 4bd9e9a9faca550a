#include "labels/ui/TLabelEdit.h"

#include "data/TMessageService.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TWindowPlacement.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qm::labels {
namespace {

using L = TLabelEditForm::TLength;

// The fields in the dialog's reading order: label size, pitches, margins, paper.
constexpr L kOrder[] = {L::LabelHeight, L::LabelWidth, L::VerticalPitch, L::HorizontalPitch,
                        L::TopMargin,   L::LeftMargin, L::PaperHeight,   L::PaperWidth};

const char* ObjectName(L field)
{
    switch (field) {
    case L::LabelHeight:
        return "LabelHeightEdit";
    case L::LabelWidth:
        return "LabelWidthEdit";
    case L::HorizontalPitch:
        return "HorizontalPitchEdit";
    case L::VerticalPitch:
        return "VerticalPitchEdit";
    case L::LeftMargin:
        return "LeftMarginEdit";
    case L::TopMargin:
        return "TopMarginEdit";
    case L::PaperWidth:
        return "PaperWidthEdit";
    case L::PaperHeight:
        return "PaperHeightEdit";
    }
    return "";
}

QString Accelerated(L field)
{
    switch (field) {
    case L::LabelHeight:
        return QStringLiteral("Label &Height");
    case L::LabelWidth:
        return QStringLiteral("Label &Width");
    case L::HorizontalPitch:
        return QStringLiteral("Hori&zontal Pitch");
    case L::VerticalPitch:
        return QStringLiteral("&Vertical Pitch");
    case L::LeftMargin:
        return QStringLiteral("&Left Margin");
    case L::TopMargin:
        return QStringLiteral("&Top Margin");
    case L::PaperWidth:
        return QStringLiteral("Paper Wi&dth");
    case L::PaperHeight:
        return QStringLiteral("Paper Hei&ght");
    }
    return {};
}

// A count box that shows a stored count beyond its range as it is; once the user brings the
// count into the range, the range is the dialog's own.
void ShowCount(QSpinBox* spin, int value, int min, int max)
{
    spin->setRange(std::min(min, value), std::max(max, value));
    spin->setValue(value);
}

} // namespace

TLabelEdit::TLabelEdit(const TLabelGeometry& geometry, QWidget* parent)
    : QDialog(parent), mGeometry(geometry)
{
    setObjectName(QStringLiteral("TLabelEdit"));
    setWindowTitle(QStringLiteral("User Defined Label Layout"));
    mForm.Load(geometry);

    auto* grid = new QGridLayout;
    const int fieldWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000.0000")) + 12;
    for (int i = 0; i < TLabelEditForm::kLengthCount; ++i) {
        const L field = kOrder[i];
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(ObjectName(field)));
        edit->setAlignment(Qt::AlignRight);
        edit->setMaximumWidth(fieldWidth);
        auto* label = new QLabel(Accelerated(field), this);
        label->setBuddy(edit);
        const int row = i / 2;
        const int column = (i % 2) * 3;
        grid->addWidget(label, row, column);
        grid->addWidget(edit, row, column + 1);
        mEdits[size_t(field)] = edit;
        connect(edit, &QLineEdit::textEdited, this,
                [this, field](const QString& text) { LengthEdited(field, text); });
        connect(edit, &QLineEdit::editingFinished, this, [this, field] { LengthLeft(field); });
    }
    grid->setColumnMinimumWidth(2, fontMetrics().averageCharWidth() * 3);

    mAcrossSpin = new QSpinBox(this);
    mAcrossSpin->setObjectName(QStringLiteral("AcrossSpin"));
    mAcrossSpin->setAlignment(Qt::AlignRight);
    ShowCount(mAcrossSpin, mForm.Across(), TLabelEditForm::kMinAcross, TLabelEditForm::kMaxAcross);
    mDownSpin = new QSpinBox(this);
    mDownSpin->setObjectName(QStringLiteral("DownSpin"));
    mDownSpin->setAlignment(Qt::AlignRight);
    ShowCount(mDownSpin, mForm.Down(), TLabelEditForm::kMinDown, TLabelEditForm::kMaxDown);
    auto* acrossLabel = new QLabel(QStringLiteral("# &across"), this);
    acrossLabel->setBuddy(mAcrossSpin);
    auto* downLabel = new QLabel(QStringLiteral("# d&own"), this);
    downLabel->setBuddy(mDownSpin);
    grid->addWidget(downLabel, 4, 0);
    grid->addWidget(mDownSpin, 4, 1);
    grid->addWidget(acrossLabel, 4, 3);
    grid->addWidget(mAcrossSpin, 4, 4);

    mPaperCombo = new QComboBox(this);
    mPaperCombo->setObjectName(QStringLiteral("PaperCombo"));
    mPaperCombo->addItems(TLabelEditForm::PaperItems());
    mPaperCombo->setCurrentIndex(-1);
    mShapeCombo = new QComboBox(this);
    mShapeCombo->setObjectName(QStringLiteral("ShapeCombo"));
    mShapeCombo->addItems(TLabelEditForm::ShapeItems());
    mShapeCombo->setCurrentIndex(mForm.ShapeItem());
    auto* paperLabel = new QLabel(QStringLiteral("&Paper size"), this);
    paperLabel->setBuddy(mPaperCombo);
    auto* shapeLabel = new QLabel(QStringLiteral("Label &Shape"), this);
    shapeLabel->setBuddy(mShapeCombo);
    grid->addWidget(paperLabel, 5, 0);
    grid->addWidget(mPaperCombo, 5, 1, 1, 4);
    grid->addWidget(shapeLabel, 6, 0);
    grid->addWidget(mShapeCombo, 6, 1, 1, 4);

    auto* units = new QGroupBox(this);
    units->setObjectName(QStringLiteral("UnitsGroup"));
    mInchesRadio = new QRadioButton(QStringLiteral("Use &Inches"), units);
    mInchesRadio->setObjectName(QStringLiteral("InchesRadio"));
    mInchesRadio->setChecked(true);
    mMillimetresRadio = new QRadioButton(QStringLiteral("Use &Millimeters"), units);
    mMillimetresRadio->setObjectName(QStringLiteral("MillimetresRadio"));
    auto* unitsLayout = new QHBoxLayout(units);
    unitsLayout->addWidget(mInchesRadio);
    unitsLayout->addWidget(mMillimetresRadio);
    unitsLayout->addStretch();

    auto* buttons = new QDialogButtonBox(this);
    mOKButton = buttons->addButton(QDialogButtonBox::Ok);
    mOKButton->setObjectName(QStringLiteral("OKButton"));
    mOKButton->setDefault(true);
    mCancelButton = buttons->addButton(QDialogButtonBox::Cancel);
    mCancelButton->setObjectName(QStringLiteral("CancelButton"));
    mHelpButton = buttons->addButton(QDialogButtonBox::Help);
    mHelpButton->setObjectName(QStringLiteral("HelpButton"));
    mHelpButton->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(units);
    layout->addWidget(buttons);

    SetValidators();
    ShowTexts();

    connect(mAcrossSpin, &QSpinBox::valueChanged, this, [this](int value) {
        CountChange(mAcrossSpin, value, TLabelEditForm::kMinAcross, TLabelEditForm::kMaxAcross,
                    true);
    });
    connect(mDownSpin, &QSpinBox::valueChanged, this, [this](int value) {
        CountChange(mDownSpin, value, TLabelEditForm::kMinDown, TLabelEditForm::kMaxDown, false);
    });
    // A pick of the item already shown fills the paper size again; activated covers it.
    connect(mPaperCombo, &QComboBox::activated, this, &TLabelEdit::PaperComboChange);
    connect(mPaperCombo, &QComboBox::currentIndexChanged, this, &TLabelEdit::PaperComboChange);
    connect(mShapeCombo, &QComboBox::currentIndexChanged, this, &TLabelEdit::ShapeComboChange);
    connect(mInchesRadio, &QRadioButton::toggled, this, &TLabelEdit::UnitClick);
    connect(mOKButton, &QPushButton::clicked, this, &TLabelEdit::OKButtonClick);
    connect(mCancelButton, &QPushButton::clicked, this, &TLabelEdit::reject);
    connect(mHelpButton, &QPushButton::clicked, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });

    LengthEdit(L::LabelHeight)->setFocus();
    data::TWindowPlacement::Centre(*this, parent ? parent->window() : nullptr);
}

TLabelEdit::~TLabelEdit() = default;

std::optional<TLabelGeometry> TLabelEdit::Edit(const TLabelGeometry& geometry, QWidget* parent)
{
    TLabelEdit dialog(geometry, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Geometry();
}

void TLabelEdit::SetValidators()
{
    // Inches: up to 6 digits, 3 of them decimals; millimetres: whole numbers of up to 3 digits.
    static const QRegularExpression inches(QStringLiteral("\\d{0,3}(\\.\\d{0,3})?"));
    static const QRegularExpression millimetres(QStringLiteral("\\d{0,3}"));
    const bool mm = mForm.Unit() == TLabelEditForm::TUnit::Millimetres;
    for (QLineEdit* edit : mEdits) {
        delete edit->validator();
        edit->setValidator(new QRegularExpressionValidator(mm ? millimetres : inches, edit));
    }
}

void TLabelEdit::ShowTexts(QLineEdit* except)
{
    for (int i = 0; i < TLabelEditForm::kLengthCount; ++i) {
        QLineEdit* edit = mEdits[size_t(i)];
        const QString text = mForm.Text(L(i));
        if (edit != except && edit->text() != text)
            edit->setText(text);
    }
}

void TLabelEdit::LengthEdited(TLength field, const QString& text)
{
    mForm.SetText(field, text);
}

void TLabelEdit::LengthLeft(TLength field)
{
    mForm.LeaveField(field);
    ShowTexts();
}

void TLabelEdit::UnitClick()
{
    const auto unit = mInchesRadio->isChecked() ? TLabelEditForm::TUnit::Inches
                                                : TLabelEditForm::TUnit::Millimetres;
    if (unit == mForm.Unit())
        return;
    mForm.SetUnit(unit);
    SetValidators();
    ShowTexts();
}

void TLabelEdit::PaperComboChange(int item)
{
    if (item < 0)
        return;
    mForm.ChoosePaper(item);
    ShowTexts();
}

void TLabelEdit::ShapeComboChange(int item)
{
    mForm.ChooseShape(item);
}

void TLabelEdit::CountChange(QSpinBox* spin, int value, int min, int max, bool across)
{
    if (across)
        mForm.SetAcross(value);
    else
        mForm.SetDown(value);
    if (value >= min && value <= max && (spin->minimum() != min || spin->maximum() != max))
        spin->setRange(min, max);
}

void TLabelEdit::OKButtonClick()
{
    TLabelGeometry accepted;
    const QString problem = mForm.Accept(&accepted);
    ShowTexts();
    if (!problem.isEmpty()) {
        data::TMessageService::Inform(this, problem);
        return;
    }
    mGeometry = accepted;
    accept();
}

} // namespace qm::labels
