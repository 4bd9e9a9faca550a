// The shared print status window: captions, the button's three meanings, the final texts.

#include "print/ui/TPrintStatusWindow.h"

#include "TPrintTestSupport.h"
#include "TScriptedResponder.h"
#include "TWindowFit.h"
#include "print/TReportFiler.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace qm::print {
namespace {

class TPrintStatusWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::UseNoPrinter();
        mBuffer.setBuffer(&mBytes);
        mBuffer.open(QIODevice::ReadWrite);
        mFiler.SetStream(&mBuffer);
        mFiler.OnBeforePrint = [](TBaseReport& r) {
            r.SetStatusFormat(QStringLiteral("Preparing Preview Page %p\r%0\r%1"));
            r.StatusText() << QString() << QString();
        };
    }

    void RunWindow(TPrintStatusWindow& window)
    {
        window.show();
        for (int i = 0; i < 50 && !window.Finished(); ++i)
            QTest::qWait(10);
        ASSERT_TRUE(window.Finished());
    }

    QByteArray mBytes;
    QBuffer mBuffer;
    TReportFiler mFiler;
    qm::test::TScriptedResponder mResponder;
};

TEST_F(TPrintStatusWindowTest, PreviewRunsOnShowAndStopsAtTheNextRecord)
{
    TPrintStatusTexts texts;
    texts.previewCanceled = QStringLiteral("\rLabel Preview Canceled!");
    TPrintStatusWindow window(mFiler, TPrintStatusMode::Preview, texts);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Preview Status"));
    EXPECT_EQ(window.CancelButton()->text(), QStringLiteral("Stop"));
    QStringList seen;
    mFiler.OnPrint = [&](TBaseReport& r) {
        for (int record = 1; record <= 100 && !window.StopRequested(); ++record) {
            if (record > 1 && record % 10 == 1)
                r.NewPage();
            r.TextLeft(QStringLiteral("record %1").arg(record), 1);
            seen << window.StatusLabel()->text();
            if (record == 25)
                window.CancelButton()->click();
        }
    };
    RunWindow(window);
    EXPECT_EQ(seen.first(), QStringLiteral("Preparing Preview Page 1\n\n"));
    EXPECT_EQ(seen.size(), 25);
    EXPECT_EQ(window.CancelButton()->text(), QStringLiteral("Ok"));
    EXPECT_EQ(window.StatusLabel()->text(), QStringLiteral("\nPreview Stopped at page 3!"));
    window.CancelButton()->click(); // now it closes
    EXPECT_FALSE(window.isVisible());
}

TEST_F(TPrintStatusWindowTest, FinishedPreviewClosesWhenAsked)
{
    TPrintStatusTexts texts;
    texts.closeAfterPreview = true;
    TPrintStatusWindow window(mFiler, TPrintStatusMode::Preview, texts);
    mFiler.OnPrint = [](TBaseReport& r) { r.TextLeft(QStringLiteral("x"), 1); };
    RunWindow(window);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), int(QDialog::Accepted));
    EXPECT_EQ(mBytes[1], char(1));
}

TEST_F(TPrintStatusWindowTest, CancelAsksAndAbortsOnYes)
{
    // The print mode drives any job; a recorder stands in for the printer here.
    TPrintStatusTexts texts;
    texts.caption = QStringLiteral("Print Status ");
    texts.cancelQuestion = QStringLiteral("Cancel Label Printing?");
    texts.printCanceled = QStringLiteral("\rLabel Print Canceled!");
    TPrintStatusWindow window(mFiler, TPrintStatusMode::Print, texts);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Print Status "));
    EXPECT_EQ(window.CancelButton()->text(), QStringLiteral("Cancel"));
    mResponder.QueueAnswer(false);
    mResponder.QueueAnswer(true);
    int drawn = 0;
    mFiler.OnPrint = [&](TBaseReport& r) {
        for (int record = 1; record <= 10 && !r.Aborted(); ++record) {
            ++drawn;
            if (record == 2 || record == 4)
                window.CancelButton()->click(); // No, then Yes
        }
    };
    RunWindow(window);
    EXPECT_EQ(drawn, 4);
    ASSERT_EQ(mResponder.Messages().size(), 2u);
    EXPECT_EQ(mResponder.Messages()[0].caption, QStringLiteral("CANCEL"));
    EXPECT_EQ(mResponder.Messages()[0].text, QStringLiteral("Cancel Label Printing?"));
    EXPECT_EQ(window.StatusLabel()->text(), QStringLiteral("\nLabel Print Canceled!"));
}

TEST_F(TPrintStatusWindowTest, CompletedPrintSaysSo)
{
    TPrintStatusWindow window(mFiler, TPrintStatusMode::Print, TPrintStatusTexts{});
    mFiler.OnPrint = [](TBaseReport& r) { r.TextLeft(QStringLiteral("x"), 1); };
    RunWindow(window);
    EXPECT_EQ(window.StatusLabel()->text(), QStringLiteral("\nPrint Completed!"));
    EXPECT_TRUE(mResponder.Messages().empty());
}

// The status window fits a 960 x 540 screen (1080p at 200 %).
TEST_F(TPrintStatusWindowTest, FitsA960By540Screen)
{
    TPrintStatusWindow window(mFiler, TPrintStatusMode::Print, TPrintStatusTexts());
    window.show();
    QCoreApplication::processEvents();
    EXPECT_LE(window.minimumSizeHint().width(), 960);
    EXPECT_LE(window.minimumSizeHint().height(), 500); // 540 less a title bar
    EXPECT_EQ(qm::test::ControlsOutside(window, QSize(960, 500)), QStringList());
}

} // namespace
} // namespace qm::print
