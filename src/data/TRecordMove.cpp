#include "data/TRecordMove.h"

#include "data/TDataSet.h"
#include "xbase/TXbaseError.h"

namespace qm::data {

QString TRecordMove::Step(TDataSet& dataSet, TRecordStep step)
{
    if (!dataSet.Active())
        return {};
    try {
        switch (step) {
        case TRecordStep::First:
            dataSet.First();
            break;
        case TRecordStep::Prior:
            dataSet.Prior();
            break;
        case TRecordStep::Next:
            dataSet.Next();
            break;
        case TRecordStep::Last:
            dataSet.Last();
            break;
        }
    } catch (const xbase::TXbaseError& error) {
        return QString::fromStdString(error.Message());
    } catch (const TDataSetError& error) {
        return error.Message();
    }
    return {};
}

} // namespace qm::data
