// The Intelligent Mail dialogs: the settings dialog refuses each bad value by name and writes the
// section only after Ok; the properties dialog gives an object its values and is what the kind's
// menu entry opens. Screenshots at the current scale when QM_SCREENSHOT_DIR is set.

#include "design/ui/TImbPropertiesDialog.h"
#include "design/ui/TImbSettingsDialog.h"

#include "TScreenshot.h"
#include "TScriptedResponder.h"
#include "TTestHome.h"
#include "data/TAddressFile.h"
#include "data/TCalculatedFields.h"
#include "data/TDataSet.h"
#include "data/TSettingsFile.h"
#include "design/core/TFieldPickList.h"
#include "design/core/TGBasePanel.h"
#include "design/objects/TGIMBarCode.h"
#include "design/ui/TDesignDialogButtons.h"
#include "design/ui/TGKindMenus.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace qm::design {
namespace {

TEST(TImbSettingsDialogTest, OkRefusesEachBadValueByNameAndStaysOpen)
{
    qm::test::TScriptedResponder responder;
    TImbSettingsDialog dialog(TImbSettings{});
    dialog.show();
    dialog.ServiceTypeEdit()->setText("300");
    dialog.MailerIdEdit()->setText("123456");
    const std::pair<QLineEdit*, QString> bad[] = {
        {dialog.BarcodeIdEdit(), "07"},   {dialog.ServiceTypeEdit(), "3O0"},
        {dialog.MailerIdEdit(), "12345"}, {dialog.MailerIdEdit(), "912345"},
        {dialog.NextSerialEdit(), "12a"},
    };
    for (const auto& [edit, text] : bad) {
        const QString good = edit->text();
        edit->setText(text);
        dialog.Buttons()->OkButton()->click();
        ASSERT_FALSE(responder.Texts().isEmpty()) << text.toStdString();
        EXPECT_TRUE(responder.Texts().back().contains(text))
            << responder.Texts().back().toStdString();
        EXPECT_TRUE(dialog.isVisible());
        edit->setText(good);
    }
    // A serial wider than the nine-digit mailer identifier leaves room for.
    dialog.MailerIdEdit()->setText("901234567");
    dialog.NextSerialEdit()->setText("1000000");
    dialog.Buttons()->OkButton()->click();
    EXPECT_TRUE(responder.Texts().back().contains("6 digits"));
    EXPECT_TRUE(dialog.isVisible());
    qm::test::SaveScreenshot(dialog, QStringLiteral("imb-settings-dialog"));
    dialog.NextSerialEdit()->setText("999999");
    dialog.Buttons()->OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Settings().nextSerial, 999999);
    EXPECT_EQ(dialog.Settings().mailerId, "901234567");
}

TEST(TImbSettingsDialogTest, EditWritesTheSectionOnlyAfterOk)
{
    qm::test::TTestHome home;
    qm::test::TScriptedResponder responder;
    data::TSettingsFile settings(home.Home().SettingsPath());
    settings.WriteString("Intelligent Mail", "NextSerial", "41");
    auto answer = [](bool ok) {
        QTimer::singleShot(0, [ok] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            auto* d = static_cast<TImbSettingsDialog*>(dialog);
            EXPECT_EQ(d->NextSerialEdit()->text(), "41");
            d->ServiceTypeEdit()->setText("040");
            d->MailerIdEdit()->setText("123456");
            (ok ? d->Buttons()->OkButton() : d->Buttons()->CancelButton())->click();
        });
    };
    answer(false);
    EXPECT_FALSE(TImbSettingsDialog::Edit(settings, nullptr));
    EXPECT_FALSE(settings.HasKey("Intelligent Mail", "MailerId"));
    answer(true);
    EXPECT_TRUE(TImbSettingsDialog::Edit(settings, nullptr));
    const TImbSettings stored = TImbSettings::Read(settings);
    EXPECT_EQ(stored.serviceType, "040");
    EXPECT_EQ(stored.mailerId, "123456");
    EXPECT_EQ(stored.nextSerial, 41);
    EXPECT_TRUE(responder.Texts().isEmpty());
}

TEST(TImbPropertiesDialogTest, GivesTheObjectItsValuesAndRefusesABadOne)
{
    qm::test::TScriptedResponder responder;
    TGIMBarCode code;
    TImbSettings parts;
    parts.serviceType = QStringLiteral("300");
    parts.mailerId = QStringLiteral("123456");
    code.ConfigureDrawn(parts);
    TImbPropertiesDialog dialog(code, nullptr);
    dialog.show();
    EXPECT_EQ(dialog.ZipFieldBox()->currentText(), "ZIP");
    EXPECT_TRUE(dialog.CounterButton()->isChecked());
    qm::test::SaveScreenshot(dialog, QStringLiteral("imb-properties-dialog"));
    dialog.MailerIdEdit()->setText("1234567");
    dialog.Buttons()->OkButton()->click();
    ASSERT_EQ(responder.Texts().size(), 1);
    EXPECT_TRUE(responder.Texts()[0].contains("1234567"));
    EXPECT_TRUE(dialog.isVisible());
    dialog.MailerIdEdit()->setText("901234567");
    dialog.AddressFieldBox()->setCurrentText("STREET2");
    dialog.RecordNumberButton()->setChecked(true);
    dialog.Buttons()->OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    dialog.Apply(code);
    EXPECT_EQ(code.MailerId(), "901234567");
    EXPECT_EQ(code.AddressField(), "STREET2");
    EXPECT_EQ(code.SerialSource(), TImbSerialSource::ssRecordNumber);
}

// The field lists offer the record's character fields by name, as the POSTNET barcode reads
// them: no memo, no deletion flag, no calculated field.
TEST(TImbPropertiesDialogTest, FieldListsOfferTheCharacterFields)
{
    qm::test::TTestHome home;
    const QString path = home.Path("ADD0001.DBF");
    ASSERT_EQ(data::TAddressFile::Create(path, {}), QString());
    data::TDataSet addresses;
    data::TAddressFile::DeclareFieldObjects(addresses);
    const QString tag = QStringLiteral("ABC");
    const bool withNames = true;
    data::TCalculatedFields::Install(addresses, &tag, &withNames);
    ASSERT_TRUE(data::TAddressFile::Open(addresses, path).opened);

    TGIMBarCode code;
    code.ConfigureDrawn(TImbSettings());
    TImbPropertiesDialog dialog(code, &addresses);
    for (QComboBox* box : {dialog.ZipFieldBox(), dialog.AddressFieldBox()}) {
        QStringList offered;
        for (int i = 0; i < box->count(); ++i)
            offered << box->itemText(i);
        EXPECT_EQ(offered, TFieldPickList::CharacterFieldNames(addresses));
        for (const char* name : {"ZIP", "STREET", "STREET2", "CITY", "LNAME", "COUNTRY"})
            EXPECT_TRUE(offered.contains(QLatin1String(name))) << name;
        for (const char* name : {"MEMO", "ISDEL", "Tagged", "DisplayDate", "FullName", "TAG"})
            EXPECT_FALSE(offered.contains(QLatin1String(name))) << name;
    }
    EXPECT_EQ(dialog.ZipFieldBox()->currentText(), "ZIP");
    EXPECT_EQ(dialog.AddressFieldBox()->currentText(), "STREET");
}

TEST(TImbPropertiesDialogTest, TheObjectMenuOffersTheProperties)
{
    TGBasePanel panel;
    auto* code = static_cast<TGIMBarCode*>(panel.AddObject(std::make_unique<TGIMBarCode>()));
    EXPECT_TRUE(TGKindMenus::HasProperties(*code));
    QMenu menu;
    TGKindMenus::AddEntries(menu, *code, nullptr);
    QStringList texts;
    for (const QAction* a : menu.actions())
        texts << a->text();
    EXPECT_TRUE(texts.contains("Barcode Properties...")) << texts.join('|').toStdString();
}

} // namespace
} // namespace qm::design
