#include "addressbook/ui/TGettingStartedDialog.h"

#include "data/TMessageService.h"
#include "data/TSettingsFile.h"
#include "data/ui/TWindowPlacement.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace qm::addressbook {

TGettingStartedDialog::TGettingStartedDialog(const data::TSettingsFile& settings, QWidget* parent)
    : QDialog(parent), mSettings(settings)
{
    setObjectName(QStringLiteral("TGettingStartedDialog"));
    setWindowTitle(QStringLiteral("Getting Started"));
    auto* text = new QLabel(this);
    text->setWordWrap(true);
    text->setTextFormat(Qt::RichText);
    text->setText(QStringLiteral(
        "<h3>Welcome to Quillmark</h3>"
        "<p>Quillmark keeps your mailing list in an <b>address file</b> and shows it one record "
        "at a time. A first address file is already open for you.</p>"
        "<ol>"
        "<li><b>Add</b> a record with the Add button at the bottom of the window, type the "
        "name and address, then press <b>Save</b> (or Ctrl+Enter).</li>"
        "<li>Move between records with the arrow buttons or Ctrl+arrow keys, and choose the "
        "order in the <b>Sort</b> menu.</li>"
        "<li>Use <b>Filter</b> to work with only some records, and <b>Search</b> to jump to a "
        "name.</li>"
        "<li>Print labels, envelopes, letters and reports with the buttons along the top.</li>"
        "</ol>"
        "<p>Press F1 in any window for help on it.</p>"));
    mDoNotShow = new QCheckBox(QStringLiteral("Do not show this screen at start up"), this);
    mDoNotShow->setObjectName(QStringLiteral("DoNotShowCheck"));
    mDoNotShow->setChecked(
        settings.ReadBool(QStringLiteral("Misc"), QStringLiteral("GettingStarted"), false));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(mDoNotShow);
    layout->addWidget(buttons);
    setMinimumWidth(440);
    data::TWindowPlacement::Centre(*this, parent ? parent->window() : nullptr);
}

void TGettingStartedDialog::done(int result)
{
    try {
        mSettings.WriteBool(QStringLiteral("Misc"), QStringLiteral("GettingStarted"),
                            mDoNotShow->isChecked());
    } catch (const data::TSettingsWriteError& error) {
        data::TMessageService::Inform(this, error.Message());
    }
    QDialog::done(result);
}

TAboutDialog::TAboutDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TAboutDialog"));
    setWindowTitle(QStringLiteral("About Quillmark"));
    auto* text = new QLabel(this);
    text->setTextFormat(Qt::RichText);
    text->setAlignment(Qt::AlignCenter);
    text->setText(QStringLiteral("<h2>Quillmark</h2><p>Version %1</p>"
                                 "<p>Mailing lists, labels, envelopes, letters and reports.</p>")
                      .arg(QApplication::applicationVersion()));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
    data::TWindowPlacement::Centre(*this, parent ? parent->window() : nullptr);
}

} // namespace qm::addressbook
