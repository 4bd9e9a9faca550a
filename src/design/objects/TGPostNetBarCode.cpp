#include "design/objects/TGPostNetBarCode.h"

#include "data/TDataField.h"
#include "design/core/TGBasePanel.h"
#include "design/stream/TGEnumNames.h"
#include "design/stream/TLayoutValue.h"
#include "design/stream/TLayoutWriter.h"
#include "design/text/TDesignUnits.h"
#include "print/TBaseReport.h"

#include <QPainter>

namespace qm::design {

namespace {

QImage MakeScreenImage()
{
    QImage image(270, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    // A fixed sample code, two pixels per bar on a four-pixel pitch, centred.
    const std::vector<bool> bars = TPostNetCode::Bars(QStringLiteral("12345678901"));
    int x = (image.width() - int(bars.size()) * 4 + 2) / 2;
    for (bool full : bars) {
        const int top = full ? 1 : 9;
        p.fillRect(QRect(x, top, 2, 15 - top), Qt::black);
        x += 4;
    }
    return image;
}

} // namespace

TGPostNetBarCode::TGPostNetBarCode()
{
    const int ppi = TDesignUnits::Ppi();
    SetReading(true);
    SetBounds(0, 0, TDesignUnits::Trunc(2.6 * ppi), TDesignUnits::Trunc(0.125 * ppi));
    SetReading(false);
}

void TGPostNetBarCode::ConfigureDrawn()
{
    mZipCodeField = QStringLiteral("ZIP");
    mAddressField = QStringLiteral("STREET");
}

void TGPostNetBarCode::SetTexts(const QString& zip, const QString& address)
{
    mZipText = zip;
    mAddressText = address;
}

const QImage& TGPostNetBarCode::ScreenImage()
{
    static const QImage image = MakeScreenImage();
    return image;
}

void TGPostNetBarCode::ShowData()
{
    TGBasePanel* panel = Panel();
    mZipText = panel ? panel->FieldText(mZipCodeField) : QString();
    mAddressText = panel ? panel->FieldText(mAddressField) : QString();
    if (!panel || !panel->Printing())
        Invalidate();
}

void TGPostNetBarCode::Paint(QPainter& painter)
{
    PaintPicture(painter, ScreenImage());
}

void TGPostNetBarCode::PrintObject(print::TBaseReport& canvas, double x, double y)
{
    const std::vector<bool> bars = TPostNetCode::Bars(Digits());
    if (bars.empty())
        return;
    canvas.SetBrush(print::kBlack, print::TBrushStyle::bsSolid);
    canvas.SetPen(print::kBlack, print::TPenStyle::psSolid, print::TPenMode::pmCopy, 1);
    double bx = PrintLeft(x);
    const double base = PrintTop(y) + TPostNetCode::kFullBarHeight;
    for (bool full : bars) {
        const double height = full ? TPostNetCode::kFullBarHeight : TPostNetCode::kHalfBarHeight;
        canvas.DrawRectangle(bx, base - height, bx + TPostNetCode::kBarWidth, base);
        bx += TPostNetCode::kBarPitch;
    }
}

void TGPostNetBarCode::WriteProperties(TLayoutWriter& out) const
{
    TGGraphicControl::WriteProperties(out);
    out.PropertyString("ZipCodeField", mZipCodeField);
    out.PropertyString("AddressField", mAddressField);
    out.PropertyEnum("BarCodeType", kBarCodeTypeNames, int(mBarCodeType));
}

bool TGPostNetBarCode::ReadProperty(const QByteArray& name, const TLayoutValue& value)
{
    if (SameName(name, "ZipCodeField"))
        mZipCodeField = value.AsString();
    else if (SameName(name, "AddressField"))
        mAddressField = value.AsString();
    else if (SameName(name, "BarCodeType"))
        mBarCodeType = TPostNetType(value.AsEnum(kBarCodeTypeNames));
    else
        return TGGraphicControl::ReadProperty(name, value);
    return true;
}

} // namespace qm::design
