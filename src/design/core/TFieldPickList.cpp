#include "design/core/TFieldPickList.h"

#include "data/TDataField.h"
#include "data/TDataSet.h"

namespace qm::design {

namespace {

bool Offered(const data::TDataField& field, TFieldKind kind)
{
    if (kind == TFieldKind::Memo)
        return field.Type() == data::TDataFieldType::Memo;
    return field.Type() == data::TDataFieldType::String && field.Visible();
}

} // namespace

QStringList TFieldPickList::Labels(const data::TDataSet& dataSet, TFieldKind kind)
{
    QStringList labels;
    for (const auto& field : dataSet.Fields())
        if (Offered(*field, kind))
            labels.append(field->DisplayLabel());
    return labels;
}

QStringList TFieldPickList::CharacterFieldNames(const data::TDataSet& dataSet)
{
    QStringList names;
    for (const auto& field : dataSet.Fields())
        if (field->Type() == data::TDataFieldType::String && field->Visible() &&
            !field->Calculated())
            names.append(field->Name());
    return names;
}

const data::TDataField* TFieldPickList::Find(const data::TDataSet& dataSet, const QString& label)
{
    if (label.isEmpty())
        return nullptr;
    const data::TDataField* found = nullptr;
    for (const auto& field : dataSet.Fields())
        if (field->DisplayLabel() == label)
            found = field.get();
    return found;
}

const data::TDataField* TFieldPickList::FindOffered(const data::TDataSet& dataSet, TFieldKind kind,
                                                    const QString& label)
{
    const data::TDataField* found = nullptr;
    for (const auto& field : dataSet.Fields())
        if (Offered(*field, kind) && field->DisplayLabel() == label)
            found = field.get();
    return found;
}

} // namespace qm::design
