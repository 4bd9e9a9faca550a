#include "transfer/ui/TAsciiMatch.h"

#include "transfer/TCsvSample.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace qm::transfer {

TAsciiMatch::TAsciiMatch(const TCsvSample& sample, const TFieldMatch& match,
                         const QString& fileName, QWidget* parent)
    : TMatchFieldsDialog(QStringLiteral("ASCII File Import Match Fields"), match, fileName,
                         kHelpContext, parent)
{
    setObjectName(QStringLiteral("TAsciiMatch"));
    TopArea()->addWidget(new QLabel(QStringLiteral("Sample ASCII Fields"), this));
    mSample = new QTableWidget(int(sample.Rows().size()), sample.FieldCount(), this);
    mSample->setObjectName(QStringLiteral("SampleGrid"));
    mSample->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mSample->verticalHeader()->hide();
    const int letterW = fontMetrics().horizontalAdvance(QLatin1Char('W'));
    const int least = fontMetrics().horizontalAdvance(QStringLiteral("Field 12")) + 8;
    const int most = logicalDpiX() * 2;
    for (int column = 0; column < sample.FieldCount(); ++column) {
        mSample->setHorizontalHeaderItem(column,
                                         new QTableWidgetItem(TCsvSample::FieldName(column)));
        mSample->setColumnWidth(column, std::clamp(letterW * sample.Longest(column), least, most));
    }
    for (size_t row = 0; row < sample.Rows().size(); ++row)
        for (int column = 0; column < sample.FieldCount(); ++column)
            mSample->setItem(int(row), column,
                             new QTableWidgetItem(sample.Rows()[row].value(column)));
    TopArea()->addWidget(mSample);
    resize(std::max(640, logicalDpiX() * 7), std::max(480, logicalDpiY() * 5));
}

} // namespace qm::transfer
