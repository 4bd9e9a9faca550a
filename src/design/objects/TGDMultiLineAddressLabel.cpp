#include "design/objects/TGDMultiLineAddressLabel.h"

#include "data/TDataSet.h"
#include "design/core/TGBasePanel.h"
#include "design/objects/TMultiLineText.h"
#include "design/stream/TGEnumNames.h"
#include "design/stream/TLayoutValue.h"
#include "design/stream/TLayoutWriter.h"

#include <exception>

namespace qm::design {

void TGDMultiLineAddressLabel::ApplyOptions(const TAddressBlockOptions& options)
{
    mOptions = options;
    NotifyChanged();
    if (Panel())
        Panel()->RefreshData();
}

void TGDMultiLineAddressLabel::ChangeFont(const TGFont& font)
{
    SetFont(font);
    ShowData();
    NotifyChanged();
}

void TGDMultiLineAddressLabel::ShowData()
{
    TGBasePanel* panel = Panel();
    const bool printing = panel && panel->Printing();
    QStringList lines;
    QString placeholder;
    if (panel && !panel->DisplayDataValues() && !printing) {
        placeholder = QStringLiteral("[Address Label]");
        lines = QStringList{placeholder};
    } else if (const data::TDataSet* dataSet = panel ? panel->DataSet() : nullptr;
               dataSet && dataSet->Active()) {
        lines = TAddressBlock::Compose(
            mOptions, [dataSet](const QString& name) -> std::optional<QString> {
                if (!dataSet->FindField(name))
                    return std::nullopt;
                try {
                    return dataSet->AsString(name);
                } catch (const std::exception&) {
                    return std::nullopt; // an error while reading ends the composition
                }
            });
    }
    SetPlaceholderLine(placeholder);
    SetItems(lines);
    Rewrap();
}

void TGDMultiLineAddressLabel::ClearData()
{
    SetPlaceholderLine(QString());
    SetItems({});
    SetWrappedLines({});
}

void TGDMultiLineAddressLabel::Paint(QPainter& painter)
{
    TMultiLineText::Paint(*this, painter);
}

void TGDMultiLineAddressLabel::PrintObject(print::TBaseReport& canvas, double x, double y)
{
    // The block may grow down to its face's bottom edge: a record with more lines than the
    // block was drawn for still prints its city line. (A panel of no known size grows nothing.)
    const TGBasePanel* panel = Panel();
    TMultiLineText::Print(*this, canvas, x, y, panel != nullptr ? panel->Height() : 0);
}

void TGDMultiLineAddressLabel::WriteProperties(TLayoutWriter& out) const
{
    TGMultiLineBaseLabel::WriteProperties(out);
    out.PropertyBoolean("UseName", mOptions.useName);
    out.PropertyBoolean("UseTitle", mOptions.useTitle);
    out.PropertyBoolean("UseCompany", mOptions.useCompany);
    out.PropertyBoolean("UseStreet", mOptions.useStreet);
    out.PropertyBoolean("UseStreet2", mOptions.useStreet2);
    out.PropertyBoolean("UseCityState", mOptions.useCityState);
    out.PropertyBoolean("UseZip", mOptions.useZip);
    out.PropertyBoolean("UsePhone", mOptions.usePhone);
    out.PropertyBoolean("UseCountry", mOptions.useCountry);
    out.PropertyEnum("ZipOptions", kZipOptionsNames, int(mOptions.zipOptions));
    out.PropertyBoolean("UpperCase", mOptions.upperCase);
}

bool TGDMultiLineAddressLabel::ReadProperty(const QByteArray& name, const TLayoutValue& value)
{
    struct TFlag {
        const char* name;
        bool TAddressBlockOptions::*member;
    };
    static constexpr TFlag kFlags[] = {
        {"UseName", &TAddressBlockOptions::useName},
        {"UseTitle", &TAddressBlockOptions::useTitle},
        {"UseCompany", &TAddressBlockOptions::useCompany},
        {"UseStreet", &TAddressBlockOptions::useStreet},
        {"UseStreet2", &TAddressBlockOptions::useStreet2},
        {"UseCityState", &TAddressBlockOptions::useCityState},
        {"UseZip", &TAddressBlockOptions::useZip},
        {"UsePhone", &TAddressBlockOptions::usePhone},
        {"UseCountry", &TAddressBlockOptions::useCountry},
        {"UpperCase", &TAddressBlockOptions::upperCase},
    };
    for (const TFlag& flag : kFlags) {
        if (SameName(name, flag.name)) {
            mOptions.*flag.member = value.AsBoolean();
            return true;
        }
    }
    if (SameName(name, "ZipOptions")) {
        mOptions.zipOptions = TZipOptions(value.AsEnum(kZipOptionsNames));
        return true;
    }
    return TGMultiLineBaseLabel::ReadProperty(name, value);
}

} // namespace qm::design
