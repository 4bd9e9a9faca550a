#include "design/objects/TGImage.h"

#include "design/objects/TPictureCanvasSink.h"
#include "design/stream/TLayoutError.h"
#include "design/stream/TLayoutWriter.h"
#include "design/text/TDesignUnits.h"
#include "picture/TPictureError.h"
#include "print/TBaseReport.h"

#include <QPainter>

namespace qm::design {

TGImage::TGImage()
{
    SetBounds(0, 0, kDefaultSize, kDefaultSize);
}

void TGImage::SetStretch(bool on)
{
    mStretch = on;
    if (on)
        mAutoSize = false;
    Invalidate();
}

void TGImage::SetAutoSize(bool on)
{
    mAutoSize = on;
    if (on) {
        mStretch = false;
        ApplyAutoSize();
    }
    Invalidate();
}

void TGImage::SetPicture(const picture::TPicture& picture)
{
    mPicture = picture;
    if (picture.IsEmpty()) {
        mData.reset();
    } else {
        TGPictureData data;
        data.kind =
            picture.IsBitmap() ? TGPictureData::TKind::Bitmap : TGPictureData::TKind::Metafile;
        data.data = picture.Bytes();
        mData = data;
    }
    ApplyAutoSize();
    Invalidate();
}

void TGImage::ClearPicture()
{
    SetPicture(picture::TPicture());
}

bool TGImage::LoadFromFile(const QString& path, QString* reason)
{
    bool loaded = true;
    try {
        SetPicture(picture::TPicture::Load(path));
    } catch (const picture::TPictureError& error) {
        if (reason)
            *reason = error.Describe();
        ClearPicture();
        loaded = false;
    }
    Changed();
    return loaded;
}

void TGImage::ApplyAutoSize()
{
    if (!mAutoSize || Scale() != 1.0f || mPicture.IsEmpty() || Reading())
        return;
    const QSize size = mPicture.NaturalSize(TDesignUnits::Ppi());
    if (size.width() > 0 && size.height() > 0)
        SetBounds(Left(), Top(), size.width(), size.height());
}

void TGImage::AfterCreate()
{
    ApplyAutoSize();
}

void TGImage::ScaleSet()
{
    ApplyAutoSize();
}

void TGImage::Changed()
{
    Invalidate();
    NotifyChanged();
}

void TGImage::Paint(QPainter& painter)
{
    const QRectF whole(0, 0, Width(), Height());
    if (mPicture.IsEmpty()) {
        painter.save();
        painter.setPen(QPen(Qt::black, 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(0, 0, Width() - 1, Height() - 1));
        if (PictureDamaged()) {
            painter.drawLine(QPointF(0, 0), QPointF(Width() - 1, Height() - 1));
            painter.drawLine(QPointF(Width() - 1, 0), QPointF(0, Height() - 1));
        }
        painter.restore();
        return;
    }
    painter.save();
    painter.setClipRect(whole, Qt::IntersectClip);
    if (mStretch || Scale() != 1.0f) {
        mPicture.Draw(painter, whole);
    } else {
        const QSize natural = mPicture.NaturalSize(TDesignUnits::Ppi());
        mPicture.Draw(painter, QRectF(QPointF(0, 0), QSizeF(natural)));
    }
    painter.restore();
}

void TGImage::PrintObject(print::TBaseReport& canvas, double x, double y)
{
    if (mPicture.IsEmpty())
        return;
    const double x1 = PrintLeft(x), y1 = PrintTop(y);
    const double x2 = x + TDesignUnits::ToInches(Left() + Width());
    const double y2 = y + TDesignUnits::ToInches(Top() + Height());
    if (mPicture.IsBitmap()) {
        canvas.DrawBitmap(x1, y1, x2, y2, mPicture.Image());
        return;
    }
    // Clip art may draw past its frame; the paper, like the screen, shows only the object.
    const QRectF frame(QPointF(x1, y1), QPointF(x2, y2));
    TPictureCanvasSink sink(canvas, frame);
    mPicture.Play(sink, frame);
}

void TGImage::WriteProperties(TLayoutWriter& out) const
{
    TGGraphicControl::WriteProperties(out);
    if (mAutoSize)
        out.PropertyBoolean("AutoSize", true);
    if (mData)
        out.PropertyBinary("Picture.Data", mData->Encode());
    if (!mStretch)
        out.PropertyBoolean("Stretch", false);
}

bool TGImage::ReadProperty(const QByteArray& name, const TLayoutValue& value)
{
    if (SameName(name, "AutoSize")) {
        mAutoSize = value.AsBoolean();
    } else if (SameName(name, "Stretch")) {
        mStretch = value.AsBoolean();
    } else if (SameName(name, "Picture.Data")) {
        const TGPictureData data = TGPictureData::Decode(value.AsBinary());
        mData = data;
        try {
            mPicture = data.kind == TGPictureData::TKind::Bitmap
                           ? picture::TPicture::FromBitmap(data.data)
                           : picture::TPicture::FromMetafile(data.data);
        } catch (const picture::TPictureError&) {
            // Kept as stored, shown damaged; see the header.
            mPicture = picture::TPicture();
        }
    } else {
        return TGGraphicControl::ReadProperty(name, value);
    }
    return true;
}

} // namespace qm::design
