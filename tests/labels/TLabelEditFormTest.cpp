// The "User Defined Label Layout" values: units, pitch raising, paper sizes and the checks on OK.

#include "labels/TLabelEditForm.h"

#include <gtest/gtest.h>

using namespace qm::labels;
using L = TLabelEditForm::TLength;
using U = TLabelEditForm::TUnit;

namespace {

TLabelEditForm Form(const TLabelGeometry& g = TLabelGeometry::NewLayout())
{
    TLabelEditForm form;
    form.Load(g);
    return form;
}

QString Accept(TLabelEditForm& form, TLabelGeometry* out = nullptr)
{
    TLabelGeometry ignored;
    return form.Accept(out ? out : &ignored);
}

} // namespace

TEST(LabelEditForm, ShowsInchesWithThreeDecimalsAndWholeMillimetres)
{
    TLabelEditForm form = Form();
    EXPECT_EQ(form.Text(L::LeftMargin), "0.188");
    EXPECT_EQ(form.Text(L::VerticalPitch), "1.010");
    form.SetUnit(U::Millimetres);
    EXPECT_EQ(form.Text(L::LeftMargin), "5");
    EXPECT_EQ(form.Text(L::VerticalPitch), "26");
    EXPECT_EQ(form.Text(L::PaperWidth), "216");
}

TEST(LabelEditForm, UneditedFieldsKeepTheirExactInchesAcrossUnitSwitches)
{
    TLabelEditForm form = Form();
    for (int i = 0; i < 3; ++i) {
        form.SetUnit(U::Millimetres);
        form.SetUnit(U::Inches);
    }
    EXPECT_EQ(form.Text(L::VerticalPitch), "1.010");

    // OK in millimetres: only the typed field is converted.
    form.SetUnit(U::Millimetres);
    form.SetText(L::LabelHeight, "25");
    TLabelGeometry g;
    ASSERT_EQ(Accept(form, &g), QString());
    EXPECT_FLOAT_EQ(g.labelHeight, 0.984f); // 25 mm
    EXPECT_FLOAT_EQ(g.verticalPitch, 1.01f);
    EXPECT_FLOAT_EQ(g.leftMargin, 0.188f);
    EXPECT_FLOAT_EQ(g.horizontalPitch, 2.765f);
    EXPECT_EQ(g.paperSize, "LTR");
    EXPECT_EQ(g.shape, "RR");
}

TEST(LabelEditForm, TypedValuesSurviveUnitSwitchesAsTyped)
{
    TLabelEditForm form = Form();
    form.SetText(L::TopMargin, "0.4375");
    form.SetUnit(U::Millimetres);
    EXPECT_EQ(form.Text(L::TopMargin), "11");
    form.SetUnit(U::Inches);
    EXPECT_EQ(form.Text(L::TopMargin), "0.438"); // taken to 3 decimals, not 11 mm back
    form.SetUnit(U::Millimetres);
    form.SetText(L::TopMargin, "10");
    form.SetUnit(U::Inches);
    EXPECT_EQ(form.Text(L::TopMargin), "0.394");
}

TEST(LabelEditForm, MinimumSizesAreCheckedInInches)
{
    TLabelEditForm form = Form();
    form.SetText(L::LabelWidth, "0.5");
    EXPECT_EQ(Accept(form), QString());
    form.SetText(L::LabelWidth, "0.499");
    EXPECT_EQ(Accept(form), "Label Width must be at least .5 inch (or 13mm)");

    form = Form();
    form.SetUnit(U::Millimetres);
    form.SetText(L::LabelHeight, "7"); // 0.276 in
    EXPECT_EQ(Accept(form), "Label Height must be at least .3 inches (or 7mm)");
    form.SetText(L::LabelHeight, "8"); // 0.315 in
    EXPECT_EQ(Accept(form), QString());
}

TEST(LabelEditForm, ChecksRunInOrderAndStopAtTheFirst)
{
    TLabelEditForm form = Form();
    form.SetText(L::LabelHeight, "0.2");
    form.SetText(L::LabelWidth, "0.2");
    EXPECT_EQ(Accept(form), "Label Height must be at least .3 inches (or 7mm)");

    form = Form();
    form.SetText(L::LabelWidth, "3");
    EXPECT_EQ(Accept(form), "Horizontal Pitch must be at least = Label Width");
    form.SetText(L::LabelWidth, "2.625");
    form.SetText(L::LabelHeight, "1.5");
    EXPECT_EQ(Accept(form), "Vertical Pitch must be at least = Label Height");

    form = Form();
    form.SetText(L::PaperWidth, "0.2");
    form.SetText(L::PaperHeight, "0.2");
    EXPECT_EQ(Accept(form), "Page Width must be at least .3 inch");
    form.SetText(L::PaperWidth, "8.5");
    EXPECT_EQ(Accept(form), "Page Height must be at least .3 inches");

    form = Form();
    form.SetText(L::LabelHeight, "abc");
    EXPECT_EQ(Accept(form), "Label Height must be a number");
}

TEST(LabelEditForm, SingleColumnAndRowPassThePitchChecksWhateverThePitches)
{
    TLabelGeometry g = TLabelGeometry::NewLayout();
    g.across = 1;
    g.down = 1;
    g.horizontalPitch = 0;
    g.verticalPitch = 0;
    TLabelEditForm form = Form(g);
    EXPECT_EQ(Accept(form), QString());
}

TEST(LabelEditForm, GridEndingPastThePaperIsRefused)
{
    TLabelEditForm form = Form();
    form.SetText(L::TopMargin, "0.9"); // 0.9 + 9 x 1.01 + 1.0 = 10.99: still fits
    EXPECT_EQ(Accept(form), QString());
    form.SetText(L::TopMargin, "1.0"); // 11.09 > 11
    EXPECT_EQ(Accept(form), "The labels do not fit on the paper");
    form.SetText(L::TopMargin, "0.5");
    form.SetText(L::HorizontalPitch, "3");
    EXPECT_EQ(Accept(form), "The labels do not fit on the paper"); // 0.188 + 6 + 2.625
}

TEST(LabelEditForm, CountsBeyondTheRangesAreShownAndRefusedWithTheRange)
{
    TLabelGeometry g = TLabelGeometry::NewLayout();
    g.across = 16; // as stored for a sheet of 16 narrow labels across
    g.labelWidth = 0.5f;
    g.horizontalPitch = 0.5f;
    g.leftMargin = 0.25f;
    TLabelEditForm form = Form(g);
    EXPECT_EQ(form.Across(), 16);
    EXPECT_EQ(Accept(form), "# across must be from 1 to 10");
    form.SetAcross(10);
    form.SetDown(31);
    EXPECT_EQ(Accept(form), "# down must be from 1 to 30");
    form.SetDown(0);
    EXPECT_EQ(Accept(form), "# down must be from 1 to 30");
    form.SetDown(10);
    EXPECT_EQ(Accept(form), QString());
}

TEST(LabelEditForm, LeavingTheSizeRaisesThePitch)
{
    TLabelEditForm form = Form();
    form.SetText(L::LabelWidth, "3.1");
    form.LeaveField(L::LabelWidth);
    EXPECT_EQ(form.Text(L::HorizontalPitch), "3.100");
    form.SetText(L::LabelWidth, "2");
    form.LeaveField(L::LabelWidth);
    EXPECT_EQ(form.Text(L::HorizontalPitch), "3.100"); // never lowered

    form.SetUnit(U::Millimetres);
    form.SetText(L::LabelHeight, "30"); // 1.181 in > 1.01 in
    form.LeaveField(L::LabelHeight);
    EXPECT_EQ(form.Text(L::VerticalPitch), "30");
    form.SetUnit(U::Inches);
    EXPECT_EQ(form.Text(L::VerticalPitch), "1.181");
}

TEST(LabelEditForm, PaperItemsFillTheSizeAndSetTheCode)
{
    TLabelEditForm form = Form();
    EXPECT_EQ(form.PaperItem(), -1);
    form.SetUnit(U::Millimetres);
    form.ChoosePaper(3); // "A4 Landscape ( 297 x 210mm)"
    EXPECT_EQ(form.Text(L::PaperWidth), "297");
    EXPECT_EQ(form.Text(L::PaperHeight), "210");
    form.SetUnit(U::Inches);
    EXPECT_EQ(form.Text(L::PaperWidth), "11.690");
    form.ChoosePaper(6); // "Other Landscape (User Defined)": sizes unchanged
    EXPECT_EQ(form.Text(L::PaperWidth), "11.690");
    form.SetText(L::TopMargin, "0.1");
    form.SetText(L::LabelHeight, "0.7");
    form.SetText(L::VerticalPitch, "0.75");
    TLabelGeometry g;
    ASSERT_EQ(Accept(form, &g), QString());
    EXPECT_EQ(g.paperSize, "USERL");
    EXPECT_FLOAT_EQ(g.sheetWidth, 11.69f);
    EXPECT_FLOAT_EQ(g.sheetDepth, 8.27f);
    EXPECT_EQ(TLabelEditForm::PaperItems().size(), 7);
}

TEST(LabelEditForm, ShapeListShowsUnknownShapesAsRoundButKeepsThemUntouched)
{
    TLabelGeometry g = TLabelGeometry::NewLayout();
    g.shape = "XX";
    TLabelEditForm form = Form(g);
    EXPECT_EQ(form.ShapeItem(), 2);
    TLabelGeometry out;
    ASSERT_EQ(Accept(form, &out), QString());
    EXPECT_EQ(out.shape, "XX");
    form.ChooseShape(1);
    ASSERT_EQ(Accept(form, &out), QString());
    EXPECT_EQ(out.shape, "SR");
}
