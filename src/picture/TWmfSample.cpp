#include "picture/TWmfSample.h"

#include "picture/TWmfWriter.h"

namespace qm::picture {

QByteArray TWmfSample::ClipArt()
{
    TWmfWriter w(QRect(0, 0, 2400, 1600), 1440);
    w.SetMapMode(8); // anisotropic
    w.SetWindowOrg(0, 0);
    w.SetWindowExt(2400, 1600);
    w.SetBkMode(1); // transparent
    w.SetPolyFillMode(2);

    // Sky.
    const int noPen = w.CreatePen(5, 0, Qt::black);
    const int sky = w.CreateBrush(0, QColor(0x87, 0xCE, 0xEB));
    w.Select(noPen);
    w.Select(sky);
    w.Rectangle(QRect(0, 0, 2400, 1100));

    // Lawn, hatched.
    const int lawn = w.CreateBrush(2, QColor(0x22, 0x8B, 0x22), 4);
    w.Select(lawn);
    w.Rectangle(QRect(0, 1100, 2400, 500));

    // Sun and rays.
    w.SaveDC();
    const int sunPen = w.CreatePen(0, 30, QColor(0xFF, 0x8C, 0x00));
    const int sun = w.CreateBrush(0, QColor(0xFF, 0xD7, 0x00));
    w.Select(sunPen);
    w.Select(sun);
    w.Ellipse(QRect(1900, 100, 300, 300));
    w.Polyline(QPolygon({QPoint(1850, 250), QPoint(1750, 250)}));
    w.MoveTo(2050, 50);
    w.LineTo(2050, -50 + 60);
    w.Polyline(QPolygon({QPoint(1900, 420), QPoint(1830, 490), QPoint(1800, 560)}));
    w.RestoreDC(-1);

    // House: walls, roof, door, windows with crosses.
    const int outline = w.CreatePen(0, 20, Qt::black);
    const int wall = w.CreateBrush(0, QColor(0xF5, 0xDE, 0xB3));
    w.Select(outline);
    w.Select(wall);
    w.Rectangle(QRect(300, 700, 900, 600));
    const int roof = w.CreateBrush(0, QColor(0xB2, 0x22, 0x22));
    w.Select(roof);
    w.Polygon(QPolygon({QPoint(250, 720), QPoint(750, 300), QPoint(1250, 720)}));
    const int door = w.CreateBrush(0, QColor(0x8B, 0x45, 0x13));
    w.Select(door);
    w.RoundRect(QRect(650, 950, 200, 350), 80, 80);
    const int glass = w.CreateBrush(0, QColor(0xAD, 0xD8, 0xE6));
    w.Select(glass);
    w.PolyPolygon({QPolygon(QRect(400, 800, 180, 150)), QPolygon(QRect(920, 800, 180, 150))});
    const int dashed = w.CreatePen(2, 0, Qt::black);
    w.Select(dashed);
    w.MoveTo(490, 800);
    w.LineTo(490, 950);
    w.MoveTo(1010, 800);
    w.LineTo(1010, 950);
    w.Select(outline);

    // A chord with a pie slice on top and an arc around them.
    const int chord = w.CreateBrush(0, QColor(0xFF, 0x63, 0x47));
    w.Select(chord);
    w.ArcLike(0x0830, QRect(1450, 700, 400, 400), QPoint(1650, 1100), QPoint(1450, 900));
    const int slice = w.CreateBrush(0, QColor(0x41, 0x69, 0xE1));
    w.Select(slice);
    w.ArcLike(0x081A, QRect(1450, 700, 400, 400), QPoint(1850, 900), QPoint(1650, 700));
    w.ArcLike(0x0817, QRect(1400, 650, 500, 500), QPoint(1900, 900), QPoint(1400, 900));
    w.Delete(chord);
    w.Delete(slice);

    // Caption.
    const int font = w.CreateFont(-200, 700, false, QStringLiteral("Arial"));
    w.Select(font);
    w.SetTextColor(QColor(0x00, 0x00, 0x80));
    w.SetTextAlign(0);
    w.TextOut(100, 80, "Quillmark");
    const int slanted = w.CreateFont(-120, 400, true, QStringLiteral("Times New Roman"), 150);
    w.Select(slanted);
    w.SetTextColor(Qt::black);
    w.ExtTextOut(1350, 1500, "clip art");

    // A small bitmap: a four-colour checker.
    QImage checker(4, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            checker.setPixel(x, y, ((x + y) % 2) ? qRgb(255, 255, 255) : qRgb(200, 0, 120));
    w.StretchDib(QRect(100, 1250, 240, 240), checker);

    w.Delete(font);
    w.Delete(slanted);
    return w.Finish();
}

} // namespace qm::picture
