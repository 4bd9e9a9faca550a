#include "letters/ui/TPagePropertiesDialog.h"

#include "data/TMessageService.h"
#include "data/ui/THelpWindow.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm::letters {

namespace {

TPageUnit gUnit = TPageUnit::Inch;

} // namespace

TPageUnit TPagePropertiesDialog::RememberedUnit()
{
    return gUnit;
}

TPagePropertiesDialog::TPagePropertiesDialog(const TLetterPageTwips& page, QWidget* parent)
    : QDialog(parent), mPage(page)
{
    setObjectName(QStringLiteral("TPagePropertiesDialog"));
    setWindowTitle(QStringLiteral("Page Properties"));

    const char* names[6] = {"WidthEdit",  "HeightEdit", "TopEdit",
                            "BottomEdit", "LeftEdit",   "RightEdit"};
    for (int i = 0; i < 6; ++i) {
        mEdits[size_t(i)] = new QLineEdit(this);
        mEdits[size_t(i)]->setObjectName(QString::fromLatin1(names[i]));
        connect(mEdits[size_t(i)], &QLineEdit::textEdited, this, [this, i] { EditChanged(i); });
    }
    auto* paper = new QGroupBox(QStringLiteral("Paper Size"), this);
    auto* paperForm = new QFormLayout(paper);
    paperForm->addRow(QStringLiteral("&Width"), mEdits[0]);
    paperForm->addRow(QStringLiteral("&Height"), mEdits[1]);
    auto* margins = new QGroupBox(QStringLiteral("Margins"), this);
    auto* marginForm = new QFormLayout(margins);
    marginForm->addRow(QStringLiteral("&Top"), mEdits[2]);
    marginForm->addRow(QStringLiteral("&Bottom"), mEdits[3]);
    marginForm->addRow(QStringLiteral("&Left"), mEdits[4]);
    marginForm->addRow(QStringLiteral("&Right"), mEdits[5]);

    mUnit = new QComboBox(this);
    mUnit->setObjectName(QStringLiteral("UnitList"));
    for (TPageUnit unit : {TPageUnit::Inch, TPageUnit::Cm, TPageUnit::Twips})
        mUnit->addItem(TPageUnits::Name(unit));
    mShownUnit = gUnit;
    mUnit->setCurrentText(TPageUnits::Name(gUnit));
    auto* unitLabel = new QLabel(QStringLiteral("&Unit"), this);
    unitLabel->setBuddy(mUnit);
    connect(mUnit, &QComboBox::currentIndexChanged, this, &TPagePropertiesDialog::UnitChanged);

    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TPagePropertiesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });

    auto* unitRow = new QHBoxLayout;
    unitRow->addWidget(unitLabel);
    unitRow->addWidget(mUnit);
    unitRow->addStretch(1);
    auto* groups = new QHBoxLayout;
    groups->addWidget(paper);
    groups->addWidget(margins);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addLayout(unitRow);
    layout->addWidget(buttons);
    ShowValues();
}

int* TPagePropertiesDialog::Value(int index)
{
    switch (index) {
    case 0:
        return &mPage.width;
    case 1:
        return &mPage.height;
    case 2:
        return &mPage.top;
    case 3:
        return &mPage.bottom;
    case 4:
        return &mPage.left;
    default:
        return &mPage.right;
    }
}

void TPagePropertiesDialog::ShowValues()
{
    mShowing = true;
    for (int i = 0; i < 6; ++i)
        mEdits[size_t(i)]->setText(TPageUnits::Text(*Value(i), mShownUnit));
    mShowing = false;
}

void TPagePropertiesDialog::EditChanged(int index)
{
    if (mShowing)
        return;
    QLineEdit* edit = mEdits[size_t(index)];
    const std::optional<int> twips = TPageUnits::Twips(edit->text(), mShownUnit);
    if (!twips) {
        data::TMessageService::Inform(
            this, QStringLiteral("'%1' is not a valid number of %2.")
                      .arg(edit->text(), TPageUnits::Name(mShownUnit).toLower()));
        mShowing = true;
        edit->setText(TPageUnits::Text(*Value(index), mShownUnit));
        mShowing = false;
        return;
    }
    *Value(index) = *twips;
}

void TPagePropertiesDialog::UnitChanged()
{
    mShownUnit = TPageUnits::FromName(mUnit->currentText());
    ShowValues();
}

void TPagePropertiesDialog::accept()
{
    const QString problem = TPageUnits::Problem(mPage, mShownUnit);
    if (!problem.isEmpty()) {
        data::TMessageService::Inform(this, problem);
        return;
    }
    gUnit = mShownUnit;
    QDialog::accept();
}

} // namespace qm::letters
