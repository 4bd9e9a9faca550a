#include "data/ui/TFieldLengthsDialog.h"

#include "data/TSettingsFile.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TMessageService.h"
#include "data/ui/TWindowPlacement.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm::data {
namespace {

// The dialog's captions in its own order, with the field each one sets.
struct TEntrySpec {
    const char* caption;
    const char* field;
};
constexpr std::array<TEntrySpec, TNewFileFieldLengths::kCount> kEntries = {{
    {"First Name", "FNAME"},
    {"Last Name", "LNAME"},
    {"Prefix", "PREFIX"},
    {"Title", "TITLE"},
    {"Organization", "ORG"},
    {"Address #1", "STREET"},
    {"Address #2", "STREET2"},
    {"City", "CITY"},
    {"State", "STATE"},
    {"Zip/Postal", "ZIP"},
    {"Country", "COUNTRY"},
    {"Phone #1", "PHONE"},
    {"Phone #2", "PHONE2"},
    {"Fax", "FAX"},
    {"E-Mail", "EMAIL"},
    {"Codes", "CODES"},
    {"Comments #1", "USER1"},
    {"Comments #2", "USER2"},
}};

int IndexOfField(const char* field)
{
    const auto& names = TNewFileFieldLengths::FieldNames();
    for (size_t i = 0; i < names.size(); ++i)
        if (QLatin1String(names[i]) == QLatin1String(field))
            return int(i);
    return -1;
}

} // namespace

TFieldLengthsDialog::TFieldLengthsDialog(const TNewFileFieldLengths& lengths,
                                         TSettingsFile& settings, QWidget* parent)
    : QDialog(parent), mSettings(settings), mLengths(lengths)
{
    setObjectName(QStringLiteral("TFieldLengthsDialog"));
    setWindowTitle(QStringLiteral("Specify Field Lengths"));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    constexpr int kRows = (TNewFileFieldLengths::kCount + 1) / 2;
    for (size_t i = 0; i < kEntries.size(); ++i) {
        auto* entry = new QLineEdit(this);
        entry->setObjectName(QStringLiteral("Edit") + QLatin1String(kEntries[i].field));
        entry->setMaxLength(3);
        entry->setAlignment(Qt::AlignRight);
        entry->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
        auto* label = new QLabel(QString::fromLatin1(kEntries[i].caption), this);
        label->setBuddy(entry);
        const int row = int(i) % kRows;
        const int column = int(i) / kRows * 2;
        grid->addWidget(label, row, column);
        grid->addWidget(entry, row, column + 1);
        mEntries[i] = entry;
        connect(entry, &QLineEdit::editingFinished, this, [this, i] { EntryExit(int(i)); });
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* note = new QLabel(QStringLiteral("NOTE: Minimum size = 10 characters                  "
                                           "Maximum size = 80 characters"),
                            this);
    note->setObjectName(QStringLiteral("NoteLabel"));
    mUseForAllCheck =
        new QCheckBox(QStringLiteral("Use these settings for all new databases"), this);
    mUseForAllCheck->setObjectName(QStringLiteral("UseForAllCheck"));

    auto* buttons = new QDialogButtonBox(this);
    mOKButton = buttons->addButton(QDialogButtonBox::Ok);
    buttons->addButton(QDialogButtonBox::Cancel);
    mDefaultsButton = buttons->addButton(QStringLiteral("&Defaults"), QDialogButtonBox::ResetRole);
    mDefaultsButton->setObjectName(QStringLiteral("DefaultsButton"));
    QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
    connect(mOKButton, &QPushButton::clicked, this, &TFieldLengthsDialog::OKButtonClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(mDefaultsButton, &QPushButton::clicked, this,
            &TFieldLengthsDialog::DefaultsButtonClick);
    connect(help, &QPushButton::clicked, this,
            [this] { THelpWindow::ShowContext(kHelpContext, this); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(note);
    layout->addWidget(mUseForAllCheck);
    layout->addWidget(buttons);

    Fill(lengths);
    TWindowPlacement::Centre(*this, parentWidget() ? parentWidget()->window() : nullptr);
}

QLineEdit* TFieldLengthsDialog::Entry(const QString& fieldName) const
{
    for (size_t i = 0; i < kEntries.size(); ++i)
        if (fieldName.compare(QLatin1String(kEntries[i].field), Qt::CaseInsensitive) == 0)
            return mEntries[i];
    return nullptr;
}

void TFieldLengthsDialog::Fill(const TNewFileFieldLengths& lengths)
{
    for (size_t i = 0; i < kEntries.size(); ++i) {
        mShown[i] = lengths.At(IndexOfField(kEntries[i].field));
        mEntries[i]->setText(QString::number(mShown[i]));
    }
}

void TFieldLengthsDialog::EntryExit(int index)
{
    const auto value = TNewFileFieldLengths::ParseDialogValue(mEntries[size_t(index)]->text());
    if (value)
        mShown[size_t(index)] = *value;
    mEntries[size_t(index)]->setText(QString::number(mShown[size_t(index)]));
}

void TFieldLengthsDialog::DefaultsButtonClick()
{
    Fill(TNewFileFieldLengths::DialogDefaults());
}

void TFieldLengthsDialog::OKButtonClick()
{
    TNewFileFieldLengths lengths;
    for (size_t i = 0; i < kEntries.size(); ++i) {
        EntryExit(int(i));
        lengths.Set(IndexOfField(kEntries[i].field), mShown[i]);
    }
    if (mUseForAllCheck->isChecked()) {
        try {
            lengths.Save(mSettings);
        } catch (const TSettingsWriteError& error) {
            TMessageService::Inform(this, error.Message());
            return;
        }
    }
    mLengths = lengths;
    accept();
}

} // namespace qm::data
