#include "richtext/ui/TParagraphDialog.h"

#include "data/TMessageService.h"
#include "data/ui/THelpWindow.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace qm::richtext {

namespace {

constexpr double TwipsPerCentimetre = 1440 / 2.54;

QString Number(double value)
{
    return QLocale().toString(value, 'f', 2);
}

bool Parse(const QString& text, double* value)
{
    bool ok = false;
    *value = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok)
        *value = text.trimmed().toDouble(&ok); // "1.5" also where the locale writes "1,5"
    return ok && std::isfinite(*value);
}

} // namespace

TParagraphDialog::TParagraphDialog(const TParagraphSettings& settings, int textWidth,
                                   QWidget* parent)
    : QDialog(parent), mSettings(settings), mTextWidth(textWidth)
{
    setObjectName(QStringLiteral("TParagraphDialog"));
    setWindowTitle(QStringLiteral("Paragraph Settings"));

    auto makeEdit = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000.000")) + 16);
        return edit;
    };
    mUnitBox = new QComboBox(this);
    mUnitBox->setObjectName(QStringLiteral("UnitBox"));
    mUnitBox->addItems({QStringLiteral("Inches"), QStringLiteral("Centimetres")});
    mLeftEdit = makeEdit("LeftEdit");
    mRightEdit = makeEdit("RightEdit");
    mFirstLineBox = new QComboBox(this);
    mFirstLineBox->setObjectName(QStringLiteral("FirstLineBox"));
    mFirstLineBox->addItems({QStringLiteral("Same as Left Indent"), QStringLiteral("Indented by")});
    mFirstEdit = makeEdit("FirstEdit");
    mBeforeEdit = makeEdit("BeforeEdit");
    mLineHeightEdit = makeEdit("LineHeightEdit");
    mLineHeightEdit->setToolTip(
        QStringLiteral("The least height of each line in points; 0 for single spacing"));
    mAfterEdit = makeEdit("AfterEdit");

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Units:"), mUnitBox);
    form->addRow(QStringLiteral("&Left indent:"), mLeftEdit);
    form->addRow(QStringLiteral("&Right indent:"), mRightEdit);
    form->addRow(QStringLiteral("&First line:"), mFirstLineBox);
    form->addRow(QStringLiteral("&Indented by:"), mFirstEdit);
    form->addRow(QStringLiteral("Space &before (pt):"), mBeforeEdit);
    form->addRow(QStringLiteral("Line &height (pt):"), mLineHeightEdit);
    form->addRow(QStringLiteral("Space &after (pt):"), mAfterEdit);
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKButton"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (OKButtonClick())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });
    connect(mFirstLineBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        mFirstEdit->setEnabled(index == 1);
        if (index == 0)
            ShowLength(mFirstEdit, 0);
    });
    connect(mUnitBox, &QComboBox::currentIndexChanged, this, [this] {
        // The lengths typed so far are converted, not lost; a field that is not a number stays.
        const double factor = mShownUnit == EUnit::Inches ? 1440.0 : TwipsPerCentimetre;
        mShownUnit = Unit();
        for (QLineEdit* edit : {mLeftEdit, mRightEdit, mFirstEdit}) {
            const auto shown = mShown.constFind(edit);
            double value = 0;
            if (shown != mShown.constEnd() && shown->first == edit->text())
                ShowLength(edit, shown->second);
            else if (Parse(edit->text(), &value))
                ShowLength(edit, static_cast<int>(std::lround(value * factor)));
        }
    });
    ShowSettings();
}

TParagraphDialog::EUnit TParagraphDialog::Unit() const
{
    return mUnitBox->currentIndex() == 1 ? EUnit::Centimetres : EUnit::Inches;
}

void TParagraphDialog::SetUnit(EUnit unit)
{
    mUnitBox->setCurrentIndex(unit == EUnit::Centimetres ? 1 : 0);
}

void TParagraphDialog::ShowLength(QLineEdit* edit, int twips)
{
    const double factor = Unit() == EUnit::Inches ? 1440.0 : TwipsPerCentimetre;
    const QString text = Number(twips / factor);
    edit->setText(text);
    mShown.insert(edit, {text, twips});
}

void TParagraphDialog::ShowSettings()
{
    ShowLength(mLeftEdit, mSettings.leftIndent);
    ShowLength(mRightEdit, mSettings.rightIndent);
    mFirstLineBox->setCurrentIndex(mSettings.firstIndent != 0 ? 1 : 0);
    mFirstEdit->setEnabled(mSettings.firstIndent != 0);
    ShowLength(mFirstEdit, mSettings.firstIndent);
    mBeforeEdit->setText(Number(mSettings.spaceBefore / 20.0));
    mLineHeightEdit->setText(Number(mSettings.lineHeight / 20.0));
    mAfterEdit->setText(Number(mSettings.spaceAfter / 20.0));
}

bool TParagraphDialog::ReadLength(QLineEdit* edit, const QString& name, int* twips) const
{
    double value = 0;
    if (!Parse(edit->text(), &value) || std::abs(value) > 1000) {
        data::TMessageService::Inform(
            const_cast<TParagraphDialog*>(this),
            QStringLiteral("\"%1\" is not a valid number for %2.").arg(edit->text(), name));
        edit->setFocus();
        edit->selectAll();
        return false;
    }
    const auto shown = mShown.constFind(edit);
    if (shown != mShown.constEnd() && shown->first == edit->text()) {
        *twips = shown->second;
        return true;
    }
    const double factor = Unit() == EUnit::Inches ? 1440.0 : TwipsPerCentimetre;
    *twips = static_cast<int>(std::lround(value * factor));
    return true;
}

bool TParagraphDialog::ReadPoints(QLineEdit* edit, const QString& name, int* twips) const
{
    double value = 0;
    if (!Parse(edit->text(), &value) || std::abs(value) > 10000) {
        data::TMessageService::Inform(
            const_cast<TParagraphDialog*>(this),
            QStringLiteral("\"%1\" is not a valid number for %2.").arg(edit->text(), name));
        edit->setFocus();
        edit->selectAll();
        return false;
    }
    *twips = static_cast<int>(std::lround(value * 20));
    return true;
}

bool TParagraphDialog::OKButtonClick()
{
    TParagraphSettings read;
    if (!ReadLength(mLeftEdit, QStringLiteral("the left indent"), &read.leftIndent) ||
        !ReadLength(mRightEdit, QStringLiteral("the right indent"), &read.rightIndent))
        return false;
    if (mFirstLineBox->currentIndex() == 1) {
        if (!ReadLength(mFirstEdit, QStringLiteral("the first line"), &read.firstIndent))
            return false;
    }
    if (!ReadPoints(mBeforeEdit, QStringLiteral("the space before"), &read.spaceBefore) ||
        !ReadPoints(mLineHeightEdit, QStringLiteral("the line height"), &read.lineHeight) ||
        !ReadPoints(mAfterEdit, QStringLiteral("the space after"), &read.spaceAfter))
        return false;
    const QString problem = read.Problem(mTextWidth);
    if (!problem.isEmpty()) {
        data::TMessageService::Inform(this, problem);
        return false;
    }
    mSettings = read;
    return true;
}

} // namespace qm::richtext
