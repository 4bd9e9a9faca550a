// "Select Label Template" driven through its lists, check box and grid over the shipped templates.

#include "labels/ui/TSelectLabel.h"
#include "TScreenshot.h"
#include "TScriptedResponder.h"
#include "TTestHome.h"
#include "labels/TLabelTemplates.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace qm::labels;

namespace {

const QString kSysdata = QStringLiteral(QM_BUILD_DIR "/share/quillmark/sysdata");
const QString kEuropeanAveryLaserAddress =
    QStringLiteral(" UPPER(manufac)=\"AVERY\"  and  UPPER(printer)=\"LJ\"  and "
                   " UPPER(PRODTYPE)=\"ADDRESS/SHIPPING LABELS\"  and "
                   " (\"A4\"$UPPER(PAPERSIZE) OR \"A5\"$UPPER(PAPERSIZE))");

class SelectLabelTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(mTemplates.Open(kSysdata), QString()); }

    static TLabelGeometry Layout(const QString& maker, const QString& printer,
                                 const QString& product, const QString& templateDescription)
    {
        TLabelGeometry g = TLabelGeometry::NewLayout();
        g.maker = maker;
        g.printer = printer;
        g.productGroup = product;
        g.templateDescription = templateDescription;
        return g;
    }

    TLabelTemplates mTemplates;
    qm::test::TScriptedResponder mResponder;
};

} // namespace

TEST_F(SelectLabelTest, NewLayoutStandsOnItsOwnTemplate)
{
    TSelectLabel dialog(mTemplates, TLabelGeometry::NewLayout());
    EXPECT_EQ(dialog.windowTitle(), "Select Label Template");
    EXPECT_EQ(dialog.ManufacturerCombo()->currentText(), "Avery Laserjet");
    EXPECT_EQ(dialog.ProductCombo()->currentText(), "Address/Shipping Labels");
    EXPECT_FALSE(dialog.EuropeanCheck()->isChecked());
    EXPECT_EQ(dialog.Expression(), TLabelTemplateFilter(0, 0, false).Expression());
    // "Avery 15160  Address" sorts first; the grid stands on the new layout's own template.
    ASSERT_GT(dialog.Grid()->rowCount(), 1);
    EXPECT_EQ(dialog.Grid()->item(0, 0)->text(), "Avery 15160  Address");
    EXPECT_EQ(dialog.CurrentDescription(), "Avery 5160  Address");
    EXPECT_EQ(dialog.Grid()->item(dialog.Grid()->currentRow(), 0)->text(), "Avery 5160  Address");
    EXPECT_EQ(dialog.Grid()->selectedItems().size(), 1);
    const auto row = mTemplates.Find("Avery 5160  Address");
    ASSERT_TRUE(row);
    EXPECT_EQ(dialog.AcrossEdit()->text(), QString::number(row->across));
    EXPECT_EQ(dialog.HeightEdit()->text(), QString::number(row->labelHeight, 'f', 3));
    EXPECT_TRUE(dialog.HeightEdit()->isReadOnly());
    EXPECT_TRUE(dialog.OKButton()->isEnabled());
    for (int i = 1; i < dialog.Grid()->rowCount(); ++i)
        EXPECT_LE(dialog.Grid()->item(i - 1, 0)->text().toUpper(),
                  dialog.Grid()->item(i, 0)->text().toUpper());
    qm::test::SaveScreenshot(dialog, QStringLiteral("select-label"));

    // OK right away takes that template, not the first row.
    dialog.OKButton()->click();
    ASSERT_TRUE(dialog.Chosen());
    EXPECT_EQ(dialog.Chosen()->templateDescription, "Avery 5160  Address");
}

TEST_F(SelectLabelTest, NewLayoutAfterAnotherTemplateStandsOnThatOne)
{
    // Change Layout already took an inkjet card template for the new label: the lists show it.
    TLabelGeometry g = TLabelGeometry::NewLayout();
    const auto card = mTemplates.Find("Avery 8371  Business Cards");
    ASSERT_TRUE(card);
    g.maker = card->maker;
    g.printer = card->printer;
    g.productGroup = card->productGroup;
    g.templateDescription = card->templateDescription;
    TSelectLabel dialog(mTemplates, g);
    EXPECT_EQ(dialog.CurrentDescription(), "Avery 8371  Business Cards");
}

TEST_F(SelectLabelTest, ExistingLayoutPositionsOnlyOnTheExactDescription)
{
    const TLabelGeometry exact = Layout("AVERY", "LJ", "ADDRESS/SHIPPING LABELS",
                                        "Avery 5160  Address"); // two blanks
    TSelectLabel dialog(mTemplates, exact);
    EXPECT_EQ(dialog.CurrentDescription(), "Avery 5160  Address");
    EXPECT_GT(dialog.Grid()->currentRow(), 0);
    EXPECT_EQ(dialog.AcrossEdit()->text(), "3");
    EXPECT_EQ(dialog.DownEdit()->text(), "10");
    EXPECT_EQ(dialog.WidthEdit()->text(), "2.625");
    EXPECT_EQ(dialog.PaperWidthEdit()->text(), "8.500");
    EXPECT_EQ(dialog.PaperHeightEdit()->text(), "11.000");

    const TLabelGeometry oneBlank =
        Layout("AVERY", "LJ", "ADDRESS/SHIPPING LABELS", "Avery 5160 Address");
    TSelectLabel other(mTemplates, oneBlank);
    EXPECT_EQ(other.Grid()->currentRow(), 0);
    EXPECT_NE(other.CurrentDescription(), "Avery 5160  Address");

    // A user-defined layout is never positioned, even on a description that exists.
    TLabelGeometry user = exact;
    user.maker = "USER";
    TSelectLabel userDialog(mTemplates, user);
    EXPECT_EQ(userDialog.Grid()->currentRow(), 0);
}

TEST_F(SelectLabelTest, ListsFollowTheLayoutsMakerPrinterAndProduct)
{
    TSelectLabel inkjet(mTemplates, Layout("avery", "ij", "card products", "x"));
    EXPECT_EQ(inkjet.ManufacturerCombo()->currentText(), "Avery Inkjet");
    EXPECT_EQ(inkjet.ProductCombo()->currentText(), "Card Products");

    TSelectLabel costar(mTemplates, Layout("COSTAR", "LP", "DISKETTE LABELS", ""));
    EXPECT_EQ(costar.ManufacturerCombo()->currentText(), "Costar LabelPrinter");
    EXPECT_EQ(costar.Expression(), QStringLiteral(" UPPER(manufac)=\"COSTAR\"  and "
                                                  " UPPER(printer)=\"LP\"  and "
                                                  " UPPER(PRODTYPE)=\"DISKETTE LABELS\" "));
    EXPECT_TRUE(costar.Descriptions().contains("Costar 30258  Diskette"));

    // An unknown product group shows "All"; a NEBS layout shows Avery Laserjet, unpositioned.
    TSelectLabel all(mTemplates, Layout("AVERY", "LJ", "POSTERS", "Avery 5160  Address"));
    EXPECT_EQ(all.ProductCombo()->currentText(), "All");
    EXPECT_EQ(all.CurrentDescription(), "Avery 5160  Address");
    TSelectLabel nebs(mTemplates, Layout("NEBS", "DM", "ADDRESS/SHIPPING LABELS", "x"));
    EXPECT_EQ(nebs.ManufacturerCombo()->currentText(), "Avery Laserjet");
    EXPECT_EQ(nebs.Grid()->currentRow(), 0);
}

TEST_F(SelectLabelTest, EveryChoiceRebuildsTheFilterAndTheCountEnablesOkAndGrid)
{
    TSelectLabel dialog(mTemplates, TLabelGeometry::NewLayout());
    dialog.EuropeanCheck()->click();
    EXPECT_EQ(dialog.Expression(), kEuropeanAveryLaserAddress);
    EXPECT_TRUE(dialog.Descriptions().contains("Avery L7166  Parcel"));
    EXPECT_FALSE(dialog.Descriptions().contains("Avery 5160  Address"));
    EXPECT_EQ(dialog.Grid()->rowCount(), dialog.Descriptions().size());

    // Costar label printers make no European sheets: nothing matches.
    dialog.ManufacturerCombo()->setCurrentIndex(3);
    EXPECT_TRUE(dialog.Descriptions().isEmpty());
    EXPECT_EQ(dialog.Grid()->rowCount(), 0);
    EXPECT_FALSE(dialog.OKButton()->isEnabled());
    EXPECT_FALSE(dialog.Grid()->isEnabled());
    EXPECT_TRUE(dialog.AcrossEdit()->text().isEmpty());

    dialog.EuropeanCheck()->click();
    EXPECT_FALSE(dialog.Descriptions().isEmpty());
    EXPECT_TRUE(dialog.OKButton()->isEnabled());
    EXPECT_TRUE(dialog.Grid()->isEnabled());
    EXPECT_EQ(dialog.Grid()->currentRow(), 0);

    dialog.ProductCombo()->setCurrentIndex(TLabelTemplateFilter::AllProductsItem());
    EXPECT_EQ(dialog.Expression(),
              QStringLiteral(" UPPER(manufac)=\"COSTAR\"  and  UPPER(printer)=\"LP\" "));
    EXPECT_TRUE(dialog.Descriptions().contains("Costar 30374  Appointment Cards"));
}

TEST_F(SelectLabelTest, OkHandsBackTheChosenTemplateRow)
{
    TSelectLabel dialog(mTemplates, TLabelGeometry::NewLayout());
    dialog.ProductCombo()->setCurrentIndex(5); // Miscellaneous
    const int row = static_cast<int>(
        dialog.Descriptions().indexOf("Avery 89101  Binder Spine Inserts, For 0.5 Inch Binders"));
    ASSERT_GE(row, 0);
    QTest::mouseClick(dialog.Grid()->viewport(), Qt::LeftButton, {},
                      dialog.Grid()->visualItemRect(dialog.Grid()->item(row, 0)).center());
    dialog.Grid()->setCurrentCell(row, 0); // the row may lie below the visible part
    EXPECT_EQ(dialog.AcrossEdit()->text(), "16");
    dialog.OKButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(dialog.Chosen());
    EXPECT_EQ(dialog.Chosen()->templateDescription,
              "Avery 89101  Binder Spine Inserts, For 0.5 Inch Binders");
    EXPECT_EQ(dialog.Chosen()->across, 16);
    EXPECT_EQ(dialog.Chosen()->shape, "SR");
    EXPECT_EQ(dialog.Chosen()->productGroup, "MISCELLANEOUS");
    EXPECT_TRUE(mResponder.Texts().isEmpty());
}

TEST_F(SelectLabelTest, CancelAndEscapeChooseNothing)
{
    TSelectLabel dialog(mTemplates, TLabelGeometry::NewLayout());
    dialog.CancelButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.Chosen());

    TSelectLabel second(mTemplates, TLabelGeometry::NewLayout());
    second.show();
    QTest::keyClick(&second, Qt::Key_Escape);
    EXPECT_FALSE(second.isVisible());
    EXPECT_FALSE(second.Chosen());
}

TEST_F(SelectLabelTest, ChooseOpensTheHomesTemplatesAndReportsAMissingTable)
{
    qm::test::TTestHome home; // no sysdata/LBLTPL.DBF
    EXPECT_FALSE(TSelectLabel::Choose(TLabelGeometry::NewLayout(), nullptr));
    EXPECT_EQ(mResponder.Texts(), QStringList{"Unable to Open LBLTPL.DBF"});

    home.Home().Prepare(QStringLiteral(QM_BUILD_DIR "/share/quillmark"));
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QPushButton*>("OKButton")->click();
    });
    const auto chosen = TSelectLabel::Choose(TLabelGeometry::NewLayout(), nullptr);
    ASSERT_TRUE(chosen);
    EXPECT_FALSE(chosen->templateDescription.isEmpty());
    EXPECT_EQ(chosen->maker, "AVERY");
}
