#include "design/objects/TGPDLabel.h"

#include "data/TDataField.h"
#include "data/TDataSet.h"
#include "design/text/TAddressBlock.h"
#include "design/core/TFieldPickList.h"
#include "design/core/TGBasePanel.h"
#include "design/stream/TLayoutValue.h"
#include "design/stream/TLayoutWriter.h"

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
    const data::TDataField* field = dataSet && dataSet->Active()
                                        ? TFieldPickList::Find(*dataSet, mDataFieldDescript)
                                        : nullptr;
    if (field) {
        if (values) {
            QString text;
            try {
                text = dataSet->AsString(field->Name());
            } catch (const std::exception&) {
                // A value that cannot be read shows as empty; objects report nothing.
            }
            if (TAddressBlock::LeftTrim(text).isEmpty())
                text = printing ? QString() : QStringLiteral("<blank field>");
            SetCaption(text);
        } else {
            SetCaption(QLatin1Char('[') + mDataFieldDescript + QLatin1Char(']'));
        }
    } else if (!printing) {
        SetCaption(QStringLiteral("<undefined field>"));
    }
    SetLayoutDirty(true);
    if (!printing)
        Invalidate();
}

void TGPDLabel::ClearData() { SetCaption(QString()); }

void TGPDLabel::Paint(QPainter& painter) { mText.Paint(*this, painter, Caption()); }

void TGPDLabel::PrintObject(print::TBaseReport& canvas, double x, double y)
{
    mText.Print(*this, canvas, x, y, Caption());
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
