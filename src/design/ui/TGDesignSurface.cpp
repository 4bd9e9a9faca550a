#include "design/ui/TGDesignSurface.h"

#include "data/TMessageService.h"
#include "design/core/TGBasePanel.h"
#include "design/core/TGClassRegistry.h"
#include "design/stream/TLayoutError.h"
#include "design/surface/TTickClock.h"
#include "design/ui/TDesignFontDialog.h"
#include "design/ui/TGKindMenus.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace qm::design {

namespace {

constexpr QRgb kGridDot = qRgb(0x00, 0x80, 0x00);
constexpr int kCornerEllipse = 24;
constexpr int kMarkSize = 5;

Qt::CursorShape CursorShape(TCursorKind kind)
{
    switch (kind) {
    case TCursorKind::Arrow:
        return Qt::ArrowCursor;
    case TCursorKind::SizeNWSE:
        return Qt::SizeFDiagCursor;
    case TCursorKind::SizeNESW:
        return Qt::SizeBDiagCursor;
    case TCursorKind::SizeNS:
        return Qt::SizeVerCursor;
    case TCursorKind::SizeWE:
        return Qt::SizeHorCursor;
    case TCursorKind::NoDrop:
        return Qt::ForbiddenCursor;
    case TCursorKind::Drag:
        return Qt::DragMoveCursor;
    case TCursorKind::GrabHand:
        return Qt::OpenHandCursor;
    case TCursorKind::PointingHand:
        return Qt::PointingHandCursor;
    }
    return Qt::ArrowCursor;
}

// The 8 x 8 tile that is ANDed over the page: white except the grid dots, so only dots change.
QImage GridTile()
{
    QImage tile(8, 8, QImage::Format_RGB32);
    tile.fill(Qt::white);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (x % 4 == 0 && y % 4 == 2)
                tile.setPixel(x, y, kGridDot);
    return tile;
}

// Touching counts: the rectangles share at least one pixel (edges one past the last pixel).
bool Touches(const QRect& a, const QRect& b)
{
    return std::max(a.x(), b.x()) < std::min(a.x() + a.width(), b.x() + b.width()) &&
           std::max(a.y(), b.y()) < std::min(a.y() + a.height(), b.y() + b.height());
}

bool Contains(const std::vector<TGGraphicControl*>& list, const TGGraphicControl* object)
{
    return std::find(list.begin(), list.end(), object) != list.end();
}

QAction* AddEntry(QMenu& menu, const char* caption, bool enabled, std::function<void()> run)
{
    QAction* action = menu.addAction(QString::fromLatin1(caption));
    action->setEnabled(enabled);
    QObject::connect(action, &QAction::triggered, action, [run = std::move(run)] { run(); });
    return action;
}

} // namespace

TGDesignSurface::TGDesignSurface(TGBasePanel& panel, QWidget* parent)
    : QWidget(parent), mPanel(panel), mHandle(*this)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    mPanel.OnInvalidate = [this](const QRect& rect) { update(rect.adjusted(-4, -4, 4, 4)); };
    mPanel.OnProcessUpdates = [] {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    mPanel.OnRefitHandle = [this] { RequestRefit(); };
    mPanel.OnSelectionChanged = [this] { mHandle.SelectionChanged(); };
    FitToPage();
}

TGDesignSurface::~TGDesignSurface()
{
    mPanel.OnInvalidate = nullptr;
    mPanel.OnProcessUpdates = nullptr;
    mPanel.OnRefitHandle = nullptr;
    mPanel.OnSelectionChanged = nullptr;
    // The clipboard file lives only while the designer it was made in stays open.
    TGSurfaceCommands::RemoveClipboardFiles();
}

QSize TGDesignSurface::sizeHint() const
{
    return QSize(mPanel.Width() + 1, mPanel.Height() + 1);
}

void TGDesignSurface::FitToPage()
{
    setFixedSize(sizeHint());
    update();
}

// ---- page

void TGDesignSurface::SetShape(TPageShape shape)
{
    mShape = shape;
    update();
}

void TGDesignSurface::SetDrawOutline(bool on)
{
    mDrawOutline = on;
    update();
}

void TGDesignSurface::SetPicture(const picture::TPicture& picture)
{
    mPicture = picture;
    update();
}

void TGDesignSurface::SetColorPicture(const picture::TPicture& picture)
{
    mColorPicture = picture;
    update();
}

void TGDesignSurface::SetShowGrid(bool on)
{
    mShowGrid = on;
    update();
}

void TGDesignSurface::SetSnapToGrid(bool on)
{
    mSnapToGrid = on;
    UpdateGrid();
}

void TGDesignSurface::SetGridSize(TGridSize size)
{
    mGridSize = size;
    UpdateGrid();
}

void TGDesignSurface::UpdateGrid()
{
    const int step = !mSnapToGrid ? 1 : (mGridSize == TGridSize::gs4x4 ? 4 : 8);
    mHandle.SetGrid(step, step);
}

void TGDesignSurface::SetScale(float factor)
{
    mHandle.Reset();
    mPanel.ClearSelection();
    mPanel.SetScale(factor);
    FitToPage();
}

// ---- tools and placing

void TGDesignSurface::SetTool(const QByteArray& kind)
{
    mToolKind = kind;
    mBand = TBand::None;
    SetCursorKind(Pointing() ? TCursorKind::Arrow : TCursorKind::Drag);
}

TGGraphicControl* TGDesignSurface::CreateObjectInRect(const QRect& rect)
{
    std::unique_ptr<TGGraphicControl> object;
    try {
        object = TGClassRegistry::Instance().Create(mToolKind);
    } catch (const TLayoutError& error) {
        ReportError(error.Message());
        return nullptr;
    }
    object->AfterCreate();
    TGKindCatalogue::ApplyDrawnSettings(*object, mFont);
    return PlaceObject(std::move(object), rect);
}

TGGraphicControl* TGDesignSurface::PlaceObject(std::unique_ptr<TGGraphicControl> object,
                                               const QRect& rect)
{
    return TGSurfaceCommands::PlaceObject(mPanel, std::move(object), rect);
}

// ---- selection

void TGDesignSurface::AddToSelection(TGGraphicControl* object, bool capture)
{
    if (object == nullptr || object->Unselectable() || Contains(mPanel.Selection(), object))
        return;
    mHandle.NotePress(capture);
    SetCursorKind(TCursorKind::GrabHand);
    mPanel.Select(object); // the handle grows through the selection hook
    if (capture)
        CaptureForHandle();
    update();
}

TGGraphicControl* TGDesignSurface::SelectableObjectAt(const QPoint& point) const
{
    const auto& objects = mPanel.Objects();
    for (auto it = objects.rbegin(); it != objects.rend(); ++it)
        if (!(*it)->Unselectable() && (*it)->BoundsRect().contains(point))
            return it->get();
    return nullptr;
}

void TGDesignSurface::SelectAll()
{
    TGSurfaceCommands::SelectAll(mPanel);
}

void TGDesignSurface::RubberSelect(const QRect& band, bool toggle)
{
    if (!toggle)
        mPanel.ClearSelection();
    const auto& objects = mPanel.Objects();
    std::vector<TGGraphicControl*> touched;
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) // top to bottom
        if (Touches(band, (*it)->BoundsRect()))
            touched.push_back(it->get());
    for (TGGraphicControl* object : touched) {
        if (toggle && Contains(mPanel.Selection(), object))
            mPanel.Deselect(object);
        else
            AddToSelection(object, false);
    }
    update();
}

void TGDesignSurface::RequestRefit()
{
    if (mRefitPosted)
        return;
    mRefitPosted = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            mRefitPosted = false;
            mHandle.Refit();
        },
        Qt::QueuedConnection);
}

// ---- commands

void TGDesignSurface::ReportError(const QString& message)
{
    data::TMessageService::Error(this, QStringLiteral("Error"), message);
    update();
}

void TGDesignSurface::Copy()
{
    try {
        TGSurfaceCommands::CopySelection(mPanel);
    } catch (const TLayoutError& error) {
        ReportError(error.Message());
    }
}

void TGDesignSurface::Cut()
{
    try {
        TGSurfaceCommands::CutSelection(mPanel);
    } catch (const TLayoutError& error) {
        ReportError(error.Message()); // nothing was deleted: the copy failed first
    }
}

void TGDesignSurface::Paste()
{
    try {
        TGSurfaceCommands::Paste(mPanel, mPasteGate, TTickClock::Now());
    } catch (const TLayoutError& error) {
        ReportError(error.Message());
    }
}

void TGDesignSurface::DeleteSelection()
{
    TGSurfaceCommands::DeleteSelection(mPanel);
}

void TGDesignSurface::Clone(TGGraphicControl& object)
{
    try {
        TGSurfaceCommands::Clone(mPanel, object);
    } catch (const TLayoutError& error) {
        ReportError(error.Message());
    }
}

void TGDesignSurface::ChooseFont()
{
    const std::optional<TGFont> font =
        OnChooseFont ? OnChooseFont(mFont) : TDesignFontDialog::Choose(mFont, this);
    if (font)
        TGSurfaceCommands::ApplyFontToSelection(mPanel, *font);
}

// ---- menus

void TGDesignSurface::BuildPanelMenu(QMenu& menu)
{
    const bool selected = !mPanel.Selection().empty();
    const bool anyObject = mPanel.ObjectCount() > 0;
    TGBasePanel& panel = mPanel;
    AddEntry(menu, "Bring To Front", selected,
             [&panel] { TGSurfaceCommands::BringSelectionToFront(panel); });
    AddEntry(menu, "Send To Back", selected,
             [&panel] { TGSurfaceCommands::SendSelectionToBack(panel); });
    menu.addSeparator();
    AddEntry(menu, "Cut", selected, [this] { Cut(); });
    AddEntry(menu, "Copy", selected, [this] { Copy(); });
    AddEntry(menu, "Paste", TGSurfaceCommands::ClipboardExists(), [this] { Paste(); });
    menu.addSeparator();
    AddEntry(menu, "Delete", selected, [this] { DeleteSelection(); });
    menu.addSeparator();
    AddEntry(menu, "Align Left", selected, [&panel] { TGSurfaceCommands::AlignLefts(panel); });
    AddEntry(menu, "Align Right", selected, [&panel] { TGSurfaceCommands::AlignRights(panel); });
    AddEntry(menu, "Align Tops", selected, [&panel] { TGSurfaceCommands::AlignTops(panel); });
    AddEntry(menu, "Align Bottoms", selected, [&panel] { TGSurfaceCommands::AlignBottoms(panel); });
    menu.addSeparator();
    AddEntry(menu, "Center Vertically", selected,
             [&panel] { TGSurfaceCommands::CenterSelectionVertically(panel); });
    AddEntry(menu, "Center Horizontally", selected,
             [&panel] { TGSurfaceCommands::CenterSelectionHorizontally(panel); });
    menu.addSeparator();
    AddEntry(menu, "Lock All", anyObject, [&panel] { TGSurfaceCommands::LockAll(panel, true); });
    AddEntry(menu, "Unlock All", anyObject, [&panel] { TGSurfaceCommands::LockAll(panel, false); });
    menu.addSeparator();
    AddEntry(menu, "Mark All Selectable", true,
             [&panel] { TGSurfaceCommands::MarkAll(panel, false); });
    AddEntry(menu, "Mark All Unselectable", true,
             [&panel] { TGSurfaceCommands::MarkAll(panel, true); });
    AddEntry(menu, "Select All", true, [this] { SelectAll(); });
    menu.addSeparator();
    AddEntry(menu, "Font", selected, [this] { ChooseFont(); });
}

void TGDesignSurface::BuildObjectMenu(QMenu& menu, TGGraphicControl& object)
{
    TGBasePanel& panel = mPanel;
    TGGraphicControl* target = &object;
    const bool inSelection = Contains(mPanel.Selection(), target);
    AddEntry(menu, "Bring To Front", true,
             [&panel, target] { TGSurfaceCommands::BringToFront(panel, *target); });
    AddEntry(menu, "Send To Back", true,
             [&panel, target] { TGSurfaceCommands::SendToBack(panel, *target); });
    if (inSelection) {
        AddEntry(menu, "Cut", true, [this] { Cut(); });
        AddEntry(menu, "Copy", true, [this] { Copy(); });
        AddEntry(menu, "Delete", true, [this] { DeleteSelection(); });
    } else {
        AddEntry(menu, "Cut", true, [this, &panel, target] {
            try {
                TGSurfaceCommands::CutOne(panel, *target);
            } catch (const TLayoutError& error) {
                ReportError(error.Message());
            }
        });
        AddEntry(menu, "Copy", true, [this, &panel, target] {
            try {
                TGSurfaceCommands::CopyOne(panel, *target);
            } catch (const TLayoutError& error) {
                ReportError(error.Message());
            }
        });
        AddEntry(menu, "Delete", true,
                 [&panel, target] { TGSurfaceCommands::DeleteOne(panel, *target); });
    }
    AddEntry(menu, "Clone", true, [this, target] { Clone(*target); });
    menu.addSeparator();
    QAction* locked = AddEntry(menu, "Locked", true, [&panel, target] {
        TGSurfaceCommands::ToggleLocked(panel, *target);
    });
    locked->setCheckable(true);
    locked->setChecked(object.Locked());
    AddEntry(menu, "Unselectable", true,
             [&panel, target] { TGSurfaceCommands::MakeUnselectable(panel, *target); });
    menu.addSeparator();
    AddEntry(menu, "Center Vertically", true,
             [&panel, target] { TGSurfaceCommands::CenterVertically(panel, *target); });
    AddEntry(menu, "Center Horizontally", true,
             [&panel, target] { TGSurfaceCommands::CenterHorizontally(panel, *target); });
    TGKindMenus::AddEntries(menu, object, this);
}

void TGDesignSurface::ShowMenu(QMenu& menu, const QPoint& panelPoint)
{
    if (OnShowMenu)
        OnShowMenu(menu);
    else
        menu.exec(mapToGlobal(panelPoint));
}

void TGDesignSurface::OpenPanelMenu(const QPoint& panelPoint)
{
    QMenu menu(this);
    BuildPanelMenu(menu);
    ShowMenu(menu, panelPoint);
}

void TGDesignSurface::OpenObjectMenu(TGGraphicControl& object, const QPoint& panelPoint)
{
    QMenu menu(this);
    BuildObjectMenu(menu, object);
    ShowMenu(menu, panelPoint);
}

// ---- input

void TGDesignSurface::SetCursorKind(TCursorKind kind)
{
    if (kind == mCursorKind)
        return;
    mCursorKind = kind;
    setCursor(CursorShape(kind));
}

bool TGDesignSurface::OnHandle(const QPoint& point) const
{
    return mHandle.Visible() && mHandle.Bounds().contains(point);
}

void TGDesignSurface::HandlePressOnPanel(const QPoint& panelPoint, Qt::KeyboardModifiers modifiers)
{
    if (!(modifiers & Qt::ShiftModifier))
        return;
    TGGraphicControl* object = SelectableObjectAt(panelPoint);
    if (object != nullptr && Contains(mPanel.Selection(), object))
        mPanel.Deselect(object);
}

void TGDesignSurface::PagePress(const QPoint& panelPoint, Qt::MouseButton button,
                                Qt::KeyboardModifiers modifiers)
{
    if (button != Qt::LeftButton && button != Qt::RightButton)
        return;
    TGGraphicControl* object = SelectableObjectAt(panelPoint);
    if (object == nullptr) {
        if (button == Qt::LeftButton) {
            mBand = TBand::Selecting;
            mBandStart = mBandEnd = panelPoint;
            SetCursorKind(TCursorKind::PointingHand);
        } else {
            OpenPanelMenu(panelPoint);
        }
        return;
    }
    const bool shift = modifiers & Qt::ShiftModifier;
    if (shift && Contains(mPanel.Selection(), object)) {
        mPanel.Deselect(object);
    } else {
        if (!shift)
            mPanel.ClearSelection();
        AddToSelection(object, button == Qt::LeftButton);
    }
    if (button == Qt::RightButton && mPanel.Selection().size() == 1 &&
        mPanel.Selection().front() == object)
        OpenObjectMenu(*object, panelPoint);
}

void TGDesignSurface::mousePressEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    mCaptured = false;
    if (!Pointing()) {
        if (event->button() == Qt::LeftButton) {
            mBand = TBand::Drawing;
            mBandStart = mBandEnd = point;
        }
        return;
    }
    if (OnHandle(point)) {
        mHandle.MousePress(point - mHandle.Bounds().topLeft(), event->button(), event->modifiers());
        return;
    }
    PagePress(point, event->button(), event->modifiers());
}

void TGDesignSurface::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (Pointing() && event->button() == Qt::LeftButton && OnHandle(point)) {
        mHandle.MouseDoubleClick(point - mHandle.Bounds().topLeft());
        return;
    }
    mousePressEvent(event);
}

void TGDesignSurface::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (mBand != TBand::None) {
        mBandEnd = point;
        SetCursorKind(TCursorKind::PointingHand);
        update();
        return;
    }
    if (!Pointing()) {
        SetCursorKind(TCursorKind::Drag);
        return;
    }
    if (mCaptured || OnHandle(point)) {
        mHandle.MouseMove(point - mHandle.Bounds().topLeft(), event->buttons());
        return;
    }
    SetCursorKind(SelectableObjectAt(point) ? TCursorKind::PointingHand : TCursorKind::Arrow);
}

void TGDesignSurface::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (mBand != TBand::None && event->button() == Qt::LeftButton) {
        mBandEnd = point;
        FinishBand(event->modifiers());
        return;
    }
    if (Pointing() && (mCaptured || OnHandle(point)))
        mHandle.MouseRelease(point - mHandle.Bounds().topLeft(), event->button(),
                             event->modifiers());
    if (event->button() == Qt::LeftButton)
        mCaptured = false;
}

QRect TGDesignSurface::BandRect() const
{
    const int left = std::min(mBandStart.x(), mBandEnd.x());
    const int top = std::min(mBandStart.y(), mBandEnd.y());
    const int right = std::max(mBandStart.x(), mBandEnd.x());
    const int bottom = std::max(mBandStart.y(), mBandEnd.y());
    return QRect(left, top, right - left, bottom - top);
}

void TGDesignSurface::FinishBand(Qt::KeyboardModifiers modifiers)
{
    const TBand band = mBand;
    const QRect rect = BandRect();
    mBand = TBand::None;
    update();
    if (band == TBand::Selecting) {
        SetCursorKind(TCursorKind::Arrow);
        RubberSelect(rect, modifiers & Qt::ShiftModifier);
        return;
    }
    CreateObjectInRect(rect);
    if (DroppedObjectEvent)
        DroppedObjectEvent(rect);
    else
        SetTool({});
}

namespace {

bool IsArrow(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

bool IsUndoOrRedo(const QKeyEvent& event)
{
    return event.matches(QKeySequence::Undo) || event.matches(QKeySequence::Redo) ||
           (event.key() == Qt::Key_Y && event.modifiers() == Qt::ControlModifier);
}

} // namespace

bool TGDesignSurface::IsSurfaceKey(const QKeyEvent& event)
{
    if (event.modifiers() & Qt::AltModifier)
        return false; // the window's mnemonics
    return event.matches(QKeySequence::Copy) || event.matches(QKeySequence::Cut) ||
           event.matches(QKeySequence::Paste) || event.matches(QKeySequence::SelectAll) ||
           IsUndoOrRedo(event) || event.key() == Qt::Key_Delete || IsArrow(event.key());
}

bool TGDesignSurface::SurfaceKeyPress(const QKeyEvent& event)
{
    if (!IsSurfaceKey(event))
        return false;
    if (event.matches(QKeySequence::Copy)) {
        Copy();
    } else if (event.matches(QKeySequence::Cut)) {
        Cut();
    } else if (event.matches(QKeySequence::Paste)) {
        Paste();
    } else if (event.matches(QKeySequence::SelectAll)) {
        SelectAll();
        update();
    } else if (event.key() == Qt::Key_Delete) {
        DeleteSelection();
    } else if (IsArrow(event.key())) {
        // With nothing selected the arrows do nothing; they are still the surface's, so that
        // they neither scroll the page nor move the focus.
        if (!mPanel.Selection().empty())
            mHandle.KeyPress(event.key(), event.modifiers());
    }
    // The undo and redo keys are taken and do nothing: the surface keeps no history yet.
    return true;
}

bool TGDesignSurface::SurfaceKeyRelease(const QKeyEvent& event)
{
    if (!IsArrow(event.key()))
        return false;
    mHandle.KeyRelease(event.key(), event.isAutoRepeat());
    return true;
}

void TGDesignSurface::keyPressEvent(QKeyEvent* event)
{
    if (!SurfaceKeyPress(*event))
        QWidget::keyPressEvent(event);
}

void TGDesignSurface::keyReleaseEvent(QKeyEvent* event)
{
    if (!SurfaceKeyRelease(*event))
        QWidget::keyReleaseEvent(event);
}

// ---- painting

void TGDesignSurface::PaintMarks(QPainter& painter, const TGGraphicControl& object,
                                 bool single) const
{
    const QColor color = single ? mHandle.Color() : mHandle.SecondaryColor();
    const int left = object.Left() - 2;
    const int top = object.Top() - 2;
    const int right = object.Left() + object.Width() + 2;
    const int bottom = object.Top() + object.Height() + 2;
    const auto mark = [&](int x, int y) { painter.fillRect(x, y, kMarkSize, kMarkSize, color); };
    mark(left, top);
    mark(right - kMarkSize, top);
    mark(left, bottom - kMarkSize);
    mark(right - kMarkSize, bottom - kMarkSize);
    if (single) {
        const int midX = (left + right) / 2 - kMarkSize / 2;
        const int midY = (top + bottom) / 2 - kMarkSize / 2;
        mark(midX, top);
        mark(midX, bottom - kMarkSize);
        mark(left, midY);
        mark(right - kMarkSize, midY);
    }
}

void TGDesignSurface::PaintPage(QPainter& painter) const
{
    const int width = mPanel.Width();
    const int height = mPanel.Height();
    painter.fillRect(QRect(0, 0, width + 1, height + 1), Qt::white);

    QPainterPath shape;
    const QRectF shapeRect(0, 0, width + 1, height + 1);
    switch (mShape) {
    case TPageShape::lsRectangle:
        shape.addRect(shapeRect);
        break;
    case TPageShape::lsRoundRect:
        shape.addRoundedRect(shapeRect, kCornerEllipse / 2.0, kCornerEllipse / 2.0);
        break;
    case TPageShape::lsEllipse:
        shape.addEllipse(shapeRect);
        break;
    }
    const QRect page(0, 0, width, height);
    for (const picture::TPicture* picture : {&mPicture, &mColorPicture}) {
        if (picture->IsEmpty())
            continue;
        painter.save();
        painter.setClipPath(shape);
        picture->Draw(painter, QRectF(page));
        painter.restore();
    }
    if (mDrawOutline) {
        painter.save();
        painter.setPen(QPen(Qt::black, 0));
        painter.setBrush(Qt::NoBrush);
        switch (mShape) {
        case TPageShape::lsRectangle:
            painter.drawRect(page);
            break;
        case TPageShape::lsRoundRect:
            painter.drawRoundedRect(page, kCornerEllipse / 2.0, kCornerEllipse / 2.0);
            break;
        case TPageShape::lsEllipse:
            painter.drawEllipse(page);
            break;
        }
        painter.restore();
    }
    if (mShowGrid) {
        // ANDing a white tile with green dots changes only the dot pixels, so the outline and the
        // pictures show through; the dots follow the page's own pixels, 4 apart whatever the
        // snapping step.
        painter.save();
        painter.setClipPath(shape);
        painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        painter.fillRect(QRect(0, 0, width + 1, height + 1), QBrush(GridTile()));
        painter.restore();
    }

    if (OnPaintBackground) {
        painter.save();
        OnPaintBackground(painter);
        painter.restore();
    }

    const auto& selected = mPanel.Selection();
    const bool single = selected.size() == 1;
    for (const auto& object : mPanel.Objects()) {
        if (object->Width() > 0 && object->Height() > 0) {
            painter.save();
            painter.translate(object->Left(), object->Top());
            painter.setClipRect(QRect(0, 0, object->Width(), object->Height()));
            object->Paint(painter);
            painter.restore();
        }
        if (Contains(selected, object.get()))
            PaintMarks(painter, *object, single);
    }

    // Inverted dotted outlines: the rubber band and the handle's drag or keyboard outline.
    QRect outline;
    if (mBand != TBand::None)
        outline = BandRect();
    else
        outline = mHandle.Outline();
    if (!outline.isNull()) {
        painter.save();
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QPen(Qt::white, 0, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(outline);
        painter.restore();
    }
    if (OnPaintOverlay) {
        painter.save();
        OnPaintOverlay(painter);
        painter.restore();
    }
}

QImage TGDesignSurface::RenderPage(qreal pixelRatio) const
{
    QImage image(qRound((mPanel.Width() + 1) * pixelRatio),
                 qRound((mPanel.Height() + 1) * pixelRatio), QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio);
    QPainter painter(&image);
    PaintPage(painter);
    return image;
}

void TGDesignSurface::paintEvent(QPaintEvent* event)
{
    const QImage image = RenderPage(devicePixelRatioF());
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.drawImage(0, 0, image);
}

} // namespace qm::design
