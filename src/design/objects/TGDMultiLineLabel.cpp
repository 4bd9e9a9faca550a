#include "design/objects/TGDMultiLineLabel.h"

#include "data/TDataField.h"
#include "data/TDataSet.h"
#include "design/core/TFieldPickList.h"
#include "design/core/TGBasePanel.h"
#include "design/objects/TMultiLineText.h"
#include "design/stream/TLayoutValue.h"
#include "design/stream/TLayoutWriter.h"
#include "design/text/TWordWrap.h"

#include <exception>

namespace qm::design {

TGDMultiLineLabel::TGDMultiLineLabel() = default;

void TGDMultiLineLabel::Bind(const QString& fieldName, const QString& displayLabel)
{
    mDataFieldName = fieldName;
    mDataFieldDescript = displayLabel;
    NotifyChanged();
}

void TGDMultiLineLabel::ToggleWordWrap()
{
    SetWordWrap(!WordWrap());
    ShowData();
    NotifyChanged();
}

void TGDMultiLineLabel::ChangeFont(const TGFont& font)
{
    SetFont(font);
    ShowData();
    NotifyChanged();
}

void TGDMultiLineLabel::ShowData()
{
    TGBasePanel* panel = Panel();
    const bool printing = panel && panel->Printing();
    const bool values = !panel || panel->DisplayDataValues() || printing;
    const data::TDataSet* dataSet = panel ? panel->DataSet() : nullptr;
    const data::TDataField* field =
        dataSet && dataSet->Active() ? TFieldPickList::Find(*dataSet, mDataFieldDescript) : nullptr;
    QStringList lines;
    QString placeholder;
    if (field) {
        if (values) {
            QString text;
            try {
                text = dataSet->AsString(field->Name());
            } catch (const std::exception&) {
                // An unreadable memo shows as empty; objects report nothing.
            }
            if (!text.isEmpty())
                lines = TWordWrap::SplitLines(text);
        } else {
            placeholder = QLatin1Char('[') + mDataFieldDescript + QLatin1Char(']');
        }
    } else if (!printing) {
        placeholder = QStringLiteral("<undefined memo>");
    }
    mRecordLines = lines;
    SetPlaceholderLine(placeholder);
    Rewrap();
}

void TGDMultiLineLabel::Rewrap()
{
    QStringList lines = mRecordLines;
    if (!PlaceholderLine().isEmpty())
        lines = QStringList{PlaceholderLine()};
    else if (WordWrap() && !lines.isEmpty())
        lines = TMultiLineText::WrapLines(*this, lines);
    SetItems(lines);
    SetWrappedLines(lines);
}

void TGDMultiLineLabel::ClearData()
{
    mRecordLines.clear();
    SetPlaceholderLine(QString());
    SetItems({});
    SetWrappedLines({});
}

void TGDMultiLineLabel::Paint(QPainter& painter)
{
    TMultiLineText::Paint(*this, painter);
}

void TGDMultiLineLabel::PrintObject(print::TBaseReport& canvas, double x, double y)
{
    TMultiLineText::Print(*this, canvas, x, y);
}

void TGDMultiLineLabel::WriteProperties(TLayoutWriter& out) const
{
    TGMultiLineBaseLabel::WriteProperties(out);
    out.PropertyString("DataFieldName", mDataFieldName);
    out.PropertyString("DataFieldDescript", mDataFieldDescript);
}

bool TGDMultiLineLabel::ReadProperty(const QByteArray& name, const TLayoutValue& value)
{
    if (SameName(name, "DataFieldName"))
        mDataFieldName = value.AsString();
    else if (SameName(name, "DataFieldDescript"))
        mDataFieldDescript = value.AsString();
    else
        return TGMultiLineBaseLabel::ReadProperty(name, value);
    return true;
}

} // namespace qm::design
