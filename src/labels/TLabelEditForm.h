#pragma once

// The values of the "User Defined Label Layout" dialog and everything it decides: what each
// field shows in inches or millimetres, the pitch raised to the label's size, the paper sizes the
// list fills in, and the checks made on OK with their messages. The dialog only shows Text() and
// passes on what the user does.
//
// Each length is kept in exact inches. A field shows its inches converted to the current unit
// (3 decimals in inches, whole millimetres); what the user types is taken into inches when the
// field is left, the unit switched or OK pressed (millimetres divided by 25.4, then rounded to 3
// decimals). A field the user did not type in keeps its exact inches however often the unit is
// switched, so a 1.01 in pitch never becomes the 26 mm it is shown as (1.024 in).

#include "labels/TLabelGeometry.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace qm::labels {

class TLabelEditForm {
public:
    enum class TLength {
        LabelHeight,
        LabelWidth,
        HorizontalPitch,
        VerticalPitch,
        LeftMargin,
        TopMargin,
        PaperWidth,
        PaperHeight,
    };
    static constexpr int kLengthCount = 8;
    enum class TUnit { Inches, Millimetres };

    static constexpr double kMillimetresPerInch = 25.4;
    static constexpr double kInchesPerMillimetre = 0.039370078740157;
    static constexpr int kMinAcross = 1;
    static constexpr int kMaxAcross = 10;
    static constexpr int kMinDown = 1;
    static constexpr int kMaxDown = 30;

    // The field's caption as the dialog shows it ("Label Height", ...).
    static QString Caption(TLength field);
    // "Letter (8.5 x 11\")" ... "Other Landscape (User Defined)", and their codes.
    static const QStringList& PaperItems();
    static QString PaperCode(int item);
    // "Rectangular with Rounded Edges", "Rectangular", "Round" for "RR", "SR", "EL".
    static const QStringList& ShapeItems();
    static QString ShapeCode(int item);

    // Starts on the caller's values, in inches, with no paper item chosen. Counts beyond the
    // dialog's ranges are kept and shown as they are.
    void Load(const TLabelGeometry& geometry);

    TUnit Unit() const { return mUnit; }
    void SetUnit(TUnit unit);

    // What the field shows now.
    QString Text(TLength field) const;
    // The user typed into the field.
    void SetText(TLength field, const QString& text);
    // The user left the field: its text is taken; leaving the label width raises the
    // horizontal pitch to it when the width is larger, leaving the height the vertical pitch.
    void LeaveField(TLength field);
    // The field's value in inches as it stands (typed text taken); nothing when the text is not
    // a number.
    std::optional<double> Inches(TLength field) const;

    int Across() const { return mAcross; }
    int Down() const { return mDown; }
    void SetAcross(int across) { mAcross = across; }
    void SetDown(int down) { mDown = down; }

    // -1 until the user picks one. Picking a size fills the paper width and height in the
    // current unit; the user-defined items leave them as they are.
    int PaperItem() const { return mPaperItem; }
    void ChoosePaper(int item);
    // The shape list's item for the stored code (any other code shows "Round").
    int ShapeItem() const { return mShapeItem; }
    void ChooseShape(int item);

    // OK: takes every field, checks in order and returns an empty text with the result in
    // *geometry (the loaded record with the edited values, the paper code of the chosen item and
    // the chosen shape; what the user did not touch stays as loaded), or the first check's
    // message, which the dialog shows while staying open.
    QString Accept(TLabelGeometry* geometry);

private:
    struct TField {
        double inches = 0;
        QString typed; // what the user typed, not yet taken into inches
        bool pending = false;
    };

    void Take(TField& field);
    std::optional<double> Parse(const QString& text) const;
    QString Format(double inches) const;
    TField& F(TLength field) { return mFields[size_t(field)]; }
    const TField& F(TLength field) const { return mFields[size_t(field)]; }

    TLabelGeometry mLoaded;
    std::array<TField, kLengthCount> mFields;
    TUnit mUnit = TUnit::Inches;
    int mAcross = 0;
    int mDown = 0;
    int mPaperItem = -1;
    int mShapeItem = 0;
    bool mShapeChosen = false;
};

} // namespace qm::labels
