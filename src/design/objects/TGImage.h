#pragma once

// A picture object: a bitmap or a metafile kept inside the layout stream ("Picture.Data", the
// framing of TGPictureData), or empty. New objects are 105 x 105 and empty.
//
// Contract:
// - Stretch (default true) and AutoSize (default false) exclude each other: setting either to
//   true sets the other to false.
// - AutoSize: at Scale 1.0 with a picture the object takes the picture's natural size (a
//   bitmap's pixels, a metafile's frame at the design PPI). Applied when the picture, AutoSize or
//   the Scale changes and after creation or reading.
// - Screen: stretched over the object when Stretch is on or the Scale is not 1.0, else at its
//   natural size from the corner, clipped to the object. An empty object shows its outline.
// - Printing always fills the object's rectangle: bitmaps through DrawBitmap, metafiles replayed
//   as canvas drawing (lines, polygons, ellipses, text) so that they stay sharp, cut at the
//   object's rectangle as the screen clips them. Empty prints nothing.
// - Stored picture data that frames correctly but does not decode is kept byte for byte (so a
//   save gives it back) and is shown as an empty outline with a cross; it prints nothing.

#include "design/core/TGGraphicControl.h"
#include "design/stream/TGPictureData.h"
#include "picture/TPicture.h"

#include <optional>

namespace qm::design {

class TGImage : public TGGraphicControl {
public:
    static constexpr const char* kClassName = "TGImage";
    static constexpr int kDefaultSize = 105;

    TGImage();

    QByteArray ClassName() const override { return kClassName; }

    bool Stretch() const { return mStretch; }
    void SetStretch(bool on);
    bool AutoSize() const { return mAutoSize; }
    void SetAutoSize(bool on);

    const picture::TPicture& Picture() const { return mPicture; }
    // True when the object holds picture data (drawable or not).
    bool HasPicture() const { return mData.has_value(); }
    // True when it holds data that did not decode.
    bool PictureDamaged() const { return mData && mPicture.IsEmpty(); }
    void SetPicture(const picture::TPicture& picture);
    void ClearPicture();
    // The "Load Image From Disk" outcome: loads the file; on failure empties the picture, puts
    // what was wrong in *reason (when given) and returns false. Either way applies AutoSize and
    // repaints.
    bool LoadFromFile(const QString& path, QString* reason = nullptr);
    // The stream's picture value, if any.
    std::optional<TGPictureData> PictureData() const { return mData; }

    // Takes the picture's size when AutoSize is on, the Scale is 1.0 and there is a picture.
    void ApplyAutoSize();

    void AfterCreate() override;
    void Paint(QPainter& painter) override;
    void PrintObject(print::TBaseReport& canvas, double x, double y) override;
    void WriteProperties(TLayoutWriter& out) const override;
    bool ReadProperty(const QByteArray& name, const TLayoutValue& value) override;

protected:
    void ScaleSet() override;

private:
    void Changed();

    bool mStretch = true;
    bool mAutoSize = false;
    picture::TPicture mPicture;
    std::optional<TGPictureData> mData;
};

} // namespace qm::design
