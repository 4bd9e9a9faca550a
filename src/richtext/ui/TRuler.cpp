#include "richtext/ui/TRuler.h"

#include "richtext/ui/TRichEdit.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTextBlock>

namespace qm::richtext {

TRuler::TRuler(TRichEdit& editor, QWidget* parent) : QWidget(parent), mEditor(editor)
{
    setObjectName(QStringLiteral("TRuler"));
    setMouseTracking(true);
    setToolTip(QStringLiteral(
        "Drag the markers to set the paragraph's first-line, left and right indents"));
    connect(&editor, &QTextEdit::cursorPositionChanged, this, [this] { FollowCaret(); });
    connect(editor.document(), &QTextDocument::contentsChanged, this, [this] { FollowCaret(); });
    connect(editor.horizontalScrollBar(), &QScrollBar::valueChanged, this,
            qOverload<>(&QWidget::update));
    FollowCaret();
}

QSize TRuler::sizeHint() const
{
    return {400, fontMetrics().height() * 2 + 4};
}

QSize TRuler::minimumSizeHint() const
{
    return {100, sizeHint().height()};
}

TRulerGeometry TRuler::Geometry() const
{
    // The text starts at the editor viewport's left edge (plus its frame), moved by scrolling.
    const QPoint viewport = mEditor.viewport()->mapTo(mEditor.window(), QPoint(0, 0));
    const QPoint ruler = mapTo(mEditor.window(), QPoint(0, 0));
    const double origin = viewport.x() - ruler.x() + mEditor.document()->documentMargin() -
                          mEditor.horizontalScrollBar()->value();
    return TRulerGeometry(origin, mEditor.PixelsPerInch(), mEditor.Rich().PageLayout().TextWidth());
}

void TRuler::FollowCaret()
{
    const TParagraphSettings settings =
        TParagraphSettings::From(mEditor.textCursor().blockFormat());
    if (!(settings == mSettings) || mDragging == ERulerMarker::None) {
        mSettings = settings;
        update();
    }
}

void TRuler::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const TRulerGeometry geometry = Geometry();
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Window));
    const int textWidth = mEditor.Rich().PageLayout().TextWidth();
    const QRectF band(geometry.XOf(0), 2, geometry.XOf(textWidth) - geometry.XOf(0), height() - 4);
    painter.fillRect(band, colours.color(QPalette::Base));
    painter.setPen(colours.color(QPalette::WindowText));
    const int middle = height() / 2;
    for (const TRulerGeometry::TTick& tick : geometry.Ticks()) {
        static const int lengths[] = {0, 6, 4, 2};
        if (tick.level == 0) {
            if (tick.inch > 0)
                painter.drawText(QRectF(tick.x - 20, 0, 40, height()), Qt::AlignCenter,
                                 QString::number(tick.inch));
        } else
            painter.drawLine(QPointF(tick.x, middle - lengths[tick.level] / 2.0),
                             QPointF(tick.x, middle + lengths[tick.level] / 2.0));
    }
    // Markers: triangles pointing at the middle line.
    const double size = std::max(4.0, height() / 4.0);
    auto triangle = [&](double x, bool top) {
        QPainterPath path;
        if (top) {
            path.moveTo(x - size, 1);
            path.lineTo(x + size, 1);
            path.lineTo(x, 1 + size);
        } else {
            path.moveTo(x - size, height() - 1);
            path.lineTo(x + size, height() - 1);
            path.lineTo(x, height() - 1 - size);
        }
        path.closeSubpath();
        painter.fillPath(path, colours.color(QPalette::Highlight));
        painter.drawPath(path);
    };
    painter.setRenderHint(QPainter::Antialiasing);
    triangle(geometry.XOf(mSettings.leftIndent + mSettings.firstIndent), true);
    triangle(geometry.XOf(mSettings.leftIndent), false);
    triangle(geometry.XOf(textWidth - mSettings.rightIndent), false);
}

void TRuler::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const double slop = std::max(4.0, height() / 4.0);
    mDragging = Geometry().MarkerAt(mSettings, event->position().x(),
                                    event->position().y() < height() / 2.0, slop);
    mDragApplied = false;
}

void TRuler::mouseMoveEvent(QMouseEvent* event)
{
    if (mDragging == ERulerMarker::None) {
        const double slop = std::max(4.0, height() / 4.0);
        const bool onMarker =
            Geometry().MarkerAt(mSettings, event->position().x(),
                                event->position().y() < height() / 2.0, slop) != ERulerMarker::None;
        setCursor(onMarker ? Qt::SizeHorCursor : Qt::ArrowCursor);
        return;
    }
    const TParagraphSettings dragged =
        Geometry().Dragged(mSettings, mDragging, event->position().x());
    if (dragged == mSettings)
        return;
    mSettings = dragged;
    QTextCursor cursor = mEditor.textCursor();
    mSettings.ApplyTo(cursor, mDragApplied);
    mDragApplied = true;
    update();
}

void TRuler::mouseReleaseEvent(QMouseEvent*)
{
    mDragging = ERulerMarker::None;
}

} // namespace qm::richtext
