#include "labels/TAdcTable.h"

#include <QFile>

namespace qm::labels {

TAdcTable TAdcTable::Parse(const QString& text)
{
    TAdcTable table;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab < 0)
            continue;
        TAdcRow row;
        row.name = line.left(tab).toString();
        row.prefixes = line.mid(tab + 1).toString().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        table.mRows.push_back(std::move(row));
    }
    return table;
}

const TAdcTable& TAdcTable::Shipped()
{
    static const TAdcTable table = [] {
        QFile file(QStringLiteral(":/presort/adc-table.txt"));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("The ADC table is missing from the program's resources");
        return Parse(QString::fromUtf8(file.readAll()));
    }();
    return table;
}

} // namespace qm::labels
