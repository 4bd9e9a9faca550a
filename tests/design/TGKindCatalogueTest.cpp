// The kind catalogue: one entry per kind the hosts register, and the starting settings of an
// object drawn with a tool, applied the same way for every host.

#include "design/objects/TGKindCatalogue.h"

#include "TShapeFixture.h"
#include "design/objects/TGCounterLabel.h"
#include "design/objects/TGDMultiLineLabel.h"
#include "design/objects/TGDateTimeLabel.h"
#include "design/objects/TGLabelShapes.h"
#include "design/objects/TGPDLabel.h"
#include "design/objects/TGPLabel.h"
#include "design/objects/TGPostNetBarCode.h"
#include "design/objects/TGSymbolLabel.h"
#include "print/TBaseReport.h"

#include <QSet>

namespace qm::design {
namespace {

TGFont PanelFont()
{
    TGFont font;
    font.SetName(QStringLiteral("Times New Roman"));
    font.SetPointSize(14);
    return font;
}

template <class T> std::unique_ptr<T> Drawn()
{
    const TGKind* kind = TGKindCatalogue::Find(T::kClassName);
    EXPECT_NE(kind, nullptr) << T::kClassName;
    std::unique_ptr<TGGraphicControl> object = kind->make();
    object->AfterCreate();
    TGKindCatalogue::ApplyDrawnSettings(*object, PanelFont());
    return std::unique_ptr<T>(static_cast<T*>(object.release()));
}

TEST(TGKindCatalogueTest, EveryKindAHostRegistersHasOneEntryFoundInAnyCase)
{
    QSet<QByteArray> names;
    for (const TGKind& kind : TGKindCatalogue::Kinds()) {
        EXPECT_FALSE(names.contains(kind.className.toUpper())) << kind.className.constData();
        names.insert(kind.className.toUpper());
        ASSERT_TRUE(kind.make) << kind.className.constData();
        EXPECT_EQ(kind.make()->ClassName(), kind.className);
    }
    for (TGHostKind host : {TGHostKind::Label, TGHostKind::Envelope, TGHostKind::Report})
        for (const QByteArray& name : TGClassRegistry::HostKinds(host))
            EXPECT_NE(TGKindCatalogue::Find(name.toLower()), nullptr) << name.constData();
    EXPECT_EQ(TGKindCatalogue::Find("TGNoSuchKind"), nullptr);
}

TEST(TGKindCatalogueTest, DrawnTextKindsTakeThePanelFontAndTheirOwnStartingValues)
{
    TDesignUnits::SetPpiOverride(96);
    const auto text = Drawn<TGPLabel>();
    EXPECT_EQ(text->Caption(), "<text>");
    EXPECT_EQ(text->Font().Name(), "Times New Roman");
    EXPECT_EQ(text->Font().PointSize(), 14);

    const auto field = Drawn<TGPDLabel>();
    EXPECT_EQ(field->DataFieldName(), "<field>");
    EXPECT_EQ(field->Font().Name(), "Times New Roman");

    const auto counter = Drawn<TGCounterLabel>();
    EXPECT_EQ(counter->Startingnumber(), 1000);
    EXPECT_EQ(counter->Font().Name(), "Times New Roman");

    const auto date = Drawn<TGDateTimeLabel>();
    EXPECT_EQ(date->Font().Name(), "Times New Roman");

    const auto memo = Drawn<TGDMultiLineLabel>();
    EXPECT_EQ(memo->DataFieldName(), "Memo");
    EXPECT_EQ(memo->DataFieldDescript(), "MEMO");
    EXPECT_EQ(memo->Font().Name(), "Times New Roman");

    const auto symbol = Drawn<TGSymbolLabel>();
    EXPECT_EQ(symbol->Font().Name(), "WingDings") << "the symbol keeps its own font";
    EXPECT_EQ(symbol->Font().PointSize(), 24);
    TDesignUnits::SetPpiOverride(0);
}

TEST(TGKindCatalogueTest, ADrawnShapeKeepsItsConstructionDefaults)
{
    const auto shape = Drawn<TGLabelShapes>();
    TGLabelShapes fresh;
    EXPECT_EQ(shape->Shape(), fresh.Shape());
    EXPECT_EQ(shape->BoundsRect(), fresh.BoundsRect());
}

class TGKindCatalogueDrawnPostNet : public test::TTextObjectFixture {};

TEST_F(TGKindCatalogueDrawnPostNet, ADrawnPostNetObjectReadsZipAndStreetAndPrintsItsBars)
{
    auto code = Drawn<TGPostNetBarCode>();
    EXPECT_EQ(code->ZipCodeField(), "ZIP");
    EXPECT_EQ(code->AddressField(), "STREET");
    code->SetBounds(48, 96, 270, 16);
    Add(std::move(code));
    AddRecord({{"ZIP", "62704-1234"}, {"STREET", "123 MAIN ST"}});
    const auto bars =
        test::Drawings(test::Record([&](print::TBaseReport& r) { PrintItem(r, 1.0, 2.0); }));
    EXPECT_EQ(bars.size(), 62u);
}

} // namespace
} // namespace qm::design
