#include "envelopes/ui/TEnvelopeTools.h"

#include <gtest/gtest.h>

namespace qm::envelopes {

TEST(TEnvelopeToolsTest, SmallDragsAreWidenedAndHeightened)
{
    EXPECT_EQ(TEnvelopeTools::DroppedRect(QRect(30, 40, 10, 5)), QRect(30, 40, 50, 15));
    EXPECT_EQ(TEnvelopeTools::DroppedRect(QRect(0, 0, 24, 14)), QRect(0, 0, 50, 15));
    // 25 wide and 15 high are kept.
    EXPECT_EQ(TEnvelopeTools::DroppedRect(QRect(0, 0, 25, 15)), QRect(0, 0, 25, 15));
    EXPECT_EQ(TEnvelopeTools::DroppedRect(QRect(5, 5, 200, 60)), QRect(5, 5, 200, 60));
}

TEST(TEnvelopeToolsTest, ThirteenToolsWithTheirHintsAndKinds)
{
    const auto& tools = TEnvelopeTools::Tools();
    ASSERT_EQ(tools.size(), 13u);
    QStringList hints;
    for (const auto& info : tools)
        hints << info.hint;
    EXPECT_EQ(hints, QStringList({"Selection tool", "Text tool", "Multi-line text tool",
                                  "Rectangle tool", "Ellipse tool", "Round Rectangle tool",
                                  "Line Tool", "Clip Art Tool", "Postnet Barcode tool",
                                  "Database Field tool", "Database Mailing Address tool",
                                  "FIM Barcode tool", "Intelligent Mail Barcode tool"}));
    EXPECT_EQ(TEnvelopeTools::Info(TEnvelopeTool::FimBarcode).caption, "FIM");
    EXPECT_TRUE(TEnvelopeTools::Info(TEnvelopeTool::Selection).kind.isEmpty());
    EXPECT_EQ(TEnvelopeTools::ToolFor("TGLabelShapes", design::TGShapeType::stEllipse),
              TEnvelopeTool::Ellipse);
    EXPECT_EQ(TEnvelopeTools::ToolFor("tgpdlabel", std::nullopt), TEnvelopeTool::DatabaseField);
    EXPECT_EQ(TEnvelopeTools::ToolFor("TGCounterLabel", std::nullopt), TEnvelopeTool::Selection);
}

TEST(TEnvelopeToolsTest, IntelligentMailIsRefusedBelowThreeInchesOnly)
{
    EXPECT_TRUE(TEnvelopeTools::Refusal(TEnvelopeTool::ImbBarcode, 9.5).isEmpty());
    EXPECT_TRUE(TEnvelopeTools::Refusal(TEnvelopeTool::ImbBarcode, 3.0).isEmpty());
    EXPECT_TRUE(TEnvelopeTools::Refusal(TEnvelopeTool::ImbBarcode, 2.99)
                    .contains("Intelligent Mail barcode. At least 3.00 inches"));
    EXPECT_TRUE(TEnvelopeTools::Refusal(TEnvelopeTool::PostnetBarcode, 2.0).isEmpty());
    EXPECT_EQ(TEnvelopeTools::ToolFor("TGIMBarCode", std::nullopt), TEnvelopeTool::ImbBarcode);
}

} // namespace qm::envelopes
