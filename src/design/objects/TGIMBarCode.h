#pragma once

// An Intelligent Mail barcode: 65 four-state bars encoding a tracking code (barcode identifier,
// service type, mailer identifier and a serial number) and the routing code of the current
// record (its ZIP and, for a ZIP+4, the delivery-point digits of its address line, as POSTNET
// takes them). Stream order after the bounds: ZipCodeField, AddressField, BarcodeId, ServiceType,
// MailerId (each when not empty), SerialSource (always).
//
// Contract:
// - The serial number: ssRecordNumber takes the record number ShowData read; ssCounter takes the
//   number the print job's counter gives the piece (TImbJob::BeginPiece, SetPieceSerial). Without
//   one a counted object prints nothing.
// - ShowData reads both texts by field name from the panel's data set, and the record number,
//   and repaints unless the panel prints.
// - The screen shows a 282 x 16 placeholder picture stretched over the object, which takes the
//   picture's size (round(size x Scale) when zoomed) as it paints.
// - PrintObject draws the 65 bars, each kBarWidth wide at kBarPitch, as exact rectangles around
//   one centre line kFullBarHeight / 2 below the object's top: trackers reach kTrackerHeight / 2
//   either side of it, ascenders and full bars up to the top, descenders and full bars down to
//   kFullBarHeight below the top. When the record gives no valid routing code or the parts no
//   valid tracking code it draws nothing; LastOutcome() then says Skipped and LastProblem() why.

#include "design/barcode/TImbCode.h"
#include "design/core/TGGraphicControl.h"

#include <QImage>
#include <cstdint>
#include <optional>

namespace qm::design {

struct TImbSettings;

enum class TImbSerialSource { ssCounter = 0, ssRecordNumber };

class TGIMBarCode : public TGGraphicControl {
public:
    static constexpr const char* kClassName = "TGIMBarCode";
    // A label or envelope narrower than this (inches) has no room for the code and its clear zones.
    static constexpr double kMinWidth = 3.0;

    enum class TOutcome { None, Printed, Skipped };

    TGIMBarCode();

    QByteArray ClassName() const override { return kClassName; }

    const QString& ZipCodeField() const { return mZipCodeField; }
    void SetZipCodeField(const QString& name) { mZipCodeField = name; }
    const QString& AddressField() const { return mAddressField; }
    void SetAddressField(const QString& name) { mAddressField = name; }
    const QString& BarcodeId() const { return mBarcodeId; }
    void SetBarcodeId(const QString& id) { mBarcodeId = id; }
    const QString& ServiceType() const { return mServiceType; }
    void SetServiceType(const QString& type) { mServiceType = type; }
    const QString& MailerId() const { return mMailerId; }
    void SetMailerId(const QString& id) { mMailerId = id; }
    TImbSerialSource SerialSource() const { return mSerialSource; }
    void SetSerialSource(TImbSerialSource source) { mSerialSource = source; }

    // An object drawn with a tool: fields "ZIP" and "STREET", the tracking parts from the settings
    // file of the program home (section "Intelligent Mail"), the counter as serial source.
    void ConfigureDrawn();
    void ConfigureDrawn(const TImbSettings& settings);

    // The record values ShowData fetched (not stored).
    const QString& ZipText() const { return mZipText; }
    const QString& AddressText() const { return mAddressText; }
    std::uint32_t RecordNumber() const { return mRecordNumber; }
    void SetTexts(const QString& zip, const QString& address, std::uint32_t recordNumber = 0);

    // The serial the counter gives the piece being printed; nothing outside a counted job.
    void SetPieceSerial(std::optional<std::int64_t> serial) { mPieceSerial = serial; }
    std::optional<std::int64_t> PieceSerial() const { return mPieceSerial; }

    // The bars for the current values; false and the reason in *problem when there are none.
    bool Bars(TImbBars* bars, QString* problem) const;

    TOutcome LastOutcome() const { return mOutcome; }
    const QString& LastProblem() const { return mProblem; }
    void ResetOutcome();

    // The placeholder picture, 282 x 16.
    static const QImage& ScreenImage();

    void ShowData() override;
    void Paint(QPainter& painter) override;
    void PrintObject(print::TBaseReport& canvas, double x, double y) override;
    void WriteProperties(TLayoutWriter& out) const override;
    bool ReadProperty(const QByteArray& name, const TLayoutValue& value) override;

private:
    QString mZipCodeField;
    QString mAddressField;
    QString mBarcodeId;
    QString mServiceType;
    QString mMailerId;
    TImbSerialSource mSerialSource = TImbSerialSource::ssCounter;
    QString mZipText;
    QString mAddressText;
    std::uint32_t mRecordNumber = 0;
    std::optional<std::int64_t> mPieceSerial;
    TOutcome mOutcome = TOutcome::None;
    QString mProblem;
};

} // namespace qm::design
