#pragma once

// The common base of every design object: a drawn item without a window of its own, placed on a
// host panel (TGBasePanel). Plain model class: no widgets, so the command-line tool can load,
// fill and print layouts.
//
// Contract:
// - Bounds (Left, Top, Width, Height) are 32-bit design pixels relative to the panel, at the
//   panel's current zoom (Scale). Printing converts Left/Top to inches as pixels / PPI.
// - The 100 % geometry (DesignLeft ... DesignHeight) is the truth: the shown bounds are derived
//   from it as round(design x Scale), so zooming never moves or resizes anything. An edit at a
//   zoom (SetBounds) takes each edge it changes back to 100 % as round(shown / Scale); edges it
//   leaves alone keep their 100 % value. At Scale 1 both are the same numbers. The layout stream
//   stores the 100 % geometry.
// - The panel owns its objects (std::unique_ptr in z-order); Panel() is null until the object is
//   put on a panel. Objects read only the panel's data set, the panel's flags and their own
//   properties.
// - Streaming: ClassName() is the name the layout stream stores. WriteProperties() appends the
//   kind's published properties in stream order (a derived kind calls its base first, then
//   writes its own). ReadProperty() sets one stored entry: it returns false for a name the kind
//   does not have (a derived kind tries its own names, then calls its base), and throws
//   TLayoutError(InvalidValue) for a value of the wrong type. Stored values a kind does not
//   accept are ignored where the kind says so (Angle other than 0/90/180/270).
// - While Reading() is set (the filer sets it around the property entries), bounds changes do
//   not run BoundsChanged and raise nothing.
// - Operations the base leaves empty: AfterCreate, Paint, ApplyFont, ShowData, ClearData,
//   CounterStep, CounterReset, PrintObject. Kinds override those that apply to them.

#include "design/stream/TLayoutValue.h"

#include <QByteArray>
#include <QRect>
#include <QString>
#include <cstdint>
#include <memory>

class QImage;
class QPainter;

namespace qm::print {
class TBaseReport;
}

namespace qm::design {

class TGBasePanel;
class TGFont;
class TLayoutWriter;

class TGGraphicControl {
public:
    TGGraphicControl();
    virtual ~TGGraphicControl();
    TGGraphicControl(const TGGraphicControl&) = delete;
    TGGraphicControl& operator=(const TGGraphicControl&) = delete;

    // ---- identity
    virtual QByteArray ClassName() const = 0;
    const QString& Name() const { return mName; }
    void SetName(const QString& name) { mName = name; }
    std::int32_t Tag() const { return mTag; }
    void SetTag(std::int32_t tag) { mTag = tag; }
    std::int32_t Cursor() const { return mCursor; }
    const QString& Hint() const { return mHint; }

    // ---- host
    TGBasePanel* Panel() const { return mPanel; }
    // Set by the panel when it takes or gives up the object.
    void SetPanel(TGBasePanel* panel) { mPanel = panel; }

    // ---- bounds (design pixels at the current Scale)
    std::int32_t Left() const { return mLeft; }
    std::int32_t Top() const { return mTop; }
    std::int32_t Width() const { return mWidth; }
    std::int32_t Height() const { return mHeight; }
    // The bounds as a rectangle; stored layouts may hold any 32-bit values, so a rectangle that
    // would reach past the int range is cut where the range ends.
    QRect BoundsRect() const;
    // Sets all four at the current Scale; when anything changed: BoundsMoved() for the kind, a
    // repaint request, and (unless Reading()) BoundsChanged(). Each changed edge is taken back to
    // the 100 % geometry, except while the object follows a new Scale other than 1 (a kind that
    // fits itself to its text at the new zoom then changes only what is shown).
    void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);
    void SetLeft(std::int32_t v) { SetBounds(v, mTop, mWidth, mHeight); }
    void SetTop(std::int32_t v) { SetBounds(mLeft, v, mWidth, mHeight); }
    void SetWidth(std::int32_t v) { SetBounds(mLeft, mTop, v, mHeight); }
    void SetHeight(std::int32_t v) { SetBounds(mLeft, mTop, mWidth, v); }

    // A size the kind fits itself to on its own while it lays out its content at the current
    // zoom (to paint or print it): at 100 % that is the 100 % size as well; at any other zoom
    // only what is shown changes, so painting at a zoom never moves the 100 % geometry.
    void FitShownSize(std::int32_t width, std::int32_t height);

    // ---- the 100 % geometry
    std::int32_t DesignLeft() const { return mDesignLeft; }
    std::int32_t DesignTop() const { return mDesignTop; }
    std::int32_t DesignWidth() const { return mDesignWidth; }
    std::int32_t DesignHeight() const { return mDesignHeight; }
    // Sets the 100 % geometry; the shown bounds follow at the current Scale (as SetBounds).
    void SetDesignBounds(std::int32_t left, std::int32_t top, std::int32_t width,
                         std::int32_t height);
    // A 100 % length at the object's Scale, and a length at its Scale back at 100 %.
    std::int32_t Shown(std::int32_t designLength) const;
    std::int32_t Unscaled(std::int32_t shownLength) const;

    // ---- state that is not stored
    bool Locked() const { return mLocked; }
    void SetLocked(bool locked) { mLocked = locked; }
    bool Unselectable() const { return mUnselectable; }
    void SetUnselectable(bool on) { mUnselectable = on; }
    // Zoom factor the panel last applied (32-bit float, 1.0 at construction).
    float Scale() const { return mScale; }
    // Takes a new zoom: the shown bounds become the 100 % geometry at that factor (a
    // BoundsChanged like any other change; the panel suppresses its notification while it
    // scales). Kinds that draw text at the scale override ScaleSet() to mark their layout dirty.
    void SetScale(float scale);
    const QRect& LastBounds() const { return mLastBounds; }
    // Takes the current bounds as LastBounds, as if BoundsChanged had run once (the filer calls it
    // when an object has been read and placed).
    void RecordBounds()
    {
        mLastBounds = BoundsRect();
        mBoundsRecorded = true;
    }
    bool Reading() const { return mReading; }
    void SetReading(bool reading) { mReading = reading; }

    // ---- operations offered to the host (base versions do nothing unless said)
    // Right after the host created the object or the filer read it.
    virtual void AfterCreate() {}
    // Paints the object on screen. The painter's origin is the object's top-left corner, in
    // pixels at the current Scale; the object paints within Width x Height.
    virtual void Paint(QPainter& painter);
    // After every bounds change, except while reading: the first call records LastBounds;
    // later, when the bounds differ from LastBounds, raises the panel's change notification,
    // stores the bounds and asks the panel to refit the selection handle.
    virtual void BoundsChanged();
    // Copies a font onto the object (text kinds only).
    virtual void ApplyFont(const TGFont& font);
    // Fetches and shows the current record's value(s) (data-bound kinds only).
    virtual void ShowData() {}
    // Removes the shown value so that it is not stored (data-bound kinds only).
    virtual void ClearData() {}
    virtual void CounterStep() {}
    virtual void CounterReset() {}
    // Draws the object on the page canvas with the panel's top-left corner at (x, y) inches from
    // the page origin; the object's own corner is at x + Left/PPI, y + Top/PPI.
    virtual void PrintObject(print::TBaseReport& canvas, double x, double y);

    // ---- layout stream
    virtual void WriteProperties(TLayoutWriter& out) const;
    virtual bool ReadProperty(const QByteArray& name, const TLayoutValue& value);

    // Asks the panel to repaint this object (no-op without a panel).
    void Invalidate();
    // Raises the panel's change notification (no-op without a panel, or while reading).
    void NotifyChanged();

protected:
    // The bounds changed (also while reading); kinds with cached layout mark it dirty here.
    virtual void BoundsMoved() {}
    // The Scale changed.
    virtual void ScaleSet() {}

    // The object's corner on the canvas in inches, for PrintObject.
    double PrintLeft(double x) const;
    double PrintTop(double y) const;
    // Paint for a kind shown as a fixed picture: the object takes the picture's size times the
    // Scale, and the picture fills it.
    void PaintPicture(QPainter& painter, const QImage& picture);

private:
    // Sets the shown bounds only, with everything SetBounds does after that.
    void ShowBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);

    QString mName;
    std::int32_t mTag = 0;
    std::int32_t mCursor = 0;
    QString mHint;
    TGBasePanel* mPanel = nullptr;
    std::int32_t mLeft = 0;
    std::int32_t mTop = 0;
    std::int32_t mWidth = 0;
    std::int32_t mHeight = 0;
    std::int32_t mDesignLeft = 0;
    std::int32_t mDesignTop = 0;
    std::int32_t mDesignWidth = 0;
    std::int32_t mDesignHeight = 0;
    bool mFollowingScale = false;
    bool mLocked = false;
    bool mUnselectable = false;
    float mScale = 1.0f;
    QRect mLastBounds;
    bool mBoundsRecorded = false;
    bool mReading = false;
};

// Case-insensitive property name test, as the stream reader matches names.
inline bool SameName(const QByteArray& name, const char* expected)
{
    return name.compare(expected, Qt::CaseInsensitive) == 0;
}

// True when a dotted property name lies in a group ("Font.Color" in "Font."), any letter case.
inline bool InGroup(const QByteArray& name, const char* prefix)
{
    const qsizetype n = qsizetype(qstrlen(prefix));
    return name.size() > n && name.left(n).compare(prefix, Qt::CaseInsensitive) == 0;
}

} // namespace qm::design
