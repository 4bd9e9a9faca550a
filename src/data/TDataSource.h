#pragma once

// Connects bound controls to a data set: controls listen to its signals and refresh their shown
// value; while the source is disabled (or the data set's controls are), nothing is passed on.
// Enabling again passes one refresh.

#include <QObject>
#include <QPointer>

namespace qm::data {

class TDataSet;

class TDataSource : public QObject {
    Q_OBJECT
public:
    explicit TDataSource(TDataSet* dataSet = nullptr, QObject* parent = nullptr);

    TDataSet* DataSet() const { return mDataSet; }
    void SetDataSet(TDataSet* dataSet);

    bool Enabled() const { return mEnabled; }
    void SetEnabled(bool enabled);

signals:
    // Bound controls re-read their values.
    void DataChanged();
    // Bound controls re-read whether they can be edited.
    void StateChanged();

private:
    QPointer<TDataSet> mDataSet;
    QMetaObject::Connection mDataConnection;
    QMetaObject::Connection mStateConnection;
    bool mEnabled = true;
};

} // namespace qm::data
