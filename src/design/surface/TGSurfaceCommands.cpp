#include "design/surface/TGSurfaceCommands.h"

#include "data/TProgramHome.h"
#include "design/core/TGBasePanel.h"
#include "design/core/TGLabelObjectFiler.h"

#include <QFile>
#include <algorithm>
#include <climits>

namespace qm::design {

bool TPasteGate::Allow(std::int64_t now)
{
    if (mLast && now - *mLast < kRepeatMs)
        return false;
    mLast = now;
    return true;
}

QString TGSurfaceCommands::ClipboardPath()
{
    return data::TProgramHome::Current().FilePath(QStringLiteral("Clipbrd.tmp"));
}

QString TGSurfaceCommands::TempFilePath()
{
    return data::TProgramHome::Current().FilePath(QStringLiteral("TempFile.tmp"));
}

bool TGSurfaceCommands::ClipboardExists()
{
    return QFile::exists(ClipboardPath());
}

void TGSurfaceCommands::RemoveClipboardFiles()
{
    QFile::remove(ClipboardPath());
    QFile::remove(TempFilePath());
}

void TGSurfaceCommands::Changed(TGBasePanel& panel)
{
    panel.NotifyChanged();
    panel.InvalidateRect(QRect(0, 0, panel.Width() + 1, panel.Height() + 1));
}

void TGSurfaceCommands::BringToFront(TGBasePanel& panel, TGGraphicControl& object)
{
    panel.MoveObject(&object, panel.ObjectCount() - 1);
    Changed(panel);
}

void TGSurfaceCommands::SendToBack(TGBasePanel& panel, TGGraphicControl& object)
{
    panel.MoveObject(&object, 0);
    panel.ClearSelection();
    Changed(panel);
}

void TGSurfaceCommands::BringSelectionToFront(TGBasePanel& panel)
{
    const std::vector<TGGraphicControl*> selected = panel.Selection();
    for (TGGraphicControl* object : selected)
        panel.MoveObject(object, panel.ObjectCount() - 1);
    Changed(panel);
}

void TGSurfaceCommands::SendSelectionToBack(TGBasePanel& panel)
{
    const std::vector<TGGraphicControl*> selected = panel.Selection();
    for (TGGraphicControl* object : selected)
        panel.MoveObject(object, 0);
    panel.ClearSelection();
    Changed(panel);
}

void TGSurfaceCommands::CenterVertically(TGBasePanel& panel, TGGraphicControl& object)
{
    object.SetTop(panel.Height() / 2 - object.Height() / 2);
    Changed(panel);
}

void TGSurfaceCommands::CenterHorizontally(TGBasePanel& panel, TGGraphicControl& object)
{
    object.SetLeft(panel.Width() / 2 - object.Width() / 2);
    Changed(panel);
}

void TGSurfaceCommands::CenterSelectionVertically(TGBasePanel& panel)
{
    const std::vector<TGGraphicControl*> selected = panel.Selection();
    for (TGGraphicControl* object : selected)
        object->SetTop(panel.Height() / 2 - object->Height() / 2);
    Changed(panel);
}

void TGSurfaceCommands::CenterSelectionHorizontally(TGBasePanel& panel)
{
    const std::vector<TGGraphicControl*> selected = panel.Selection();
    for (TGGraphicControl* object : selected)
        object->SetLeft(panel.Width() / 2 - object->Width() / 2);
    Changed(panel);
}

void TGSurfaceCommands::AlignLefts(TGBasePanel& panel)
{
    const std::vector<TGGraphicControl*> selected = panel.Selection();
    if (selected.empty())
        return;
    int left = INT_MAX;
    for (const TGGraphicControl* object : selected)
        left = std::min(left, object->Left());
    for (TGGraphicControl* object : selected)
        object->SetLeft(left);
    Changed(panel);
}

void TGSurfaceCommands::AlignRights(TGBasePanel& panel)
{
    const std::vector<TGGraphicControl*> selected = panel.Selection();
    if (selected.empty())
        return;
    int right = INT_MIN;
    for (const TGGraphicControl* object : selected)
        right = std::max(right, object->Left() + object->Width());
    for (TGGraphicControl* object : selected)
        object->SetLeft(right - object->Width());
    Changed(panel);
}

void TGSurfaceCommands::AlignTops(TGBasePanel& panel)
{
    const std::vector<TGGraphicControl*> selected = panel.Selection();
    if (selected.empty())
        return;
    int top = INT_MAX;
    for (const TGGraphicControl* object : selected)
        top = std::min(top, object->Top());
    for (TGGraphicControl* object : selected)
        object->SetTop(top);
    Changed(panel);
}

void TGSurfaceCommands::AlignBottoms(TGBasePanel& panel)
{
    const std::vector<TGGraphicControl*> selected = panel.Selection();
    if (selected.empty())
        return;
    int bottom = INT_MIN;
    for (const TGGraphicControl* object : selected)
        bottom = std::max(bottom, object->Top() + object->Height());
    for (TGGraphicControl* object : selected)
        object->SetTop(bottom - object->Height());
    Changed(panel);
}

void TGSurfaceCommands::ToggleLocked(TGBasePanel& panel, TGGraphicControl& object)
{
    object.SetLocked(!object.Locked());
    Changed(panel);
}

void TGSurfaceCommands::LockAll(TGBasePanel& panel, bool locked)
{
    for (const auto& object : panel.Objects())
        object->SetLocked(locked);
    Changed(panel);
}

void TGSurfaceCommands::MakeUnselectable(TGBasePanel& panel, TGGraphicControl& object)
{
    object.SetUnselectable(true);
    panel.Deselect(&object);
    Changed(panel);
}

void TGSurfaceCommands::MarkAll(TGBasePanel& panel, bool unselectable)
{
    for (const auto& object : panel.Objects()) {
        object->SetUnselectable(unselectable);
        if (unselectable)
            panel.Deselect(object.get());
    }
    Changed(panel);
}

void TGSurfaceCommands::SelectAll(TGBasePanel& panel)
{
    panel.ClearSelection();
    for (const auto& object : panel.Objects())
        panel.Select(object.get()); // Select skips unselectable objects
    Changed(panel);
}

void TGSurfaceCommands::ApplyFontToSelection(TGBasePanel& panel, const TGFont& font)
{
    const std::vector<TGGraphicControl*> selected = panel.Selection();
    for (TGGraphicControl* object : selected) {
        object->ApplyFont(font);
        object->Invalidate();
    }
    Changed(panel);
}

void TGSurfaceCommands::CopySelection(TGBasePanel& panel)
{
    TGLabelObjectFiler::WriteSelection(panel.Selection(), ClipboardPath());
    Changed(panel);
}

void TGSurfaceCommands::CopyOne(TGBasePanel& panel, const TGGraphicControl& object)
{
    TGLabelObjectFiler::WriteOne(object, ClipboardPath());
    Changed(panel);
}

void TGSurfaceCommands::CutSelection(TGBasePanel& panel)
{
    CopySelection(panel);
    DeleteSelection(panel);
}

void TGSurfaceCommands::CutOne(TGBasePanel& panel, TGGraphicControl& object)
{
    CopyOne(panel, object);
    DeleteOne(panel, object);
}

void TGSurfaceCommands::DeleteSelection(TGBasePanel& panel)
{
    const std::vector<TGGraphicControl*> selected = panel.Selection();
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        panel.DeleteObject(*it);
    Changed(panel);
}

void TGSurfaceCommands::DeleteOne(TGBasePanel& panel, TGGraphicControl& object)
{
    panel.DeleteObject(&object);
    Changed(panel);
}

bool TGSurfaceCommands::Paste(TGBasePanel& panel, TPasteGate& gate, std::int64_t now)
{
    if (!gate.Allow(now))
        return false;
    try {
        TGLabelObjectFiler::ReadPasted(panel.Owner(), panel, ClipboardPath());
    } catch (...) {
        Changed(panel);
        throw;
    }
    Changed(panel);
    return true;
}

TGGraphicControl* TGSurfaceCommands::Clone(TGBasePanel& panel, TGGraphicControl& object)
{
    TGGraphicControl* copy = TGLabelObjectFiler::Duplicate(object, panel.Owner(), panel);
    if (copy == nullptr)
        return nullptr;
    copy->SetTop(copy->Top() + kCloneOffset);
    panel.MoveObject(copy, panel.ObjectCount() - 1);
    const auto& selected = panel.Selection();
    if (std::find(selected.begin(), selected.end(), &object) != selected.end()) {
        panel.Deselect(&object);
        panel.Select(copy);
    }
    Changed(panel);
    return copy;
}

TGGraphicControl* TGSurfaceCommands::PlaceObject(TGBasePanel& panel,
                                                 std::unique_ptr<TGGraphicControl> object,
                                                 const QRect& rect)
{
    const QString name = panel.Owner().FreeSpecialName();
    TGGraphicControl* placed = panel.AddObject(std::move(object));
    if (!name.isEmpty())
        placed->SetName(name);
    // The object takes the zoom first, so that the rectangle counts as drawn at that zoom; that
    // is part of making it and raises nothing (the drawn bounds are its first recorded ones).
    placed->SetReading(true);
    placed->SetScale(panel.Scale());
    placed->SetReading(false);
    placed->SetBounds(rect.x(), rect.y(), std::max(rect.width(), kMinPlacedWidth),
                      std::max(rect.height(), kMinPlacedHeight));
    Changed(panel);
    panel.ProcessUpdates();
    return placed;
}

} // namespace qm::design
