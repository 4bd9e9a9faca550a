// The "Create new database" and "Specify Field Lengths" dialogs, driven through their controls.

#include "data/ui/TNewDatabaseDialog.h"
#include "TScreenshot.h"
#include "data/TSettingsFile.h"
#include "data/ui/TFieldLengthsDialog.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace qm::data;

namespace {

class NewDatabaseDialogTest : public ::testing::Test {
protected:
    QTemporaryDir mDir;
    TSettingsFile mSettings{QDir(mDir.path()).filePath("QUILLM.ini")};
};

void TypeInto(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab); // leaving the entry
    emit edit->editingFinished();
}

} // namespace

TEST_F(NewDatabaseDialogTest, OkFollowsTheNameRule)
{
    TNewDatabaseDialog dialog("ADD0002", mSettings);
    dialog.show();
    qm::test::SaveScreenshot(dialog, "new-database");
    EXPECT_EQ(dialog.NameEdit()->text(), "ADD0002");
    EXPECT_TRUE(dialog.OKButton()->isEnabled());
    EXPECT_FALSE(dialog.InvalidLabel()->isVisible());

    dialog.NameEdit()->selectAll();
    QTest::keyClicks(dialog.NameEdit(), "1ABC");
    EXPECT_FALSE(dialog.OKButton()->isEnabled());
    EXPECT_TRUE(dialog.InvalidLabel()->isVisible());
    dialog.NameEdit()->selectAll();
    QTest::keyClicks(dialog.NameEdit(), "AB-C");
    EXPECT_FALSE(dialog.OKButton()->isEnabled());
    dialog.NameEdit()->selectAll();
    QTest::keyClicks(dialog.NameEdit(), "_ABCDEFGHIJ"); // the entry holds eight characters
    EXPECT_EQ(dialog.Name(), "_ABCDEFG");
    EXPECT_TRUE(dialog.OKButton()->isEnabled());
}

TEST_F(NewDatabaseDialogTest, LengthsAreReadFromTheSettingsEachTimeTheDialogOpens)
{
    mSettings.WriteInteger("NewFileFieldLengths", "FieldSTATE", 5);
    TNewDatabaseDialog first("ADD0001", mSettings);
    EXPECT_EQ(first.Lengths().Width("STATE"), 5);
    mSettings.WriteInteger("NewFileFieldLengths", "FieldSTATE", 25);
    TNewDatabaseDialog second("ADD0001", mSettings);
    EXPECT_EQ(second.Lengths().Width("STATE"), 25);
}

TEST_F(NewDatabaseDialogTest, FieldLengthEntriesKeepTheirLastValidValue)
{
    TFieldLengthsDialog dialog(TNewFileFieldLengths(), mSettings);
    dialog.show();
    qm::test::SaveScreenshot(dialog, "field-lengths");
    QLineEdit* org = dialog.Entry("ORG");
    ASSERT_NE(org, nullptr);
    EXPECT_EQ(org->text(), "30");
    TypeInto(org, "9");
    EXPECT_EQ(org->text(), "30");
    TypeInto(org, "45");
    EXPECT_EQ(org->text(), "45");
    TypeInto(org, "x1");
    EXPECT_EQ(org->text(), "45");
    TypeInto(org, "81");
    EXPECT_EQ(org->text(), "45");

    QTest::mouseClick(dialog.DefaultsButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.Entry("ORG")->text(), "30");
    EXPECT_EQ(dialog.Entry("FAX")->text(), "30");
    EXPECT_EQ(dialog.Entry("EMAIL")->text(), "40");
}

TEST_F(NewDatabaseDialogTest, OkTakesTheLengthsAndWritesThemOnlyWhenAskedTo)
{
    {
        TFieldLengthsDialog dialog(TNewFileFieldLengths(), mSettings);
        dialog.show();
        TypeInto(dialog.Entry("ZIP"), "12");
        QTest::mouseClick(dialog.OKButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.Lengths().Width("ZIP"), 12);
        EXPECT_FALSE(mSettings.HasKey("NewFileFieldLengths", "FieldZIP"));
    }
    {
        TFieldLengthsDialog dialog(TNewFileFieldLengths(), mSettings);
        dialog.show();
        TypeInto(dialog.Entry("ZIP"), "14");
        dialog.UseForAllCheck()->setChecked(true);
        QTest::mouseClick(dialog.OKButton(), Qt::LeftButton);
        EXPECT_EQ(mSettings.ReadInteger("NewFileFieldLengths", "FieldZIP", 0), 14);
        EXPECT_EQ(mSettings.ReadInteger("NewFileFieldLengths", "FieldFAX", 0), 40);
    }
}
