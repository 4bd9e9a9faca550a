#include "data/TDataField.h"

namespace qm::data {

TDataField::TDataField(QString name, QString displayLabel, bool visible, bool calculated,
                       TDataFieldType type, int size)
    : mName(std::move(name)), mDisplayLabel(std::move(displayLabel)), mVisible(visible),
      mCalculated(calculated), mType(type), mSize(size)
{
}

void TDataField::Bind(int engineIndex, TDataFieldType type, int size)
{
    mEngineIndex = engineIndex;
    mType = type;
    mSize = size;
}

void TDataField::Unbind()
{
    mEngineIndex = -1;
}

} // namespace qm::data
