#include "transfer/ui/TAsciiMatch.h"

#include "transfer/TColumnNames.h"
#include "transfer/TCsvSample.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace qm::transfer {

TAsciiMatch::TAsciiMatch(const TCsvSample& sample, const TFieldMatch& match, bool headerLine,
                         const QString& fileName, QWidget* parent)
    : TMatchFieldsDialog(QStringLiteral("ASCII File Import Match Fields"), match, fileName,
                         kHelpContext, parent),
      mSampleData(sample)
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
    mHeaderCheck = new QCheckBox(QStringLiteral("First line holds column names"), this);
    mHeaderCheck->setObjectName(QStringLiteral("HeaderCheck"));
    mHeaderCheck->setChecked(headerLine);
    mHeaderCheck->setEnabled(!sample.Rows().empty());
    TopArea()->addWidget(mHeaderCheck);
    ShowHeaderLine(HeaderLine());
    connect(mHeaderCheck, &QCheckBox::toggled, this, [this](bool header) {
        TFieldMatch& edited = EditMatch();
        if (header) {
            const QStringList& names = mSampleData.Rows().front();
            edited.SetColumnNames(names);
            TColumnNames::Shipped().MatchByName(edited, names);
        } else {
            edited.SetColumnNames({});
        }
        ShowHeaderLine(header);
        Refresh();
    });
    resize(std::max(640, logicalDpiX() * 7), std::max(480, logicalDpiY() * 5));
}

bool TAsciiMatch::HeaderLine() const
{
    return mHeaderCheck->isChecked() && !mSampleData.Rows().empty();
}

void TAsciiMatch::ShowHeaderLine(bool header)
{
    if (mSampleData.Rows().empty())
        return;
    mSample->setRowHidden(0, header);
    const QStringList& names = mSampleData.Rows().front();
    for (int column = 0; column < mSample->columnCount(); ++column) {
        QString caption = TCsvSample::FieldName(column);
        if (header && !names.value(column).trimmed().isEmpty())
            caption += QLatin1Char('\n') + names.value(column).simplified();
        mSample->horizontalHeaderItem(column)->setText(caption);
    }
}

} // namespace qm::transfer
