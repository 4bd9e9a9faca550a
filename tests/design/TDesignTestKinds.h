// Test kinds for the model tests: an object that records the host operations it receives, and a
// shape-like object with a pen and a brush. Registered under their own class names.

#pragma once

#include "design/core/TGBrush.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGGraphicControl.h"
#include "design/core/TGPen.h"
#include "design/stream/TLayoutWriter.h"
#include "print/TBaseReport.h"

#include <QStringList>

namespace qm::design::test {

// Every call lands in one shared log, so the order across objects is visible.
inline QStringList& CallLog()
{
    static QStringList log;
    return log;
}

class TRecordingObject : public TGGraphicControl {
public:
    static constexpr const char* kClassName = "TRecordingObject";
    QByteArray ClassName() const override { return kClassName; }

    void ShowData() override { CallLog() << Name() + QStringLiteral(".ShowData"); }
    void ClearData() override { CallLog() << Name() + QStringLiteral(".ClearData"); }
    void CounterStep() override { CallLog() << Name() + QStringLiteral(".CounterStep"); }
    void CounterReset() override { CallLog() << Name() + QStringLiteral(".CounterReset"); }
    void AfterCreate() override { ++afterCreateCalls; }
    void PrintObject(print::TBaseReport& canvas, double x, double y) override
    {
        CallLog()
            << QStringLiteral("%1.Print(%2,%3)").arg(Name()).arg(PrintLeft(x)).arg(PrintTop(y));
        canvas.DrawRectangle(PrintLeft(x), PrintTop(y), PrintLeft(x) + 0.5, PrintTop(y) + 0.5);
    }

    int afterCreateCalls = 0;
};

class TPenBrushObject : public TGGraphicControl {
public:
    static constexpr const char* kClassName = "TPenBrushObject";
    QByteArray ClassName() const override { return kClassName; }

    void WriteProperties(TLayoutWriter& out) const override
    {
        TGGraphicControl::WriteProperties(out);
        out.PropertyBoolean("Transparent", transparent);
        brush.Write(out);
        pen.Write(out);
    }
    bool ReadProperty(const QByteArray& name, const TLayoutValue& value) override
    {
        if (InGroup(name, "Pen."))
            return pen.ReadMember(name.mid(4), value);
        if (InGroup(name, "Brush."))
            return brush.ReadMember(name.mid(6), value);
        if (SameName(name, "Transparent")) {
            transparent = value.AsBoolean();
            return true;
        }
        return TGGraphicControl::ReadProperty(name, value);
    }

    bool transparent = false;
    TGPen pen;
    TGBrush brush;
};

inline void RegisterTestKinds()
{
    auto& registry = TGClassRegistry::Instance();
    registry.Register(TRecordingObject::kClassName,
                      [] { return std::unique_ptr<TGGraphicControl>(new TRecordingObject()); });
    registry.Register(TPenBrushObject::kClassName,
                      [] { return std::unique_ptr<TGGraphicControl>(new TPenBrushObject()); });
}

} // namespace qm::design::test
