#include "design/objects/TGIMBarCode.h"

#include "data/TDataField.h"
#include "data/TDataSet.h"
#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "design/core/TGBasePanel.h"
#include "design/objects/TImbSettings.h"
#include "design/stream/TGEnumNames.h"
#include "design/stream/TLayoutError.h"
#include "design/stream/TLayoutValue.h"
#include "design/stream/TLayoutWriter.h"
#include "design/text/TDesignUnits.h"
#include "print/TBaseReport.h"

#include <QPainter>
#include <QRectF>
#include <array>

namespace qm::design {

namespace {

QImage MakeScreenImage()
{
    QImage image(282, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    // A fixed sample code, two pixels per bar on a four-pixel pitch, centred; trackers on rows
    // 6-10, extenders to row 1 and row 15.
    TImbBars bars;
    if (!TImbCode::Encode(QStringLiteral("01234567094987654321"), QStringLiteral("01234567891"),
                          &bars))
        bars.fill(TImbBar::Full);
    int x = (image.width() - TImbCode::kBarCount * 4 + 2) / 2;
    for (TImbBar bar : bars) {
        const bool up = bar == TImbBar::Full || bar == TImbBar::Ascender;
        const bool down = bar == TImbBar::Full || bar == TImbBar::Descender;
        const int top = up ? 1 : 6;
        const int bottom = down ? 15 : 11;
        p.fillRect(QRect(x, top, 2, bottom - top), Qt::black);
        x += 4;
    }
    return image;
}

} // namespace

TGIMBarCode::TGIMBarCode()
{
    const int ppi = TDesignUnits::Ppi();
    SetReading(true);
    SetBounds(0, 0, TDesignUnits::Trunc(2.93 * ppi),
              TDesignUnits::Trunc(TImbCode::kFullBarHeight * ppi));
    SetReading(false);
}

void TGIMBarCode::ConfigureDrawn()
{
    const data::TProgramHome& home = data::TProgramHome::Current();
    ConfigureDrawn(home.Dir().isEmpty()
                       ? TImbSettings{}
                       : TImbSettings::Read(data::TSettingsFile(home.SettingsPath())));
}

void TGIMBarCode::ConfigureDrawn(const TImbSettings& settings)
{
    mZipCodeField = QStringLiteral("ZIP");
    mAddressField = QStringLiteral("STREET");
    mBarcodeId = settings.barcodeId;
    mServiceType = settings.serviceType;
    mMailerId = settings.mailerId;
    mSerialSource = TImbSerialSource::ssCounter;
}

void TGIMBarCode::SetTexts(const QString& zip, const QString& address, std::uint32_t recordNumber)
{
    mZipText = zip;
    mAddressText = address;
    mRecordNumber = recordNumber;
}

const QImage& TGIMBarCode::ScreenImage()
{
    static const QImage image = MakeScreenImage();
    return image;
}

void TGIMBarCode::ResetOutcome()
{
    mOutcome = TOutcome::None;
    mProblem.clear();
}

bool TGIMBarCode::Bars(TImbBars* bars, QString* problem) const
{
    const QString routing = TImbCode::Routing(mZipText, mAddressText);
    if (routing.isEmpty()) {
        *problem = QStringLiteral("ZIP \"%1\" gives no valid routing code").arg(mZipText);
        return false;
    }
    std::optional<std::int64_t> serial = mPieceSerial;
    if (mSerialSource == TImbSerialSource::ssRecordNumber)
        serial = mRecordNumber;
    if (!serial) {
        *problem = QStringLiteral("no serial number: the counter runs only in a print job");
        return false;
    }
    const QString tracking =
        TImbCode::Tracking(mBarcodeId, mServiceType, mMailerId, *serial, problem);
    if (tracking.isEmpty())
        return false;
    return TImbCode::Encode(tracking, routing, bars, problem);
}

void TGIMBarCode::ShowData()
{
    TGBasePanel* panel = Panel();
    const data::TDataSet* dataSet = panel ? panel->DataSet() : nullptr;
    mZipText = panel ? panel->FieldText(mZipCodeField) : QString();
    mAddressText = panel ? panel->FieldText(mAddressField) : QString();
    mRecordNumber = dataSet && dataSet->Active() ? dataSet->RecNo() : 0;
    if (!panel || !panel->Printing())
        Invalidate();
}

void TGIMBarCode::Paint(QPainter& painter)
{
    PaintPicture(painter, ScreenImage());
}

void TGIMBarCode::PrintObject(print::TBaseReport& canvas, double x, double y)
{
    TImbBars bars;
    QString problem;
    if (!Bars(&bars, &problem)) {
        mOutcome = TOutcome::Skipped;
        mProblem = problem;
        return;
    }
    mOutcome = TOutcome::Printed;
    mProblem.clear();
    // Filled without an outline: a pen would widen every bar by its own width.
    canvas.SetBrush(print::kBlack, print::TBrushStyle::bsSolid);
    const double top = PrintTop(y);
    const double centre = top + TImbCode::kFullBarHeight / 2.0;
    const double halfTracker = TImbCode::kTrackerHeight / 2.0;
    const double bottom = top + TImbCode::kFullBarHeight;
    const double left = PrintLeft(x);
    std::array<QRectF, TImbCode::kBarCount> rects;
    for (int i = 0; i < TImbCode::kBarCount; ++i) {
        const TImbBar bar = bars[std::size_t(i)];
        const bool up = bar == TImbBar::Full || bar == TImbBar::Ascender;
        const bool down = bar == TImbBar::Full || bar == TImbBar::Descender;
        // Each bar from the left edge of the code, not by adding pitches, so no error builds up.
        const double bx = left + i * TImbCode::kBarPitch;
        rects[std::size_t(i)] =
            QRectF(QPointF(bx, up ? top : centre - halfTracker),
                   QPointF(bx + TImbCode::kBarWidth, down ? bottom : centre + halfTracker));
    }
    canvas.FillRects(rects);
}

void TGIMBarCode::WriteProperties(TLayoutWriter& out) const
{
    TGGraphicControl::WriteProperties(out);
    out.PropertyString("ZipCodeField", mZipCodeField);
    out.PropertyString("AddressField", mAddressField);
    out.PropertyString("BarcodeId", mBarcodeId);
    out.PropertyString("ServiceType", mServiceType);
    out.PropertyString("MailerId", mMailerId);
    out.PropertyEnum("SerialSource", kSerialSourceNames, int(mSerialSource));
}

bool TGIMBarCode::ReadProperty(const QByteArray& name, const TLayoutValue& value)
{
    if (SameName(name, "ZipCodeField")) {
        mZipCodeField = value.AsString();
    } else if (SameName(name, "AddressField")) {
        mAddressField = value.AsString();
    } else if (SameName(name, "BarcodeId")) {
        mBarcodeId = value.AsString();
    } else if (SameName(name, "ServiceType")) {
        mServiceType = value.AsString();
    } else if (SameName(name, "MailerId")) {
        mMailerId = value.AsString();
    } else if (SameName(name, "SerialSource")) {
        // A source this version does not know (a newer program's) reads as the counter.
        try {
            mSerialSource = TImbSerialSource(value.AsEnum(kSerialSourceNames));
        } catch (const TLayoutError&) {
            mSerialSource = TImbSerialSource::ssCounter;
        }
    } else {
        return TGGraphicControl::ReadProperty(name, value);
    }
    return true;
}

} // namespace qm::design
