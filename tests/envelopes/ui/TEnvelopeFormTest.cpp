// The envelope print status window: a job that fails part way shows its error and counts as
// failed, so that the caller neither previews half a job nor moves the barcode counter on.

#include "envelopes/ui/TEnvelopeForm.h"

#include "../../support/TScriptedResponder.h"
#include "data/TAddressFile.h"
#include "data/TDataSet.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGGraphicControl.h"
#include "design/text/TDesignUnits.h"
#include "print/TRPDevice.h"
#include "print/TReportFiler.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

namespace qm::envelopes {
namespace {

// Prints the first envelope and fails on the second.
class TFailingObject : public design::TGGraphicControl {
public:
    QByteArray ClassName() const override { return "TFailingObject"; }
    void PrintObject(print::TBaseReport& canvas, double x, double) override
    {
        if (++mPrinted == 2)
            throw std::runtime_error("the printer went away");
        canvas.TextLeft(QStringLiteral("envelope"), x + 0.5);
    }

private:
    int mPrinted = 0;
};

class TEnvelopeFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        design::TDesignUnits::SetPpiOverride(96);
        qputenv("QUILLMARK_NO_PDF_PRINTER", "1");
        print::TRPDevice::Instance().ReloadWith({});
        const QString path = QDir(mDir.path()).filePath("ADD0001.DBF");
        ASSERT_EQ(data::TAddressFile::Create(path, {}), QString());
        data::TAddressFile::DeclareFieldObjects(mDataSet);
        ASSERT_TRUE(data::TAddressFile::Open(mDataSet, path).opened);
        for (int i = 0; i < 3; ++i) {
            mDataSet.Append();
            mDataSet.SetAsString("LNAME", QStringLiteral("P%1").arg(i));
            mDataSet.Post();
        }
        mDataSet.First();
        mPanel.SetDataSet(&mDataSet);
    }
    void TearDown() override
    {
        design::TDesignUnits::SetPpiOverride(0);
        qunsetenv("QUILLMARK_NO_PDF_PRINTER");
        print::TRPDevice::Instance().Reload();
    }

    // Runs one print job under the window; true when the window says it failed.
    bool RunFailed(bool& finished)
    {
        TEnvelopeRun run(mPanel, mDataSet, {9500, 4125}, TEnvelopeFeedMethod{});
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadWrite);
        print::TReportFiler filer;
        filer.SetStream(&buffer);
        TEnvelopeForm form(run, filer, print::TPrintStatusMode::Print);
        form.exec(); // the window closes itself once the job has ended
        finished = form.Finished();
        return form.Failed();
    }

    QTemporaryDir mDir;
    data::TDataSet mDataSet;
    design::TGDataPanel mPanel;
    test::TScriptedResponder mResponder;
};

TEST_F(TEnvelopeFormTest, AJobThatCompletesHasNotFailed)
{
    bool finished = false;
    EXPECT_FALSE(RunFailed(finished));
    EXPECT_TRUE(finished);
    EXPECT_TRUE(mResponder.Texts().isEmpty());
}

TEST_F(TEnvelopeFormTest, AJobThatFailsPartWayShowsItsErrorAndHasFailed)
{
    mPanel.AddObject(std::make_unique<TFailingObject>());
    bool finished = false;
    EXPECT_TRUE(RunFailed(finished));
    EXPECT_TRUE(finished);
    EXPECT_EQ(mResponder.Texts(), QStringList{"the printer went away"});
}

} // namespace
} // namespace qm::envelopes
