#pragma once

// The host panel model: a label face, an envelope face or a report band holding design objects
// in z-order (first = bottom; also stream order). This is the non-interactive half; the editing
// surface (selection handle, tools, menus) attaches through the hooks below.
//
// Contract:
// - The panel owns its objects. Objects()/ObjectAt() give them bottom first. Take/Remove give
//   up ownership or free an object; ClearObjects empties the selection, then frees all.
// - Width()/Height() are the page size in design pixels at the current Scale().
// - SetScale(factor): factor and every Scale are 32-bit floats. When factor differs from the
//   panel's scale: the scaling flag is set (change notifications are suppressed), the page size
//   and every object's bounds are derived afresh from their 100 % values as round(100 % value x
//   factor), half to even, each object taking the new Scale; then pending repaints run and the
//   flag clears. Zooming never changes the 100 % geometry, so any zoom sequence that returns to
//   1.0 leaves the page and every object exactly as they were.
// - The change notification (OnLabelChanged) is raised when an object is added, deleted, moved,
//   resized, re-fonted or re-texted, never while Scaling().
// - Printing(): set by a print job for its whole run; data objects then show no placeholders.
// - Saving and loading the objects as a layout stream is the filer's
// (TGLabelObjectFiler::SaveToFile,
//   LoadFromFile); the panel only holds the objects and the page geometry.

#include "design/core/TGGraphicControl.h"
#include "design/core/TGOwner.h"

#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace qm::data {
class TDataSet;
}

namespace qm::print {
class TBaseReport;
}

namespace qm::design {

class TGBasePanel {
public:
    // The panel registers with its owner for the naming of objects. With no owner (a panel used
    // alone, the tool, tests) it makes one of its own.
    explicit TGBasePanel(TGOwner* owner = nullptr);
    virtual ~TGBasePanel();
    TGBasePanel(const TGBasePanel&) = delete;
    TGBasePanel& operator=(const TGBasePanel&) = delete;

    TGOwner& Owner() const { return *mOwner; }

    // ---- page
    std::int32_t Width() const { return mWidth; }
    std::int32_t Height() const { return mHeight; }
    // The page size at the current scale; the 100 % size follows as round(size / scale) (the
    // same numbers at 1.0).
    void SetSize(std::int32_t width, std::int32_t height);
    std::int32_t DesignWidth() const { return mDesignWidth; }
    std::int32_t DesignHeight() const { return mDesignHeight; }
    // The page size at 100 %; the shown size follows at the current scale.
    void SetDesignSize(std::int32_t width, std::int32_t height);
    float Scale() const { return mScale; }
    bool Scaling() const { return mScaling; }
    void SetScale(float factor);
    bool Printing() const { return mPrinting; }
    void SetPrinting(bool printing) { mPrinting = printing; }

    // ---- objects (z-order, bottom first)
    const std::vector<std::unique_ptr<TGGraphicControl>>& Objects() const { return mObjects; }
    int ObjectCount() const { return int(mObjects.size()); }
    TGGraphicControl* ObjectAt(int index) const { return mObjects.at(std::size_t(index)).get(); }
    int IndexOf(const TGGraphicControl* object) const;
    // Puts the object on top, takes ownership, sets its panel and Scale-independent state is left
    // as it is. Returns the object.
    TGGraphicControl* AddObject(std::unique_ptr<TGGraphicControl> object);
    // Gives up the object (it leaves the selection); null when it is not on the panel.
    std::unique_ptr<TGGraphicControl> TakeObject(TGGraphicControl* object);
    // Frees the object (it leaves the selection first) and raises the change notification.
    void DeleteObject(TGGraphicControl* object);
    // Moves an object to another z position (0 = bottom).
    void MoveObject(TGGraphicControl* object, int newIndex);
    TGGraphicControl* FindObject(const QString& name) const;
    // Empties the selection, then frees every object.
    void ClearObjects();

    // ---- selection (the editing surface keeps it; the model needs to empty it)
    const std::vector<TGGraphicControl*>& Selection() const { return mSelection; }
    void Select(TGGraphicControl* object);
    void Deselect(TGGraphicControl* object);
    void ClearSelection();

    // ---- operations of the hosts
    // If the data set is open: ShowData on every object in z-order, then pending screen updates.
    virtual void RefreshData();
    // PrintObject(canvas, x, y) on every object, bottom first. x, y: the panel's corner in inches.
    void PrintObjects(print::TBaseReport& canvas, double x, double y);
    void StepCounters();
    void ResetCounters();
    // Clears the selection; moves objects below Height-10 up to Height-10 and objects right of
    // Width-20 to Width-20.
    virtual void PullObjectsInside();
    // Clears the selection; frees every object with Top > Height-10, Left > Width-10, Width < 1
    // or Height < 1.
    virtual void DropOutsideObjects();

    // ---- data (TGDataPanel binds a data set; the base has none)
    virtual data::TDataSet* DataSet() const { return nullptr; }
    // The current record's text of a field by name; empty when there is no open data set, no
    // such field, or its value cannot be read (objects then show nothing for it).
    QString FieldText(const QString& name) const;
    // Data-bound objects show record values (true) or the bracketed field name (false).
    virtual bool DisplayDataValues() const { return true; }

    // ---- notifications and hooks for the surface
    std::function<void()> OnLabelChanged;           // the change notification
    std::function<void(const QRect&)> OnInvalidate; // repaint a rectangle (panel pixels)
    std::function<void()> OnProcessUpdates;         // let pending screen updates run
    std::function<void()> OnRefitHandle;            // the selection handle should refit
    std::function<void()> OnSelectionChanged;

    // Raises the change notification unless the panel is scaling.
    void NotifyChanged();
    void InvalidateRect(const QRect& rect);
    void ProcessUpdates();

private:
    std::unique_ptr<TGOwner> mOwnOwner;
    TGOwner* mOwner;
    std::int32_t mWidth = 0;
    std::int32_t mHeight = 0;
    std::int32_t mDesignWidth = 0;
    std::int32_t mDesignHeight = 0;
    float mScale = 1.0f;
    bool mScaling = false;
    bool mPrinting = false;
    std::vector<std::unique_ptr<TGGraphicControl>> mObjects;
    std::vector<TGGraphicControl*> mSelection;
};

} // namespace qm::design
