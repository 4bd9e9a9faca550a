#include "labels/TLabelSelection.h"

#include <QStringList>
#include <algorithm>

namespace qm::labels {

TLabelSelection::TLabelSelection(int positions) : mSelected(std::max(positions, 0), true) {}

void TLabelSelection::Resize(int positions)
{
    mSelected.resize(std::max(positions, 0), true);
}

bool TLabelSelection::Selected(int position) const
{
    return position >= 0 && position < Positions() && mSelected[position];
}

void TLabelSelection::SetSelected(int position, bool selected)
{
    if (position >= 0 && position < Positions())
        mSelected[position] = selected;
}

void TLabelSelection::Toggle(int position)
{
    SetSelected(position, !Selected(position));
}

void TLabelSelection::SelectAll()
{
    std::fill(mSelected.begin(), mSelected.end(), true);
}

void TLabelSelection::SelectNone()
{
    std::fill(mSelected.begin(), mSelected.end(), false);
}

int TLabelSelection::SelectedCount() const
{
    return static_cast<int>(std::count(mSelected.begin(), mSelected.end(), true));
}

QString TLabelSelection::NothingSelectedMessage()
{
    return QStringLiteral("You must select at least one card to print");
}

std::optional<TLabelSelection> TLabelSelection::Parse(const QString& list, int positions,
                                                      QString* error)
{
    auto fail = [&](const QString& message) -> std::optional<TLabelSelection> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    auto number = [&](const QString& text, const QString& part, int* value) -> QString {
        bool ok = false;
        const QString trimmed = text.trimmed();
        const int n = trimmed.toInt(&ok);
        if (!ok || trimmed.startsWith(QLatin1Char('+')) || trimmed.startsWith(QLatin1Char('-')))
            return QStringLiteral("\"%1\" is not a position number").arg(part);
        if (n < 1 || n > positions)
            return QStringLiteral("position %1 is not on the sheet (it has positions 1 to %2)")
                .arg(n)
                .arg(positions);
        *value = n;
        return {};
    };

    TLabelSelection selection(positions);
    selection.SelectNone();
    if (list.trimmed().isEmpty())
        return fail(QStringLiteral("the position list is empty"));
    for (const QString& rawPart : list.split(QLatin1Char(','))) {
        const QString part = rawPart.trimmed();
        if (part.isEmpty())
            return fail(QStringLiteral("the position list \"%1\" has an empty entry").arg(list));
        const qsizetype dash = part.indexOf(QLatin1Char('-'), 1);
        int first = 0;
        int last = 0;
        QString problem = number(dash < 0 ? part : part.left(dash), part, &first);
        if (problem.isEmpty())
            problem =
                dash < 0 ? (last = first, QString()) : number(part.mid(dash + 1), part, &last);
        if (!problem.isEmpty())
            return fail(problem);
        if (last < first)
            return fail(QStringLiteral("the range \"%1\" runs backwards").arg(part));
        for (int p = first; p <= last; ++p)
            selection.SetSelected(p - 1, true);
    }
    return selection;
}

} // namespace qm::labels
