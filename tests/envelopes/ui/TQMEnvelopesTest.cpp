// The "Print Envelope" window driven through its controls: the layout list and its enabling, New
// through the size dialog and the designer, Clone and Delete with their questions, the picture,
// and Print/Preview with their messages, scope and status window. Modal dialogs run through the
// window's RunDialog, which each test scripts.

#include "envelopes/ui/TQMEnvelopes.h"

#include "../../support/TFaultInjection.h"
#include "../../support/TPdfFileAnswer.h"
#include "../../support/TScreenshot.h"
#include "../../support/TScriptedResponder.h"
#include "../../support/TTestHome.h"
#include "../../support/TWindowFit.h"
#include "data/TAddressFile.h"
#include "data/TDataSet.h"
#include "data/TSettingsFile.h"
#include "data/ui/THelpWindow.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGDataPanel.h"
#include "design/objects/TGLabelShapes.h"
#include "design/objects/TGMultiLineBaseLabel.h"
#include "design/objects/TMultiLineText.h"
#include "design/text/TDesignUnits.h"
#include "envelopes/TEnvelopeLayoutStore.h"
#include "envelopes/TEnvelopeRecordScope.h"
#include "envelopes/ui/TChooseEnvelopeLayout.h"
#include "envelopes/ui/TEnvelopeDesignScreen.h"
#include "envelopes/ui/TEnvelopeFeed.h"
#include "envelopes/ui/TEnvelopeForm.h"
#include "envelopes/ui/TEnvelopePrePrint.h"
#include "envelopes/ui/TEnvelopeSurface.h"
#include "print/TRPDevice.h"
#include "print/ui/TPreviewForm.h"
#include "xbase/TCursor.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <map>

namespace qm::envelopes {

namespace {

class TQMEnvelopesTest : public ::testing::Test {
protected:
    TQMEnvelopesTest()
    {
        design::TDesignUnits::SetPpiOverride(96);
        design::TGClassRegistry::Instance().RegisterHostKinds(design::TGHostKind::Envelope);
        QDir().mkpath(home.Home().SysDataDir());
        print::TRPDevice::Instance().Reload();
        // Preview and print use the built-in printer; the file every print asks for is out.pdf
        // in the test home.
        pdfAnswer = std::make_unique<test::TPdfFileAnswer>(home.Path("out.pdf"), true);
    }
    ~TQMEnvelopesTest() override
    {
        window.reset();
        pdfAnswer.reset();
        design::TDesignUnits::SetPpiOverride(0);
        print::TRPDevice::Instance().Reload();
    }

    // Records "P001" .. in record order; every seventh carries the deletion mark when asked.
    void OpenAddresses(int count, bool someDeleted = false)
    {
        const QString path = home.Path("ADD0001.DBF");
        ASSERT_EQ(data::TAddressFile::Create(path, {}), QString());
        {
            data::TDataSet ds;
            data::TAddressFile::DeclareFieldObjects(ds);
            ASSERT_TRUE(data::TAddressFile::Open(ds, path).opened);
            for (int i = 1; i <= count; ++i) {
                ds.Append();
                ds.SetAsString("LNAME", QStringLiteral("P%1").arg(i, 3, 10, QChar('0')));
                ds.SetAsString("FNAME", QStringLiteral("Ann"));
                ds.SetAsString("CITY", QStringLiteral("Springfield"));
                ds.SetAsString("ISDEL", someDeleted && i % 7 == 0 ? "T" : "F");
                ds.Post();
            }
        }
        data::TAddressFile::DeclareFieldObjects(addresses);
        ASSERT_TRUE(data::TAddressFile::Open(addresses, path).opened);
        addresses.Cursor().SelectTag("LNAME");
        addresses.Cursor().SetQuery("!ISDEL");
        addresses.First();
    }

    // A saved layout holding one rectangle.
    void AddRow(const QString& description, int code = 20)
    {
        TEnvelopeLayoutStore store;
        ASSERT_EQ(store.Open(home.Home().SysDataDir()), QString());
        TEnvelopeLayout values = store.NewLayout(code);
        values.description = description;
        design::TGDataPanel panel;
        panel.SetSize(912, 396);
        auto shape = std::make_unique<design::TGLabelShapes>();
        shape->SetBounds(10, 10, 100, 50);
        panel.AddObject(std::move(shape));
        QString error;
        ASSERT_GE(store.Save(values, panel, &error), 0) << error.toStdString();
    }

    void Open()
    {
        window = std::make_unique<TQMEnvelopes>(addresses);
        window->RunDialog = [this](QDialog& dialog) { return Script(dialog); };
        window->show();
        QApplication::processEvents();
    }

    // The scripted answers of the modal dialogs.
    int Script(QDialog& dialog)
    {
        opened << dialog.objectName();
        if (auto* sizes = dynamic_cast<TChooseEnvelopeLayout*>(&dialog)) {
            sizeRowAtOpen = sizes->SizeList()->currentRow();
            if (chooseRow < 0)
                return QDialog::Rejected;
            sizes->SizeList()->setCurrentRow(chooseRow);
            return QDialog::Accepted;
        }
        if (auto* designer = dynamic_cast<TEnvelopeDesignScreen*>(&dialog)) {
            designer->show();
            QApplication::processEvents();
            if (design)
                design(*designer);
            return designer->result();
        }
        if (dynamic_cast<TEnvelopePrePrint*>(&dialog))
            return confirmPrint ? QDialog::Accepted : QDialog::Rejected;
        if (dynamic_cast<TEnvelopeForm*>(&dialog))
            return dialog.exec();
        if (auto* preview = dynamic_cast<print::TPreviewForm*>(&dialog)) {
            previewTitle = preview->windowTitle();
            preview->show();
            QApplication::processEvents();
            test::SaveScreenshot(*preview, "preview-envelope");
            previewPages = preview->Preview() ? preview->Preview()->PageCount() : -1;
            preview->close();
            return QDialog::Accepted;
        }
        return dialog.exec();
    }

    // Every file under the test home with its bytes.
    std::map<QString, QByteArray> HomeFiles() const
    {
        std::map<QString, QByteArray> files;
        QDirIterator it(home.Dir(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
            files[file.fileName()] = file.readAll();
        }
        return files;
    }

    QStringList Grid() const
    {
        QStringList rows;
        for (int i = 0; i < window->Grid()->count(); ++i)
            rows << window->Grid()->item(i)->text();
        return rows;
    }

    test::TTestHome home;
    test::TScriptedResponder responder;
    std::unique_ptr<test::TPdfFileAnswer> pdfAnswer;
    data::TDataSet addresses;
    std::unique_ptr<TQMEnvelopes> window;
    QStringList opened;
    int chooseRow = -1;
    int sizeRowAtOpen = -2;
    bool confirmPrint = true;
    std::function<void(TEnvelopeDesignScreen&)> design;
    int previewPages = 0;
    QString previewTitle;
};

} // namespace

TEST_F(TQMEnvelopesTest, AnEmptyTableLeavesOnlyNewAndNewSavesThroughTheDesigner)
{
    OpenAddresses(3);
    Open();
    EXPECT_EQ(window->windowTitle(), "Print Envelope");
    for (QWidget* w : std::initializer_list<QWidget*>{
             window->ModifyButton(), window->CloneButton(), window->PrintButton(),
             window->PreviewButton(), window->DeleteButton(), window->Grid()})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(window->NewButton()->isEnabled());
    EXPECT_TRUE(window->CurrentRecordButton()->isChecked());
    EXPECT_TRUE(window->PrintButton()->isDefault());
    EXPECT_EQ(window->RecordLabel()->text(), "Ann P001\n\nSpringfield");

    // Cancel in the size dialog ends New.
    window->NewButton()->click();
    EXPECT_EQ(opened, QStringList({"TChooseEnvelopeLayout"}));
    EXPECT_EQ(sizeRowAtOpen, 1); // the #10 of the empty table's working values

    chooseRow = 4; // "Envelope #14 5 x 11 1/2 inches"
    design = [](TEnvelopeDesignScreen& designer) {
        EXPECT_EQ(designer.DescriptionEdit()->text(), "<New envelope>");
        EXPECT_EQ(designer.Code(), 23);
        designer.DescriptionEdit()->setText("Big");
        designer.ToolButton(TEnvelopeTool::Rectangle)->click();
        QTest::mousePress(designer.Surface(), Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mouseMove(designer.Surface(), QPoint(80, 50));
        QTest::mouseMove(designer.Surface(), QPoint(150, 90));
        QTest::mouseRelease(designer.Surface(), Qt::LeftButton, {}, QPoint(150, 90));
        designer.SaveButton()->click();
    };
    window->NewButton()->click();
    EXPECT_EQ(Grid(), QStringList({"Big"}));
    EXPECT_TRUE(window->ModifyButton()->isEnabled());
    ASSERT_EQ(window->Store().Rows().size(), 1u);
    EXPECT_EQ(window->Store().Rows()[0].code, 23);
    // 11.5 x 5 in at 96 PPI and 30 %: 331 x 144, plus the outline's pixel.
    EXPECT_EQ(window->PictureImage().deviceIndependentSize().toSize(), QSize(332, 145));
    EXPECT_TRUE(QFile::exists(window->Store().LayoutPath(0)));
    test::SaveScreenshot(*window, "print-envelope");
}

TEST_F(TQMEnvelopesTest, ThePictureFollowsTheSelectedRow)
{
    OpenAddresses(2);
    AddRow("A small one", 31);
    AddRow("Home", 20);
    Open();
    EXPECT_EQ(Grid(), QStringList({"A small one", "Home"}));
    // C6: 6.48 x 4.56 in -> 187 x 131 (186.6 and 131.3 rounded).
    EXPECT_EQ(window->PictureImage().deviceIndependentSize().toSize(), QSize(188, 132));
    window->Grid()->setCurrentRow(1);
    EXPECT_EQ(window->PictureImage().deviceIndependentSize().toSize(),
              QSize(275, 120)); // 273.6 -> 274, 118.8 -> 119
}

TEST_F(TQMEnvelopesTest, CloneOfHomeAndDeleteAskFirst)
{
    OpenAddresses(2);
    AddRow("Home");
    Open();
    responder.QueueAnswer(true);
    window->CloneButton()->click();
    ASSERT_EQ(responder.Messages().size(), 1u);
    EXPECT_EQ(responder.Messages()[0].caption, "CLONE");
    EXPECT_EQ(responder.Messages()[0].text, "Clone \"Home\"?");
    EXPECT_EQ(Grid(), QStringList({"Clone of Home", "Home"}));
    EXPECT_EQ(window->Grid()->currentRow(), 0);
    const QString copy = window->Store().LayoutPath(0);
    const QString original = window->Store().LayoutPath(1);
    EXPECT_NE(copy, original);
    EXPECT_TRUE(QFile::exists(copy));

    responder.QueueAnswer(false);
    window->DeleteButton()->click();
    EXPECT_EQ(responder.Messages().back().caption, "DELETE");
    EXPECT_EQ(responder.Messages().back().text, "Delete \"Clone of Home\"?");
    EXPECT_EQ(Grid().size(), 2);
    responder.QueueAnswer(true);
    window->DeleteButton()->click();
    EXPECT_EQ(Grid(), QStringList({"Home"}));
    EXPECT_FALSE(QFile::exists(copy));
    responder.QueueAnswer(true);
    window->DeleteButton()->click();
    EXPECT_TRUE(Grid().isEmpty());
    EXPECT_FALSE(window->PrintButton()->isEnabled());
    EXPECT_TRUE(window->PictureImage().isNull());
}

TEST_F(TQMEnvelopesTest, CloneAndDeleteTheTableRefusesAreReportedAndTheWindowGoesOn)
{
    // Before, an engine error in Clone or Delete passed through the button's slot and ended the
    // program. Now it is shown, and the list shows what the table holds.
    OpenAddresses(2);
    AddRow("Home");
    test::TFaultInjection faults(0);
    Open();
    const QString home = window->Store().LayoutPath(0);
    const QStringList files = QDir(this->home.Home().SysDataDir()).entryList(QDir::Files);

    // The copy is written (four steps), then the table refuses the new row.
    faults.Engine().SetFailAt(faults.Steps() + 5);
    responder.QueueAnswer(true);
    window->CloneButton()->click();
    ASSERT_FALSE(responder.Messages().empty());
    EXPECT_EQ(responder.Messages().back().caption, "Error");
    EXPECT_EQ(Grid(), QStringList({"Home"}));
    EXPECT_EQ(QDir(this->home.Home().SysDataDir()).entryList(QDir::Files), files)
        << "the copy no row names was left";

    faults.Engine().SetFailAt(faults.Steps() + 1);
    responder.QueueAnswer(true);
    window->DeleteButton()->click();
    EXPECT_EQ(responder.Messages().back().caption, "Error");
    EXPECT_EQ(Grid(), QStringList({"Home"}));
    EXPECT_TRUE(QFile::exists(home));

    faults.Engine().SetFailAt(0);
    responder.QueueAnswer(true);
    window->DeleteButton()->click();
    EXPECT_TRUE(Grid().isEmpty());
    EXPECT_FALSE(QFile::exists(home));
}

TEST_F(TQMEnvelopesTest, OnlyTheCurrentRecordOf500PrintsOneEnvelope)
{
    OpenAddresses(500);
    AddRow("Home");
    Open();
    for (int i = 0; i < 10; ++i)
        window->NextButton()->click();
    const uint32_t recNo = addresses.RecNo();
    EXPECT_EQ(window->RecordLabel()->text(), "Ann P011\n\nSpringfield");
    window->PreviewButton()->click();
    EXPECT_EQ(opened, QStringList({"TEnvelopePrePrint", "TEnvelopeForm", "TPreviewForm"}));
    EXPECT_EQ(previewPages, 1);
    EXPECT_EQ(previewTitle, "Preview Envelope");
    EXPECT_EQ(addresses.RecNo(), recNo);
    EXPECT_EQ(addresses.Cursor().Query(), "!ISDEL");
    EXPECT_TRUE(responder.Messages().empty());
    // The feed the dialog confirmed is stored.
    data::TSettingsFile settings(home.Home().SettingsPath());
    EXPECT_EQ(settings.ReadInteger("Envelope Feed", "Position", -1), 2);
}

TEST_F(TQMEnvelopesTest, AllRecordsFromAnOutOfRangeRecordStartAtTheFirst)
{
    OpenAddresses(20, true); // records 7 and 14 carry the deletion mark
    AddRow("Home");
    addresses.Cursor().SetQuery("");
    addresses.GoTo(7);
    Open();
    window->AllRecordsButton()->click();
    window->StartFromCurrentBox()->click();
    window->PreviewButton()->click();
    ASSERT_EQ(responder.Texts(), QStringList({TEnvelopeRecordScope::OutOfRangeMessage()}));
    EXPECT_EQ(previewPages, 18);
    // Filter and record are given back.
    EXPECT_EQ(addresses.RecNo(), 7u);
    EXPECT_EQ(addresses.Cursor().Query(), "");
}

TEST_F(TQMEnvelopesTest, CancelInTheEnvelopePrintDialogPrintsNothing)
{
    OpenAddresses(5);
    AddRow("Home");
    Open();
    window->AllRecordsButton()->click();
    addresses.GoTo(3);
    const std::map<QString, QByteArray> before = HomeFiles();
    confirmPrint = false;
    window->PrintButton()->click();
    EXPECT_EQ(opened, QStringList({"TEnvelopePrePrint"}));
    // No page went to the printer (the built-in printer's file), no status window ran, and no
    // file in the home changed: neither the feed, the printer nor the barcode counter was stored.
    EXPECT_FALSE(QFile::exists(home.Path("out.pdf")));
    EXPECT_TRUE(responder.Messages().empty());
    const std::map<QString, QByteArray> after = HomeFiles();
    for (const auto& [path, bytes] : after) {
        const auto it = before.find(path);
        EXPECT_TRUE(it != before.end() && it->second == bytes) << "written: " << path.toStdString();
    }
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(addresses.RecNo(), 3u);
    EXPECT_EQ(addresses.Cursor().Query(), "!ISDEL");

    // The same window prints once the dialog is confirmed.
    confirmPrint = true;
    window->PrintButton()->click();
    EXPECT_TRUE(QFile::exists(home.Path("out.pdf")));
}

TEST_F(TQMEnvelopesTest, AMissingLayoutFileIsReportedAndNothingPrints)
{
    OpenAddresses(5);
    AddRow("Home");
    Open();
    ASSERT_TRUE(QFile::remove(window->Store().LayoutPath(0)));
    window->PrintButton()->click();
    EXPECT_EQ(responder.Texts(), QStringList({TEnvelopeLayoutStore::MissingLayoutMessage()}));
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_FALSE(QFile::exists(home.Path("out.pdf")));
}

TEST_F(TQMEnvelopesTest, ARowWithoutAValidSizeRefusesToPrintAndModifyChoosesASizeFirst)
{
    OpenAddresses(5);
    AddRow("Odd", 24);
    Open();
    window->PreviewButton()->click();
    EXPECT_EQ(responder.Texts(),
              QStringList({"This envelope layout has no valid envelope size. Use Modify to "
                           "choose one."}));
    EXPECT_TRUE(opened.isEmpty());

    window->ModifyButton()->click(); // the size dialog is cancelled
    EXPECT_EQ(opened, QStringList({"TChooseEnvelopeLayout"}));
    EXPECT_EQ(sizeRowAtOpen, 0);

    chooseRow = 0; // #9
    design = [](TEnvelopeDesignScreen& designer) {
        EXPECT_EQ(designer.Code(), 19);
        EXPECT_EQ(designer.DescriptionEdit()->text(), "Odd");
        QTest::keyClicks(designer.DescriptionEdit(), "!");
        designer.SaveButton()->click();
    };
    window->ModifyButton()->click();
    EXPECT_EQ(Grid(), QStringList({"Odd!"}));
    EXPECT_EQ(window->Store().Rows()[0].code, 19);
}

TEST_F(TQMEnvelopesTest, CancelInTheDesignerKeepsTheRow)
{
    OpenAddresses(5);
    AddRow("Home");
    Open();
    const QString path = window->Store().LayoutPath(0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    design = [](TEnvelopeDesignScreen& designer) {
        EXPECT_EQ(designer.DescriptionEdit()->text(), "Home");
        QTest::keyClicks(designer.DescriptionEdit(), "x");
        designer.CancelButton()->click(); // the question's default is No: still open
        EXPECT_TRUE(designer.isVisible());
    };
    responder.QueueAnswer(false);
    window->ModifyButton()->click();
    // The scripted designer was left open by No; nothing was saved.
    EXPECT_EQ(Grid(), QStringList({"Home"}));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

} // namespace qm::envelopes

namespace qm::envelopes {

TEST(TEnvelopeHelpTest, EveryEnvelopeWindowHasItsOwnPage)
{
    for (int context : {TQMEnvelopes::kHelpContext, TChooseEnvelopeLayout::kHelpContext,
                        TEnvelopeDesignScreen::kHelpContext, TEnvelopePrePrint::kHelpContext,
                        TEnvelopeFeed::kHelpContext}) {
        const QString page = data::THelpWindow::PageFor(context);
        EXPECT_NE(page, "index.html") << context;
        EXPECT_TRUE(QFile::exists(":/help/" + page)) << page.toStdString();
    }
}

} // namespace qm::envelopes

namespace qm::envelopes {

TEST_F(TQMEnvelopesTest, PrintWritesOneEnvelopePagePerRecordAndKeepsThePrinterSetUp)
{
    OpenAddresses(4, true); // record 7 would be deleted; all four print
    AddRow("Home");
    Open();
    window->AllRecordsButton()->click();
    window->PrintButton()->click();
    EXPECT_EQ(opened, QStringList({"TEnvelopePrePrint", "TEnvelopeForm"}));
    // The file was asked for under the layout's name, and the end of the print names it.
    ASSERT_EQ(pdfAnswer->offered.size(), 1);
    EXPECT_TRUE(pdfAnswer->offered[0].endsWith("/Envelopes - Home.pdf"))
        << pdfAnswer->offered[0].toStdString();
    EXPECT_EQ(responder.Texts(),
              QStringList{"Written to " + QDir::toNativeSeparators(home.Path("out.pdf"))});
    QFile pdf(home.Path("out.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                  bytes.count("/Type /Page>") + bytes.count("/Type /Page "),
              4);
    if (const QByteArray dir = qgetenv("QM_SCREENSHOT_DIR"); !dir.isEmpty())
        QFile::copy(pdf.fileName(), QString::fromLocal8Bit(dir) + "/envelopes.pdf");
    // The stored printer settings name the printer the job used.
    data::TSettingsFile settings(home.Home().SettingsPath());
    EXPECT_FALSE(settings.ReadString("Envelope Printer", "Printer", "").isEmpty());
}

} // namespace qm::envelopes

namespace qm::envelopes {

TEST_F(TQMEnvelopesTest, ASaveThatCannotBeWrittenKeepsTheDesignerOpen)
{
    OpenAddresses(2);
    Open();
    const QString blocked = QDir(home.Home().SysDataDir()).filePath("BIN00001.E");
    chooseRow = 1;
    int shown = 0;
    design = [&](TEnvelopeDesignScreen& designer) {
        ++shown;
        const design::TGBasePanel& panel = designer.Surface()->Panel();
        if (shown == 1) {
            // A folder where the new layout's file goes: the write fails.
            ASSERT_TRUE(QDir().mkdir(blocked));
            designer.DescriptionEdit()->setText("Kept");
            QTest::keyClicks(designer.DescriptionEdit(), "!");
            designer.ZoomInButton()->click();
            designer.ZoomInButton()->click();
        } else {
            // Shown again with the design as it was, at the zoom its read-out shows (it came
            // back at 100 % under "120%"); now the write succeeds.
            EXPECT_EQ(designer.DescriptionEdit()->text(), "Kept!");
            EXPECT_EQ(designer.ZoomLabel()->text(), "120%");
            EXPECT_FLOAT_EQ(panel.Scale(), 1.2f);
            EXPECT_EQ(panel.Width(), 1094) << "912 x 1.2";
            EXPECT_EQ(designer.Surface()->width(), panel.Width() + 1);
            ASSERT_TRUE(QDir().rmdir(blocked));
        }
        designer.SaveButton()->click();
    };
    window->NewButton()->click();
    EXPECT_EQ(shown, 2);
    ASSERT_EQ(responder.Messages().size(), 1u);
    EXPECT_EQ(responder.Messages()[0].caption, "Error");
    EXPECT_EQ(Grid(), QStringList({"Kept!"}));
    EXPECT_TRUE(QFileInfo(blocked).isFile());
}

} // namespace qm::envelopes

namespace qm::envelopes {

// A new address block shows the current record at once, not "<blank>" until a record button.
TEST_F(TQMEnvelopesTest, ANewAddressBlockShowsTheCurrentRecordAtOnce)
{
    OpenAddresses(3);
    AddRow("Home");
    Open();
    QStringList shown;
    design = [&](TEnvelopeDesignScreen& designer) {
        designer.ToolButton(TEnvelopeTool::MailingAddress)->click();
        QTest::mouseClick(designer.Surface(), Qt::LeftButton, {}, QPoint(300, 200));
        QApplication::processEvents();
        const auto& panel = designer.Surface()->Panel();
        ASSERT_EQ(panel.ObjectCount(), 2);
        const auto* block = dynamic_cast<const design::TGMultiLineBaseLabel*>(panel.ObjectAt(1));
        ASSERT_NE(block, nullptr);
        shown = block->Items();
        // Fitted to its lines, as a drawn block is in every designer.
        EXPECT_EQ(block->Height(), design::TMultiLineText::LinePitch(*block) * shown.size());
        designer.CancelButton()->click();
    };
    responder.QueueAnswer(true); // "Discard the changes to this envelope?"
    window->ModifyButton()->click();
    EXPECT_EQ(shown, QStringList({"Ann P001 ", "Springfield  "}));
}

// "Envelope Size" fits a 960 x 540 screen (1080p at 200 %), its buttons inside the window.
TEST(TChooseEnvelopeLayoutTest, FitsA960By540Screen)
{
    std::vector<TEnvelopeSizeEntry> entries;
    for (int code = 1; code <= 40; ++code)
        entries.push_back({QStringLiteral("Size %1 (4 1/8 x 9 1/2 in)").arg(code), code});
    TChooseEnvelopeLayout window(entries, 10);
    window.show();
    QCoreApplication::processEvents();
    EXPECT_LE(window.minimumSizeHint().width(), 960);
    EXPECT_LE(window.minimumSizeHint().height(), 500); // 540 less a title bar
    EXPECT_EQ(qm::test::ControlsOutside(window, QSize(960, 500)), QStringList());
}

} // namespace qm::envelopes
