// The main window's Print Labels command: the label window gets the records and gives them back.

#include "addressbook/ui/TAddressMain.h"

#include "TLabelPrintFixture.h"
#include "TScreenshot.h"
#include "data/TSettingsFile.h"
#include "labels/ui/TLabelSetupScreen.h"
#include "labels/ui/TSelectSpecificLabels.h"
#include "print/TRPDevice.h"
#include "print/ui/TPreviewForm.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace qm;

namespace {

class PrintLabelsCommandTest : public test::LabelPrintFixture {
protected:
    void SetUp() override
    {
        LabelPrintFixture::SetUp();
        qunsetenv("QUILLMARK_NO_PDF_PRINTER");
        print::TRPDevice::Instance().ReloadWith({});
        data::TSettingsFile settings(mHome.Home().SettingsPath());
        settings.WriteBool("Misc", "GettingStarted", true);
    }

    void Start()
    {
        mWindow = std::make_unique<addressbook::TAddressMain>();
        mWindow->show();
        QTest::qWait(20);
        QCoreApplication::processEvents();
    }

    std::unique_ptr<addressbook::TAddressMain> mWindow;
};

TEST_F(PrintLabelsCommandTest, OpensPrintLabelsAndPutsRecordQueryAndOrderBack)
{
    OpenNumbered(6);
    mDataSet.Close();
    AddLayout(Avery5160());
    Start();
    addressbook::TAddressBook& book = mWindow->Book();
    book.DataSet().GoTo(4);
    const QString query = book.Apollo().Query();
    const int order = book.Apollo().IndexOrd();
    bool seen = false;
    mWindow->SetDialogHook([&](QDialog& dialog) {
        auto* screen = dynamic_cast<labels::TLabelSetupScreen*>(&dialog);
        ASSERT_NE(screen, nullptr);
        seen = true;
        // No filter set: all records, the filter choice unavailable.
        EXPECT_TRUE(screen->AllRecordsChoice()->isChecked());
        EXPECT_FALSE(screen->FilterChoice()->isEnabled());
        EXPECT_TRUE(book.DataSet().ControlsDisabled());
        screen->SetDialogHook([](QDialog& inner) {
            if (auto* select = dynamic_cast<labels::TSelectSpecificLabels*>(&inner))
                QTimer::singleShot(0, select, [select] { select->OkButton()->click(); });
            else if (auto* preview = dynamic_cast<print::TPreviewForm*>(&inner))
                QTimer::singleShot(0, preview, [preview] { preview->OkButton()->click(); });
        });
        QTimer::singleShot(0, screen, [screen] {
            screen->CurrentChoice()->click();
            screen->PreviewButton()->click();
            test::SaveScreenScreenshot("print-labels-from-main-window");
            screen->OkButton()->click();
        });
    });
    mWindow->Action("PrintLabelsItem")->trigger();
    EXPECT_TRUE(seen);
    EXPECT_EQ(book.DataSet().RecNo(), 4u);
    EXPECT_EQ(book.Apollo().Query(), query);
    EXPECT_EQ(book.Apollo().IndexOrd(), order);
    EXPECT_FALSE(book.DataSet().ControlsDisabled());
    EXPECT_TRUE(mResponder.Messages().empty());
}

} // namespace
