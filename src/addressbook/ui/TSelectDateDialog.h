#pragma once

// "Select a Date": a calendar with year and month steps, Today, Ok, Cancel and No Date. The
// chosen date shows in the long date format.

#include <QDate>
#include <QDialog>
#include <optional>

class QCalendarWidget;
class QLabel;
class QPushButton;

namespace qm::addressbook {

class TSelectDateDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1025;
    enum TOutcome { Cancelled, Chosen, NoDate };

    // shownDate is the date text as the form shows it ("mm/dd/yyyy"); today when it does not read.
    TSelectDateDialog(const QString& shownDate, const QDate& today, QWidget* parent = nullptr);

    TOutcome Outcome() const { return mOutcome; }
    QDate Date() const;
    QString LongDateText() const;

    QPushButton* Button(const QString& caption) const;

private:
    void Step(int years, int months);

    QCalendarWidget* mCalendar = nullptr;
    QLabel* mLongDate = nullptr;
    QDate mToday;
    TOutcome mOutcome = Cancelled;
};

} // namespace qm::addressbook
