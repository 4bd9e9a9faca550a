#pragma once

// A field object of a data set: a stored field of the table or a calculated one, with the label
// that grids, imports and exports show. Stored fields take their size from the open file.

#include "xbase/TRecordLayout.h"

#include <QString>
#include <optional>

namespace qm::data {

enum class TDataFieldType { String, Numeric, Logical, Date, Memo };

class TDataField {
public:
    TDataField(QString name, QString displayLabel, bool visible, bool calculated,
               TDataFieldType type = TDataFieldType::String, int size = 0);

    const QString& Name() const { return mName; }
    const QString& DisplayLabel() const { return mDisplayLabel; }
    void SetDisplayLabel(const QString& label) { mDisplayLabel = label; }
    bool Visible() const { return mVisible; }
    void SetVisible(bool visible) { mVisible = visible; }
    bool Calculated() const { return mCalculated; }
    TDataFieldType Type() const { return mType; }
    // Characters: the file's width for stored fields, the declared size for calculated ones.
    int Size() const { return mSize; }
    // The field's number in the table (0-based); -1 for calculated fields and while closed.
    int EngineIndex() const { return mEngineIndex; }

    // The xBase type the file's field must have for the data set to open (stored fields only);
    // none when any type will do.
    std::optional<xbase::TFieldType> RequiredType() const { return mRequiredType; }
    void SetRequiredType(std::optional<xbase::TFieldType> type) { mRequiredType = type; }

    // Set by the data set when the file opens.
    void Bind(int engineIndex, TDataFieldType type, int size);
    void Unbind();

private:
    QString mName;
    QString mDisplayLabel;
    bool mVisible;
    bool mCalculated;
    TDataFieldType mType;
    int mSize;
    int mEngineIndex = -1;
    std::optional<xbase::TFieldType> mRequiredType;
};

} // namespace qm::data
