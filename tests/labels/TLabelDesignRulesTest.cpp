// The label designer's decisions: names, captions, zoom steps, face size, drawn rectangles, the
// POSTNET width rule, the read-out and what Change Layout takes.

#include "labels/TLabelDesignRules.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace qm::labels;
using R = TLabelDesignRules;

TEST(LabelDesignRules, LayoutNameAndFontCaption)
{
    TLabelGeometry g = TLabelGeometry::NewLayout();
    EXPECT_EQ(R::LayoutName(g), "Avery 5160  Address");
    g.MakeUserDefined();
    EXPECT_EQ(R::LayoutName(g), "User Defined Label Layout");
    EXPECT_EQ(R::DefaultFontCaption("Arial", 10, false, false), "Default Font: Arial, 10 pt ");
    EXPECT_EQ(R::DefaultFontCaption("Times New Roman", 12, true, true),
              "Default Font: Times New Roman, 12 pt , bold, italic");
}

TEST(LabelDesignRules, FivePressesReachEachEndAndASixthDoesNothing)
{
    float scale = 1.0f;
    for (int i = 0; i < 5; ++i)
        scale = R::ZoomOut(scale);
    EXPECT_EQ(R::ZoomText(scale), "50%");
    EXPECT_LT(scale, 0.5f); // the float sum ends just below 0.5
    EXPECT_EQ(R::ZoomOut(scale), scale);

    scale = 1.0f;
    for (int i = 0; i < 5; ++i)
        scale = R::ZoomIn(scale);
    EXPECT_EQ(R::ZoomText(scale), "150%");
    EXPECT_GT(scale, 1.5f);
    EXPECT_EQ(R::ZoomIn(scale), scale);
    // Back down from the top end passes through the same read-outs.
    QStringList shown;
    for (int i = 0; i < 10; ++i)
        shown << R::ZoomText(scale = R::ZoomOut(scale));
    EXPECT_EQ(shown.join(' '), "140% 130% 120% 110% 100% 90% 80% 70% 60% 50%");
}

TEST(LabelDesignRules, FaceSizeRoundsHalvesToEven)
{
    TLabelGeometry g = TLabelGeometry::NewLayout(); // 2.625 x 1.0 in
    EXPECT_EQ(R::FaceSize(g, 96), QSize(252, 96));
    g.labelWidth = 0.078125f;  // 7.5 px: to 8
    g.labelHeight = 0.015625f; // 1.5 px: to 2
    EXPECT_EQ(R::FaceSize(g, 96), QSize(8, 2));
    g.labelHeight = 0.046875f; // 4.5 px: to 4
    EXPECT_EQ(R::FaceSize(g, 96).height(), 4);
    EXPECT_EQ(R::FaceSize(TLabelGeometry::NewLayout(), 192), QSize(504, 192));
}

TEST(LabelDesignRules, SmallDrawnRectanglesGrowFromTheirCorner)
{
    EXPECT_EQ(R::DrawnRect(QRect(10, 20, 1, 1)), QRect(10, 20, 50, 15));
    EXPECT_EQ(R::DrawnRect(QRect(10, 20, 24, 14)), QRect(10, 20, 50, 15));
    EXPECT_EQ(R::DrawnRect(QRect(10, 20, 25, 15)), QRect(10, 20, 25, 15));
    EXPECT_EQ(R::DrawnRect(QRect(10, 20, 80, 4)), QRect(10, 20, 80, 15));
}

TEST(LabelDesignRules, PostNetNeedsTwoPointEightFiveInches)
{
    TLabelGeometry g = TLabelGeometry::NewLayout();
    EXPECT_FALSE(R::WideEnoughForPostNet(g)); // 2.625 in
    g.labelWidth = 2.85f;
    EXPECT_TRUE(R::WideEnoughForPostNet(g));
    g.labelWidth = 4.0f;
    EXPECT_TRUE(R::WideEnoughForPostNet(g));
    EXPECT_TRUE(R::PostNetToolRefusal().startsWith("This label is not wide enough for a \n"));
    EXPECT_TRUE(R::PostNetRemovedWarning().startsWith("Warning: "));
}

TEST(LabelDesignRules, IntelligentMailNeedsThreeInches)
{
    TLabelGeometry g = TLabelGeometry::NewLayout();
    g.labelWidth = 2.99f; // room for POSTNET, not for the longer barcode
    EXPECT_TRUE(R::WideEnoughForPostNet(g));
    EXPECT_FALSE(R::WideEnoughForImb(g));
    g.labelWidth = 3.0f;
    EXPECT_TRUE(R::WideEnoughForImb(g));
    EXPECT_NE(R::ImbToolRefusal(), R::PostNetToolRefusal());
    EXPECT_TRUE(R::ImbToolRefusal().contains("Intelligent Mail barcode. At least 3.00 inches"));
    EXPECT_TRUE(R::ImbRemovedWarning().startsWith("Warning: "));
}

TEST(LabelDesignRules, ReadOutDividesByThePpiTimesTheZoom)
{
    EXPECT_EQ(R::ReadOut(96, 96, 1.0f), "1.00");
    EXPECT_EQ(R::ReadOut(144, 96, 1.5f), "1.00"); // 1 in at 150 %, not 1.50
    EXPECT_EQ(R::ReadOut(192, 192, 1.0f), "1.00");
    EXPECT_EQ(R::ReadOut(48, 96, 1.0f), "0.50");
}

TEST(LabelDesignRules, ChangeLayoutTakesTheTemplateOrMakesTheLayoutUserDefined)
{
    TLabelGeometry layout = R::NewLabel("BIN00007.L");
    EXPECT_EQ(layout.description, "<New Label>");
    layout.description = "Club members";
    TLabelGeometry t = TLabelGeometry::NewLayout();
    t.templateDescription = "Avery L7160  Address";
    t.labelWidth = 2.5f;
    t.paperSize = "A4";
    t.printer = "IJ";
    t.art = "AV5160.BMP";
    t.midExtraX = 0.1f;
    t.productGroup = "MISCELLANEOUS";
    R::TakeTemplate(layout, t);
    EXPECT_EQ(layout.description, "Club members");
    EXPECT_EQ(layout.layoutFile, "BIN00007.L");
    EXPECT_EQ(layout.templateDescription, "Avery L7160  Address");
    EXPECT_EQ(layout.art, "AV5160.BMP");
    EXPECT_EQ(layout.printer, "IJ");
    EXPECT_FLOAT_EQ(layout.midExtraX, 0.1f);
    EXPECT_FLOAT_EQ(layout.labelWidth, 2.5f);

    TLabelGeometry edited = layout;
    edited.labelWidth = 2.0f;
    edited.shape = "EL";
    edited.paperSize = "USERP";
    R::TakeUserDefined(layout, edited);
    EXPECT_EQ(layout.maker, "USER");
    EXPECT_TRUE(layout.templateDescription.isEmpty());
    EXPECT_TRUE(layout.printer.isEmpty());
    EXPECT_TRUE(layout.art.isEmpty());
    EXPECT_TRUE(layout.productGroup.isEmpty());
    EXPECT_EQ(layout.midExtraX, 0.0f);
    EXPECT_EQ(layout.shape, "EL");
    EXPECT_EQ(layout.paperSize, "USERP");
    EXPECT_FLOAT_EQ(layout.labelWidth, 2.0f);
    EXPECT_EQ(layout.description, "Club members");
}
