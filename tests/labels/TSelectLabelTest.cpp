// "Select Label Template" driven through its lists, check box and grid over the shipped templates.

#include "labels/ui/TSelectLabel.h"
#include "TScreenshot.h"
#include "TScriptedResponder.h"
#include "TTestHome.h"
#include "TWindowFit.h"
#include "labels/TLabelTemplates.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
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

    // Damaged own sheets are reported once; the shipped ones are still offered.
    {
        QFile damaged(home.Path("sysdata/LBLUSER.DBF"));
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write("\x03 this is not a table");
    }
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QPushButton*>("OKButton")->click();
    });
    EXPECT_TRUE(TSelectLabel::Choose(TLabelGeometry::NewLayout(), nullptr));
    ASSERT_EQ(mResponder.Texts().size(), 2);
    EXPECT_TRUE(
        mResponder.Texts().back().startsWith("Your own label sheets (LBLUSER.DBF) cannot be read"))
        << mResponder.Texts().back().toStdString();
}

TEST_F(SelectLabelTest, TheFindBoxNarrowsAsTheProductNumberIsTyped)
{
    TSelectLabel dialog(mTemplates, TLabelGeometry::NewLayout());
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    const QString expression = dialog.Expression();
    const int all = dialog.Grid()->rowCount();
    dialog.FindEdit()->setFocus();
    const int counts[] = {0, 0, 0, 3};
    int typed = 0;
    for (const char key : QByteArray("5160")) {
        QTest::keyClick(dialog.FindEdit(), key);
        EXPECT_LT(dialog.Grid()->rowCount(), all);
        if (counts[typed] > 0) {
            EXPECT_EQ(dialog.Grid()->rowCount(), counts[typed]);
        }
        ++typed;
        EXPECT_EQ(dialog.Grid()->rowCount(), dialog.Descriptions().size());
    }
    // The filter of the lists stays what it was; the find box narrows what it lets through.
    EXPECT_EQ(dialog.Expression(), expression);
    EXPECT_EQ(dialog.Descriptions(),
              (QStringList{"Avery 15160  Address", "Avery 25160  Address", "Avery 5160  Address"}));
    // It stands on the sheet whose number was typed, not on the first row holding it.
    EXPECT_EQ(dialog.CurrentDescription(), "Avery 5160  Address");
    EXPECT_EQ(dialog.WidthEdit()->text(), "2.625");
    qm::test::SaveScreenshot(dialog, QStringLiteral("select-label-find"));

    // The list's keys work from the find box; Enter takes the row.
    QTest::keyClick(dialog.FindEdit(), Qt::Key_Up);
    EXPECT_EQ(dialog.CurrentDescription(), "Avery 25160  Address");
    QTest::keyClick(dialog.FindEdit(), Qt::Key_Down);
    EXPECT_EQ(dialog.CurrentDescription(), "Avery 5160  Address");
    EXPECT_TRUE(dialog.FindEdit()->hasFocus());
    QTest::keyClick(dialog.FindEdit(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(dialog.Chosen());
    EXPECT_EQ(dialog.Chosen()->templateDescription, "Avery 5160  Address");
}

TEST_F(SelectLabelTest, NoMatchDisablesOkAndTypingInTheListGoesToTheFindBox)
{
    TSelectLabel dialog(mTemplates, TLabelGeometry::NewLayout());
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.Grid()->setFocus();
    QTest::keyClicks(dialog.Grid(), "no such");
    EXPECT_EQ(dialog.FindEdit()->text(), "no such");
    EXPECT_TRUE(dialog.FindEdit()->hasFocus());
    EXPECT_EQ(dialog.Grid()->rowCount(), 0);
    EXPECT_FALSE(dialog.OKButton()->isEnabled());
    EXPECT_FALSE(dialog.Grid()->isEnabled());
    EXPECT_TRUE(dialog.AcrossEdit()->text().isEmpty());
    QTest::keyClick(dialog.FindEdit(), Qt::Key_Down); // nothing to move to
    QTest::keyClick(dialog.FindEdit(), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());

    dialog.FindEdit()->clear();
    EXPECT_TRUE(dialog.OKButton()->isEnabled());
    EXPECT_EQ(dialog.Grid()->currentRow(), 0);
    // A choice in the lists keeps the words typed.
    dialog.FindEdit()->setText("l71");
    dialog.EuropeanCheck()->click();
    EXPECT_EQ(dialog.FindEdit()->text(), "l71");
    EXPECT_EQ(dialog.CurrentDescription(), "Avery L7160  Mailing");
    for (const QString& d : dialog.Descriptions())
        EXPECT_TRUE(d.contains("L71", Qt::CaseInsensitive)) << d.toStdString();
}

TEST_F(SelectLabelTest, EveryMakerHasAnItemAndAllManufacturersListsTheWholeTable)
{
    TSelectLabel dialog(mTemplates, TLabelGeometry::NewLayout());
    QStringList items;
    for (int i = 0; i < dialog.ManufacturerCombo()->count(); ++i)
        items << dialog.ManufacturerCombo()->itemText(i);
    EXPECT_EQ(items.mid(0, 5), (QStringList{"Avery Laserjet", "Avery Inkjet", "Avery Dot Matrix",
                                            "Costar LabelPrinter", "Agipa"}));
    EXPECT_EQ(items.back(), "All Manufacturers");
    EXPECT_TRUE(items.contains("Herma"));
    EXPECT_TRUE(items.contains("OnlineLbls"));
    EXPECT_EQ(items.size(), 4 + 51 + 1); // the 53 makers but Avery and Costar

    dialog.ManufacturerCombo()->setCurrentText("Herma");
    EXPECT_EQ(dialog.Expression(),
              " UPPER(manufac)=\"HERMA\"  and  UPPER(PRODTYPE)=\"ADDRESS/SHIPPING LABELS\" ");
    EXPECT_FALSE(dialog.Descriptions().isEmpty());
    for (const QString& d : dialog.Descriptions())
        EXPECT_TRUE(d.startsWith("Herma ")) << d.toStdString();

    dialog.ManufacturerCombo()->setCurrentText("All Manufacturers");
    dialog.ProductCombo()->setCurrentIndex(TLabelTemplateFilter::AllProductsItem());
    EXPECT_EQ(dialog.Expression(), "");
    EXPECT_EQ(dialog.Descriptions().size(), 1544);
    QTest::keyClicks(dialog.FindEdit(), "zweckform 3474");
    EXPECT_EQ(dialog.Descriptions(), QStringList{"Zweckform 3474  Address"});
    EXPECT_EQ(dialog.PaperWidthEdit()->text(), "8.268");

    // An equivalent product number is found through its own row, with its sheet's geometry.
    dialog.FindEdit()->clear();
    QTest::keyClicks(dialog.FindEdit(), "8160");
    EXPECT_EQ(dialog.CurrentDescription(), "Avery 8160  Address");
    EXPECT_EQ(dialog.WidthEdit()->text(), "2.625");
    EXPECT_EQ(dialog.DownEdit()->text(), "10");
}

TEST_F(SelectLabelTest, ALayoutOfAnotherMakerOpensOnItsTemplate)
{
    const TLabelGeometry herma =
        Layout("Herma", "LJ", "FILE FOLDER LABELS", "Herma 5090  Arch File Labels (small)");
    TSelectLabel dialog(mTemplates, herma);
    EXPECT_EQ(dialog.ManufacturerCombo()->currentText(), "Herma");
    EXPECT_EQ(dialog.ProductCombo()->currentText(), "File Folder Labels");
    EXPECT_EQ(dialog.CurrentDescription(), "Herma 5090  Arch File Labels (small)");
    EXPECT_EQ(dialog.DownEdit()->text(), "6");
}

TEST_F(SelectLabelTest, ImportLabelSheetsAddsTheUsersOwnMarkedInTheList)
{
    qm::test::TTestHome home;
    home.Home().Prepare(QStringLiteral(QM_BUILD_DIR "/share/quillmark"));
    TLabelTemplates templates;
    ASSERT_EQ(templates.Open(home.Home().SysDataDir()), QString());
    const QString file = home.Path("mine-templates.xml");
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(R"(<Glabels-templates>
          <Template brand="Mylabels" part="M-21" size="A4" _description="Address labels">
            <Label-rectangle id="0" width="70mm" height="42.3mm" round="0">
              <Layout nx="3" ny="7" x0="0" y0="0" dx="70mm" dy="42.3mm"/>
            </Label-rectangle>
          </Template>
          <Template brand="Mylabels" part="M-22" equiv="M-21"/>
        </Glabels-templates>)");
    }
    TSelectLabel dialog(templates, TLabelGeometry::NewLayout());
    dialog.show();
    EXPECT_FALSE(dialog.ManufacturerCombo()->findText("Mylabels") >= 0);
    QString asked;
    dialog.SetFileChooser([&] { return asked = file; });
    QTest::mouseClick(dialog.ImportButton(), Qt::LeftButton);
    EXPECT_EQ(asked, file);
    EXPECT_EQ(mResponder.Texts(),
              QStringList{"From \"mine-templates.xml\": 2 label sheets added."});
    // The lists show the imported sheets, the first one current, marked as the user's own.
    EXPECT_EQ(dialog.ManufacturerCombo()->currentText(), "Mylabels");
    EXPECT_EQ(dialog.ProductCombo()->currentText(), "All");
    EXPECT_EQ(dialog.Descriptions(),
              (QStringList{"Mylabels M-21  Address", "Mylabels M-22  Address"}));
    EXPECT_EQ(dialog.CurrentDescription(), "Mylabels M-21  Address");
    ASSERT_NE(dialog.Grid()->item(0, 1), nullptr);
    EXPECT_EQ(dialog.Grid()->item(0, 1)->text(), "Your own");
    EXPECT_TRUE(dialog.IsOwn(1));
    EXPECT_EQ(dialog.AcrossEdit()->text(), "3");
    qm::test::SaveScreenshot(dialog, QStringLiteral("select-label-own"));

    // A shipped row has no mark.
    dialog.ManufacturerCombo()->setCurrentText("Avery Laserjet");
    EXPECT_EQ(dialog.Grid()->item(0, 1), nullptr);
    EXPECT_FALSE(dialog.IsOwn(0));

    // A file that is no template file adds nothing and says why; the lists stay.
    dialog.SetFileChooser([&] { return home.Path("QUILLM.ini"); });
    QFile(home.Path("QUILLM.ini")).open(QIODevice::WriteOnly);
    dialog.ImportButton()->click();
    EXPECT_EQ(mResponder.Texts().back(),
              "Nothing was imported from \"QUILLM.ini\": it is empty or not XML.");
    EXPECT_EQ(dialog.ManufacturerCombo()->currentText(), "Avery Laserjet");

    dialog.SetFileChooser([] { return QString(); }); // the file dialog cancelled
    const qsizetype messages = mResponder.Texts().size();
    dialog.ImportButton()->click();
    EXPECT_EQ(mResponder.Texts().size(), messages);

    dialog.ManufacturerCombo()->setCurrentText("Mylabels");
    dialog.ProductCombo()->setCurrentIndex(TLabelTemplateFilter::AllProductsItem());
    dialog.Grid()->setCurrentCell(1, 0);
    dialog.OKButton()->click();
    ASSERT_TRUE(dialog.Chosen());
    EXPECT_EQ(dialog.Chosen()->templateDescription, "Mylabels M-22  Address");
    EXPECT_EQ(dialog.Chosen()->maker, "Mylabels");
    EXPECT_FLOAT_EQ(dialog.Chosen()->labelWidth, 2.756f);
}

TEST_F(SelectLabelTest, KeysWorkFromEveryControl)
{
    const TLabelGeometry layout =
        Layout("AVERY", "LJ", "ADDRESS/SHIPPING LABELS", "Avery 5160  Address");
    const QList<Qt::Key> keys = {Qt::Key_Down,      Qt::Key_Up,     Qt::Key_PageDown,
                                 Qt::Key_End,       Qt::Key_Home,   Qt::Key_Left,
                                 Qt::Key_Right,     Qt::Key_Insert, Qt::Key_Delete,
                                 Qt::Key_Backspace, Qt::Key_X,      Qt::Key_5};
    TSelectLabel probe(mTemplates, layout);
    QStringList names;
    for (QWidget* w : probe.findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus && !w->objectName().isEmpty() &&
            w->objectName() != "OKButton" && w->objectName() != "CancelButton" &&
            w->objectName() != "HelpButton" && w->objectName() != "ImportButton")
            names << w->objectName();
    EXPECT_TRUE(names.contains("FindEdit"));
    EXPECT_TRUE(names.contains("TemplateGrid"));
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        TSelectLabel dialog(mTemplates, layout);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QWidget* control = dialog.findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr);
        control->setFocus();
        for (Qt::Key key : keys)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : control,
                            key);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.Grid()->rowCount(), dialog.Descriptions().size());
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &dialog,
                        Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_FALSE(dialog.Chosen());
    }
}

// The picker fits a 960 x 540 screen (1080p at 200 %), its find box and buttons inside it.
TEST_F(SelectLabelTest, FitsA960By540Screen)
{
    TSelectLabel window(mTemplates, TLabelGeometry::NewLayout());
    window.show();
    QCoreApplication::processEvents();
    EXPECT_LE(window.minimumSizeHint().width(), 960);
    EXPECT_LE(window.minimumSizeHint().height(), 500); // 540 less a title bar
    EXPECT_EQ(qm::test::ControlsOutside(window, QSize(960, 500)), QStringList());
}
