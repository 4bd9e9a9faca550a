#include "data/TDataSource.h"

#include "data/TDataSet.h"

namespace qm::data {

TDataSource::TDataSource(TDataSet* dataSet, QObject* parent) : QObject(parent)
{
    SetDataSet(dataSet);
}

void TDataSource::SetDataSet(TDataSet* dataSet)
{
    disconnect(mDataConnection);
    disconnect(mStateConnection);
    mDataSet = dataSet;
    if (dataSet) {
        mDataConnection = connect(dataSet, &TDataSet::DataChanged, this, [this] {
            if (mEnabled)
                emit DataChanged();
        });
        mStateConnection = connect(dataSet, &TDataSet::StateChanged, this, [this] {
            if (mEnabled)
                emit StateChanged();
        });
    }
    if (mEnabled) {
        emit StateChanged();
        emit DataChanged();
    }
}

void TDataSource::SetEnabled(bool enabled)
{
    if (mEnabled == enabled)
        return;
    mEnabled = enabled;
    if (enabled) {
        emit StateChanged();
        emit DataChanged();
    }
}

} // namespace qm::data
