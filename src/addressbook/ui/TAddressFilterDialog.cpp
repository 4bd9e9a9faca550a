#include "addressbook/ui/TAddressFilterDialog.h"

#include "addressbook/TAddressBook.h"
#include "addressbook/TRecordFormLayout.h"
#include "data/TMessageService.h"
#include "data/ui/THelpWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <string_view>

namespace qm::addressbook {

const QString TAddressFilterDialog::kHint = QStringLiteral(
    "Hint: to look for only part of a value, first type in a $ and then the value to look for. As "
    "an example, to find all records containing the code letter C in the Codes field, type in $C. "
    "Right click on any field or press HELP for more helpful tips");

const QString TAddressFilterDialog::kDateHint =
    QStringLiteral("Note: enter dates in the form: YYYYMMDD\r(i.e. 19970428 for April 28, 1997)");

namespace {

// Hints are written with Windows line breaks; tool tips break lines at "\n".
QString ShownHint(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

} // namespace

TAddressFilterDialog::TAddressFilterDialog(TAddressBook& book, QWidget* parent)
    : QDialog(parent), mBook(book), mRemembered(book.Filter())
{
    setObjectName(QStringLiteral("TAddressFilterDialog"));
    setWindowTitle(QStringLiteral("Address Filter"));
    auto* layout = new QVBoxLayout(this);

    // The same cells as the record form; the date cell also holds the "(YYYYMMDD)" label.
    const auto placeEntries = [&](QGridLayout* grid, std::span<const TFormCell> cells) {
        for (const TFormCell& cell : cells) {
            auto* edit = new QLineEdit(this);
            auto* label = new QLabel(QString::fromLatin1(cell.label), this);
            // The label is as tall as its entry and centred in that height, so that it stands
            // beside the entry as on the record form, also in the date row, which is taller.
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            label->setMinimumHeight(edit->sizeHint().height());
            grid->addWidget(label, cell.row, cell.column, Qt::AlignRight | Qt::AlignTop);
            grid->addWidget(edit, cell.row, cell.column + 1, 1, cell.span, Qt::AlignTop);
            if (cell.filterEntry < 0) {
                // No entry for this field, but its place is kept so the rest sits where the
                // record form has it.
                for (QWidget* w : {static_cast<QWidget*>(edit), static_cast<QWidget*>(label)}) {
                    QSizePolicy keep = w->sizePolicy();
                    keep.setRetainSizeWhenHidden(true);
                    w->setSizePolicy(keep);
                    w->hide();
                }
                continue;
            }
            edit->setObjectName(
                QString::fromLatin1(data::TFilterBuilder::ControlName(cell.filterEntry)));
            edit->installEventFilter(this);
            // A right click on an entry opens the tips on filters, as the hint panel says.
            edit->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(edit, &QWidget::customContextMenuRequested, this,
                    [this] { data::THelpWindow::ShowContext(kHelpContext, this); });
            mEntries[size_t(cell.filterEntry)] = edit;
            label->setBuddy(edit);
            if (std::string_view(cell.field) == "DisplayDate") {
                // "(YYYYMMDD)" under the entry, in a row made tall enough for both.
                edit->setToolTip(ShownHint(kDateHint));
                mDateHintLabel = new QLabel(QStringLiteral("(YYYYMMDD)"), this);
                mDateHintLabel->setObjectName(QStringLiteral("DateHintLabel"));
                mDateHintLabel->hide();
                grid->addWidget(mDateHintLabel, cell.row, cell.column + 1, 1, cell.span,
                                Qt::AlignLeft | Qt::AlignBottom);
                grid->setRowMinimumHeight(cell.row, edit->sizeHint().height() +
                                                        mDateHintLabel->sizeHint().height());
            }
        }
    };

    auto* names = new QGridLayout;
    placeEntries(names, TRecordFormLayout::NameBlock());
    names->setColumnStretch(1, 3);
    names->setColumnStretch(3, 3);
    names->setColumnStretch(7, 2);
    // The middle initial is as narrow as on the record form.
    if (auto* mi = names->itemAtPosition(0, 5); mi && mi->widget())
        mi->widget()->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("MM")) + 16);
    layout->addLayout(names);

    auto* page = new QFrame(this);
    page->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(page);
    placeEntries(grid, TRecordFormLayout::AddressPage());
    mTagged = new QCheckBox(QStringLiteral("Tagged"), page);
    mTagged->setObjectName(QStringLiteral("qTagged"));
    grid->addWidget(mTagged, TRecordFormLayout::kTaggedRow, TRecordFormLayout::kTaggedColumn);
    for (const int column : TRecordFormLayout::kEntryColumns)
        grid->setColumnStretch(column, 1);
    layout->addWidget(page, 1);

    auto* hint = new QLabel(kHint, this);
    hint->setObjectName(QStringLiteral("HintPanel"));
    hint->setWordWrap(true);
    hint->setFrameShape(QFrame::Panel);
    hint->setFrameShadow(QFrame::Sunken);
    hint->setMargin(4);
    layout->addWidget(hint);

    auto* bottom = new QHBoxLayout;
    mMatch = new QLabel(this);
    mMatch->setObjectName(QStringLiteral("MatchLabel"));
    bottom->addWidget(mMatch, 1);
    const auto button = [&](const char* name, const QString& caption,
                            void (TAddressFilterDialog::*slot)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false); // Enter moves between the entries
        connect(b, &QPushButton::clicked, this, slot);
        bottom->addWidget(b);
        return b;
    };
    button("TestButton", QStringLiteral("Test"), &TAddressFilterDialog::TestButtonClick);
    button("ClearButton", QStringLiteral("Clear"), &TAddressFilterDialog::ClearButtonClick);
    button("OKButton", QStringLiteral("Ok"), &TAddressFilterDialog::OKButtonClick);
    button("CancelButton", QStringLiteral("Cancel"), &TAddressFilterDialog::CancelButtonClick);
    auto* help = new QPushButton(QStringLiteral("Help"), this);
    help->setObjectName(QStringLiteral("HelpButton"));
    help->setAutoDefault(false);
    connect(help, &QPushButton::clicked, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });
    bottom->addWidget(help);
    layout->addLayout(bottom);

    ToControls(mRemembered);
    // Never smaller than the form needs (the hint panel wraps, which the minimum must allow for).
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    resize(QSize(632, 434).expandedTo(sizeHint()));
}

QString TAddressFilterDialog::MatchText() const
{
    return mMatch->text();
}

data::TFilterEntries TAddressFilterDialog::FromControls() const
{
    data::TFilterEntries filter;
    for (int i = 0; i < data::TFilterEntries::kCount; ++i)
        filter.entries[size_t(i)] = mEntries[size_t(i)]->text();
    filter.taggedOnly = mTagged->isChecked();
    return filter;
}

void TAddressFilterDialog::ToControls(const data::TFilterEntries& filter)
{
    for (int i = 0; i < data::TFilterEntries::kCount; ++i)
        mEntries[size_t(i)]->setText(filter.entries[size_t(i)]);
    mTagged->setChecked(filter.taggedOnly);
}

void TAddressFilterDialog::TestButtonClick()
{
    mMatch->setText(QStringLiteral("Searching..."));
    mMatch->repaint();
    const data::TFilterEntries filter = FromControls();
    mLastRefused = !data::TFilterBuilder::Build(filter, mBook.TagIdentifier()).error.isEmpty();
    mBook.Filter() = filter;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        mLastCount = mBook.ApplyFilter();
    } catch (const std::exception& error) {
        QApplication::restoreOverrideCursor();
        data::TMessageService::Inform(this, QString::fromStdString(error.what()));
        mLastRefused = true;
        return;
    }
    QApplication::restoreOverrideCursor();
    // A filter no record matches is dropped as it is applied; the line says why, rather than
    // that no filter was set.
    mMatch->setText(mBook.FilterMatchedNothing() ? QStringLiteral("No record matches this filter")
                    : mBook.FilterExpression().isEmpty()
                        ? QStringLiteral("No filter set")
                        : QString::number(mLastCount) + QStringLiteral(" matches"));
    if (mBook.IsOpen())
        mBook.DataSet().First();
}

void TAddressFilterDialog::ClearButtonClick()
{
    ToControls(data::TFilterEntries{});
    TestButtonClick();
}

void TAddressFilterDialog::OKButtonClick()
{
    TestButtonClick();
    // A refused entry keeps the form open so it can be corrected.
    if (!mLastRefused && (mLastCount > 0 || mBook.FilterExpression().isEmpty())) {
        accept();
        return;
    }
    data::TMessageService::Beep();
}

void TAddressFilterDialog::CancelButtonClick()
{
    reject();
}

void TAddressFilterDialog::reject()
{
    mBook.Filter() = mRemembered;
    QDialog::reject();
}

bool TAddressFilterDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mEntries[14] && mDateHintLabel) {
        if (event->type() == QEvent::FocusIn)
            mDateHintLabel->show();
        else if (event->type() == QEvent::FocusOut)
            mDateHintLabel->hide();
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace qm::addressbook
