#include "addressbook/ui/TSelectDateDialog.h"

#include "data/ui/THelpWindow.h"
#include "data/ui/TWindowPlacement.h"

#include <QCalendarWidget>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm::addressbook {

TSelectDateDialog::TSelectDateDialog(const QString& shownDate, const QDate& today, QWidget* parent)
    : QDialog(parent), mToday(today)
{
    setObjectName(QStringLiteral("TSelectDateDialog"));
    setWindowTitle(QStringLiteral("Select a Date"));
    QDate start = QDate::fromString(shownDate, QStringLiteral("MM/dd/yyyy"));
    if (!start.isValid())
        start = today;

    mCalendar = new QCalendarWidget(this);
    mCalendar->setObjectName(QStringLiteral("Calendar"));
    mCalendar->setSelectedDate(start);
    mCalendar->setGridVisible(true);
    mLongDate = new QLabel(this);
    mLongDate->setObjectName(QStringLiteral("LongDateLabel"));
    mLongDate->setAlignment(Qt::AlignCenter);
    QFont bold = mLongDate->font();
    bold.setBold(true);
    mLongDate->setFont(bold);

    auto* steps = new QHBoxLayout;
    const auto add = [&](const char* caption, auto slot) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(caption));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        steps->addWidget(b);
    };
    add("Year-", [this] { Step(-1, 0); });
    add("Month-", [this] { Step(0, -1); });
    add("Today", [this] { mCalendar->setSelectedDate(mToday); });
    add("Month +", [this] { Step(0, 1); });
    add("Year+", [this] { Step(1, 0); });

    auto* bottom = new QHBoxLayout;
    const auto addBottom = [&](const char* caption, auto slot) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(caption));
        connect(b, &QPushButton::clicked, this, slot);
        bottom->addWidget(b);
        return b;
    };
    bottom->addStretch();
    addBottom("Ok", [this] {
        mOutcome = Chosen;
        accept();
    })->setDefault(true);
    addBottom("Cancel", [this] {
        mOutcome = Cancelled;
        reject();
    });
    addBottom("No Date", [this] {
        mOutcome = NoDate;
        accept();
    });
    addBottom("Help", [this] { data::THelpWindow::ShowContext(kHelpContext, this); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mLongDate);
    layout->addWidget(mCalendar);
    layout->addLayout(steps);
    layout->addLayout(bottom);

    connect(mCalendar, &QCalendarWidget::selectionChanged, this,
            [this] { mLongDate->setText(LongDateText()); });
    connect(mCalendar, &QCalendarWidget::activated, this, [this] {
        mOutcome = Chosen;
        accept();
    });
    mLongDate->setText(LongDateText());
    data::TWindowPlacement::Centre(*this, parent ? parent->window() : nullptr);
}

QDate TSelectDateDialog::Date() const
{
    return mCalendar->selectedDate();
}

QString TSelectDateDialog::LongDateText() const
{
    return QLocale().toString(Date(), QLocale::LongFormat);
}

QPushButton* TSelectDateDialog::Button(const QString& caption) const
{
    return findChild<QPushButton*>(caption);
}

void TSelectDateDialog::Step(int years, int months)
{
    mCalendar->setSelectedDate(Date().addYears(years).addMonths(months));
}

} // namespace qm::addressbook
