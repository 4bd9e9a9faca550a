#pragma once

// A POSTNET barcode built from the current record's ZIP code and, for the 11-digit form, the
// delivery-point digits of its street address line (TPostNetCode). Stream order after the bounds:
// ZipCodeField, AddressField (field names, when not empty), BarCodeType (always).
//
// Contract:
// - ShowData reads both texts by field name from the panel's data set (empty when the field or
//   the data set is missing) and repaints unless the panel prints; ClearData does nothing.
// - The screen never shows the record's code: a 270 x 16 placeholder image stretched over the
//   object, which takes the image's size (round(size x Scale) when zoomed) as it paints.
// - PrintObject draws nothing for an invalid ZIP; otherwise full frame bar, five bars per digit,
//   the check digit, full frame bar, each 0.015 inch wide at a 0.046-inch pitch, standing on a
//   baseline 0.125 inch below the object's top. The object's own size does not matter.

#include "design/barcode/TPostNetCode.h"
#include "design/core/TGGraphicControl.h"

#include <QImage>

namespace qm::design {

class TGPostNetBarCode : public TGGraphicControl {
public:
    static constexpr const char* kClassName = "TGPostNetBarCode";

    TGPostNetBarCode();

    QByteArray ClassName() const override { return kClassName; }

    const QString& ZipCodeField() const { return mZipCodeField; }
    void SetZipCodeField(const QString& name) { mZipCodeField = name; }
    const QString& AddressField() const { return mAddressField; }
    void SetAddressField(const QString& name) { mAddressField = name; }
    TPostNetType BarCodeType() const { return mBarCodeType; }
    void SetBarCodeType(TPostNetType type) { mBarCodeType = type; }
    // Field names of an object drawn with a tool: "ZIP" and "STREET".
    void ConfigureDrawn();

    // The record texts ShowData fetched (not stored).
    const QString& ZipText() const { return mZipText; }
    const QString& AddressText() const { return mAddressText; }
    void SetTexts(const QString& zip, const QString& address);
    // The digits that print, check digit excluded (empty when nothing prints).
    QString Digits() const { return TPostNetCode::Digits(mZipText, mAddressText, mBarCodeType); }

    // The placeholder picture of a generic barcode, 270 x 16.
    static const QImage& ScreenImage();

    void ShowData() override;
    void Paint(QPainter& painter) override;
    void PrintObject(print::TBaseReport& canvas, double x, double y) override;
    void WriteProperties(TLayoutWriter& out) const override;
    bool ReadProperty(const QByteArray& name, const TLayoutValue& value) override;

private:
    QString mZipCodeField;
    QString mAddressField;
    TPostNetType mBarCodeType = TPostNetType::pnbc11Digit;
    QString mZipText;
    QString mAddressText;
};

} // namespace qm::design
