#pragma once

// The horizontal ruler of the report designer: a tick every PPI div 16 pixels from the inch
// StartInch on; quarter-height ticks, half-height every 8th, full height every 16th with the inch
// number beside it (except at tick 0). Grey on Color (default 0x00FFFF, BGR: yellow).

#include <QColor>
#include <QWidget>

namespace qm::design {

class THRuler : public QWidget {
public:
    enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

    static constexpr int kDefaultWidth = 768;
    static constexpr int kDefaultHeight = 33;

    explicit THRuler(QWidget* parent = nullptr);

    double StartInch() const { return mStartInch; }
    void SetStartInch(double inch);
    QColor Color() const { return mColor; }
    void SetColor(const QColor& color);
    TAlign AlignHRuler() const { return mAlign; }
    // Only alNone, alTop and alBottom are taken; other values leave the alignment as it is.
    void SetAlignHRuler(TAlign align);

    // Tick spacing in pixels (PPI div 16) and the number of the first tick.
    static int TickStep();
    int FirstTick() const;

    QSize sizeHint() const override { return QSize(kDefaultWidth, kDefaultHeight); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double mStartInch = 0.0;
    QColor mColor{0xFF, 0xFF, 0x00};
    TAlign mAlign = TAlign::alNone;
};

} // namespace qm::design
