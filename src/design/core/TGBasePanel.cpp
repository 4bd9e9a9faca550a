#include "design/core/TGBasePanel.h"

#include "data/TDataSet.h"
#include "design/text/TDesignUnits.h"

#include <algorithm>
#include <exception>

namespace qm::design {

TGBasePanel::TGBasePanel(TGOwner* owner)
    : mOwnOwner(owner ? nullptr : std::make_unique<TGOwner>()),
      mOwner(owner ? owner : mOwnOwner.get())
{
    mOwner->AddPanel(this);
}

TGBasePanel::~TGBasePanel()
{
    mSelection.clear();
    mObjects.clear();
    mOwner->RemovePanel(this);
}

namespace {

std::int32_t AtScale(std::int32_t length, float scale)
{
    return scale == 1.0f ? length : TDesignUnits::Round(double(length) * double(scale));
}

std::int32_t AtFullSize(std::int32_t length, float scale)
{
    return scale == 1.0f ? length : TDesignUnits::Round(double(length) / double(scale));
}

} // namespace

void TGBasePanel::SetSize(std::int32_t width, std::int32_t height)
{
    mDesignWidth = AtFullSize(width, mScale);
    mDesignHeight = AtFullSize(height, mScale);
    mWidth = width;
    mHeight = height;
    InvalidateRect(QRect(0, 0, width, height));
}

void TGBasePanel::SetDesignSize(std::int32_t width, std::int32_t height)
{
    mDesignWidth = width;
    mDesignHeight = height;
    mWidth = AtScale(width, mScale);
    mHeight = AtScale(height, mScale);
    InvalidateRect(QRect(0, 0, mWidth, mHeight));
}

int TGBasePanel::IndexOf(const TGGraphicControl* object) const
{
    for (std::size_t i = 0; i < mObjects.size(); ++i)
        if (mObjects[i].get() == object)
            return int(i);
    return -1;
}

TGGraphicControl* TGBasePanel::AddObject(std::unique_ptr<TGGraphicControl> object)
{
    TGGraphicControl* raw = object.get();
    raw->SetPanel(this);
    mObjects.push_back(std::move(object));
    raw->Invalidate();
    return raw;
}

std::unique_ptr<TGGraphicControl> TGBasePanel::TakeObject(TGGraphicControl* object)
{
    const int index = IndexOf(object);
    if (index < 0)
        return nullptr;
    Deselect(object);
    std::unique_ptr<TGGraphicControl> taken = std::move(mObjects[std::size_t(index)]);
    mObjects.erase(mObjects.begin() + index);
    InvalidateRect(taken->BoundsRect());
    taken->SetPanel(nullptr);
    return taken;
}

void TGBasePanel::DeleteObject(TGGraphicControl* object)
{
    if (TakeObject(object))
        NotifyChanged();
}

void TGBasePanel::MoveObject(TGGraphicControl* object, int newIndex)
{
    const int index = IndexOf(object);
    if (index < 0)
        return;
    newIndex = std::clamp(newIndex, 0, ObjectCount() - 1);
    std::unique_ptr<TGGraphicControl> moving = std::move(mObjects[std::size_t(index)]);
    mObjects.erase(mObjects.begin() + index);
    mObjects.insert(mObjects.begin() + newIndex, std::move(moving));
    object->Invalidate();
}

TGGraphicControl* TGBasePanel::FindObject(const QString& name) const
{
    for (const auto& object : mObjects)
        if (object->Name().compare(name, Qt::CaseInsensitive) == 0)
            return object.get();
    return nullptr;
}

void TGBasePanel::ClearObjects()
{
    ClearSelection();
    mObjects.clear();
    InvalidateRect(QRect(0, 0, mWidth, mHeight));
}

void TGBasePanel::Select(TGGraphicControl* object)
{
    if (IndexOf(object) < 0 || object->Unselectable())
        return;
    if (std::find(mSelection.begin(), mSelection.end(), object) != mSelection.end())
        return;
    mSelection.push_back(object);
    if (OnSelectionChanged)
        OnSelectionChanged();
}

void TGBasePanel::Deselect(TGGraphicControl* object)
{
    const auto it = std::find(mSelection.begin(), mSelection.end(), object);
    if (it == mSelection.end())
        return;
    mSelection.erase(it);
    if (OnSelectionChanged)
        OnSelectionChanged();
}

void TGBasePanel::ClearSelection()
{
    if (mSelection.empty())
        return;
    mSelection.clear();
    if (OnSelectionChanged)
        OnSelectionChanged();
}

void TGBasePanel::SetScale(float factor)
{
    if (factor == mScale || !(factor > 0.0f))
        return;
    mScaling = true;
    ClearSelection();
    // Everything is derived from the 100 % sizes, never from the previous zoom, so no rounding
    // is carried from one step to the next.
    mScale = factor;
    mWidth = AtScale(mDesignWidth, factor);
    mHeight = AtScale(mDesignHeight, factor);
    for (const auto& object : mObjects)
        object->SetScale(factor);
    InvalidateRect(QRect(0, 0, mWidth, mHeight));
    ProcessUpdates();
    mScaling = false;
}

QString TGBasePanel::FieldText(const QString& name) const
{
    const data::TDataSet* dataSet = DataSet();
    if (!dataSet || !dataSet->Active() || name.isEmpty())
        return {};
    const auto* field = dataSet->FindField(name);
    if (!field)
        return {};
    try {
        return dataSet->AsString(field->Name());
    } catch (const std::exception&) {
        return {};
    }
}

void TGBasePanel::RefreshData()
{
    const data::TDataSet* dataSet = DataSet();
    if (dataSet == nullptr || !dataSet->Active())
        return;
    for (const auto& object : mObjects)
        object->ShowData();
    ProcessUpdates();
}

void TGBasePanel::PrintObjects(print::TBaseReport& canvas, double x, double y)
{
    for (const auto& object : mObjects)
        object->PrintObject(canvas, x, y);
}

void TGBasePanel::StepCounters()
{
    for (const auto& object : mObjects)
        object->CounterStep();
}

void TGBasePanel::ResetCounters()
{
    for (const auto& object : mObjects)
        object->CounterReset();
}

void TGBasePanel::PullObjectsInside()
{
    ClearSelection();
    for (const auto& object : mObjects) {
        if (object->Top() > mHeight - 10)
            object->SetTop(mHeight - 10);
        if (object->Left() > mWidth - 20)
            object->SetLeft(mWidth - 20);
    }
}

void TGBasePanel::DropOutsideObjects()
{
    ClearSelection();
    std::vector<TGGraphicControl*> outside;
    for (const auto& object : mObjects)
        if (object->Top() > mHeight - 10 || object->Left() > mWidth - 10 || object->Width() < 1 ||
            object->Height() < 1)
            outside.push_back(object.get());
    for (TGGraphicControl* object : outside)
        DeleteObject(object);
}

void TGBasePanel::NotifyChanged()
{
    if (!mScaling && OnLabelChanged)
        OnLabelChanged();
}

void TGBasePanel::InvalidateRect(const QRect& rect)
{
    if (OnInvalidate)
        OnInvalidate(rect);
}

void TGBasePanel::ProcessUpdates()
{
    if (OnProcessUpdates)
        OnProcessUpdates();
}

} // namespace qm::design
