#include "design/objects/TGPDLabel.h"

#include "data/TDataField.h"
#include "data/TDataSet.h"
#include "design/core/TFieldPickList.h"
#include "design/core/TGBasePanel.h"
#include "design/stream/TLayoutValue.h"
#include "design/stream/TLayoutWriter.h"
#include "design/text/TAddressBlock.h"

#include <exception>

namespace qm::design {

TGPDLabel::TGPDLabel() = default;

void TGPDLabel::Bind(const QString& fieldName, const QString& displayLabel)
{
    mDataFieldName = fieldName;
    mDataFieldDescript = displayLabel;
    NotifyChanged();
}

void TGPDLabel::ConfigureDrawn(const TGFont& panelFont)
{
    mDataFieldName = QStringLiteral("<field>");
    SetFont(panelFont);
}

void TGPDLabel::ShowData()
{
    TGBasePanel* panel = Panel();
    const bool printing = panel && panel->Printing();
    const bool values = !panel || panel->DisplayDataValues() || printing;
    const data::TDataSet* dataSet = panel ? panel->DataSet() : nullptr;
    const data::TDataField* field =
        dataSet && dataSet->Active() ? TFieldPickList::Find(*dataSet, mDataFieldDescript) : nullptr;
    if (field) {
        if (values) {
            QString text;
            try {
                text = dataSet->AsString(field->Name());
            } catch (const std::exception&) {
                // A value that cannot be read shows as empty; objects report nothing.
            }
            mPlaceholder.clear();
            if (TAddressBlock::LeftTrim(text).isEmpty()) {
                text.clear();
                if (!printing)
                    mPlaceholder = text = QStringLiteral("<blank field>");
            }
            SetCaption(text);
        } else {
            mPlaceholder = QLatin1Char('[') + mDataFieldDescript + QLatin1Char(']');
            SetCaption(mPlaceholder);
        }
    } else if (!printing) {
        mPlaceholder = QStringLiteral("<undefined field>");
        SetCaption(mPlaceholder);
    }
    SetLayoutDirty(true);
    if (!printing)
        Invalidate();
}

void TGPDLabel::ClearData()
{
    mPlaceholder.clear();
    SetCaption(QString());
}

bool TGPDLabel::ShowsPlaceholder() const
{
    return !mPlaceholder.isEmpty() && Caption() == mPlaceholder;
}

void TGPDLabel::Paint(QPainter& painter)
{
    mText.Paint(*this, painter, Caption());
}

void TGPDLabel::PrintObject(print::TBaseReport& canvas, double x, double y)
{
    // A missing field keeps its caption while printing; when that caption is the screen's
    // placeholder, the paper gets nothing.
    mText.Print(*this, canvas, x, y, ShowsPlaceholder() ? QString() : Caption());
}

void TGPDLabel::WriteProperties(TLayoutWriter& out) const
{
    TGBaseLabel::WriteProperties(out);
    out.PropertyString("DataFieldName", mDataFieldName);
    out.PropertyString("DataFieldDescript", mDataFieldDescript);
    out.PropertyInteger("LengthOfText", mLengthOfText);
}

bool TGPDLabel::ReadProperty(const QByteArray& name, const TLayoutValue& value)
{
    if (SameName(name, "DataFieldName"))
        mDataFieldName = value.AsString();
    else if (SameName(name, "DataFieldDescript"))
        mDataFieldDescript = value.AsString();
    else if (SameName(name, "LengthOfText"))
        mLengthOfText = value.AsInteger();
    else
        return TGBaseLabel::ReadProperty(name, value);
    return true;
}

} // namespace qm::design
