// Reading a label template file: what is taken from it, and hostile files refused within bounds.

#include "labels/TTemplateFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qm::labels {
namespace {

TTemplateFile Read(const QByteArray& text)
{
    return TTemplateFile::Read(text);
}

TEST(TemplateFile, ReadsTemplatesWithOrWithoutTheNamespace)
{
    for (const char* root :
         {"<Glabels-templates>", "<Glabels-templates xmlns=\"http://glabels.org/xmlns/3.0/\">"}) {
        const TTemplateFile file = Read(QByteArray("<?xml version=\"1.0\"?>\n") + root + R"(
  <!-- a comment -->
  <Template brand="Herma" part="4226" size="A4" _description="Address labels">
    <Meta category="label"/>
    <Meta product_url="http://example.com"/>
    <Meta category="mail"/>
    <Label-rectangle id="0" width="48.3mm" height="25.4mm" round="0">
      <Markup-margin size="1mm"/>
      <Layout nx="4" ny="10" x0="8.4mm" y0="21.5mm" dx="48.3mm" dy="25.4mm"/>
    </Label-rectangle>
  </Template>
  <Template brand="Herma" part="4227" equiv="4226"/>
  <Template brand="Dymo" part="1" size="Other" width="1in" height="2in" description="Roll"/>
</Glabels-templates>)");
        ASSERT_EQ(file.Problem(), "") << root;
        ASSERT_EQ(file.Templates().size(), 3u);
        const TTemplateFileEntry& t = file.Templates()[0];
        EXPECT_EQ(t.brand, "Herma");
        EXPECT_EQ(t.part, "4226");
        EXPECT_EQ(t.size, "A4");
        EXPECT_EQ(t.description, "Address labels");
        EXPECT_FALSE(t.equiv);
        EXPECT_EQ(t.categories, (QStringList{"label", "mail"}));
        ASSERT_EQ(t.labels.size(), 1u);
        EXPECT_EQ(t.labels[0].kind, "Label-rectangle");
        EXPECT_EQ(t.labels[0].attributes.value("width"), "48.3mm");
        ASSERT_EQ(t.labels[0].layouts.size(), 1u);
        EXPECT_EQ(t.labels[0].layouts[0].nx, "4");
        EXPECT_EQ(t.labels[0].layouts[0].dy, "25.4mm");
        EXPECT_EQ(t.line, 4);
        EXPECT_EQ(file.Templates()[1].equiv, "4226");
        EXPECT_TRUE(file.Templates()[1].labels.empty());
        EXPECT_EQ(file.Templates()[2].description, "Roll"); // "description" without "_"
        EXPECT_EQ(file.Templates()[2].width, "1in");
    }
}

TEST(TemplateFile, MissingAttributesStayAbsentForTheConverterToName)
{
    const TTemplateFile file = Read(R"(<Glabels-templates><Template>
        <Label-rectangle><Layout/></Label-rectangle></Template></Glabels-templates>)");
    ASSERT_EQ(file.Problem(), "");
    ASSERT_EQ(file.Templates().size(), 1u);
    const TTemplateFileEntry& t = file.Templates()[0];
    EXPECT_FALSE(t.brand || t.part || t.size || t.description);
    EXPECT_FALSE(t.labels.at(0).attributes.contains("width"));
    EXPECT_FALSE(t.labels.at(0).layouts.at(0).nx);
}

TEST(TemplateFile, WhatIsNoTemplateFileIsRefusedWithTheReason)
{
    const struct {
        const char* text;
        const char* problem;
    } cases[] = {
        {"", "it is empty or not XML"},
        {"Herma 4226 48.3 x 25.4 mm", "it is empty or not XML"},
        {"<Glabels-document><Template brand=\"a\" part=\"b\"/></Glabels-document>",
         "it is XML, but not a label template file (its first element is <Glabels-document>, "
         "not <Glabels-templates>)"},
        {"<Glabels-templates><Template brand=\"a\" part=\"b\">", "line 1: "},
        {"<Glabels-templates></Glabels-templates><second/>", "line 1: "},
    };
    for (const auto& c : cases) {
        const TTemplateFile file = Read(c.text);
        EXPECT_TRUE(file.Problem().startsWith(QString::fromLatin1(c.problem)))
            << c.text << ": " << file.Problem().toStdString();
        EXPECT_TRUE(file.Templates().empty());
    }
}

TEST(TemplateFile, EntitiesAreNeverExpanded)
{
    // A billion laughs: ten levels of ten references each.
    QByteArray laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE Glabels-templates [\n"
                        "<!ENTITY lol0 \"lol\">\n";
    for (int i = 1; i < 10; ++i) {
        laughs += "<!ENTITY lol" + QByteArray::number(i) + " \"";
        for (int k = 0; k < 10; ++k)
            laughs += "&lol" + QByteArray::number(i - 1) + ";";
        laughs += "\">\n";
    }
    laughs += "]>\n<Glabels-templates><Template brand=\"&lol9;\" part=\"1\"/></Glabels-templates>";
    QElapsedTimer clock;
    clock.start();
    TTemplateFile file = Read(laughs);
    EXPECT_EQ(file.Problem(), "it declares XML entities, which are not read");
    EXPECT_LT(clock.elapsed(), 2000);

    // An external entity (a local file) is not read either.
    file = Read("<!DOCTYPE Glabels-templates [<!ENTITY secret SYSTEM \"file:///etc/passwd\">]>"
                "<Glabels-templates><Template brand=\"&secret;\" part=\"1\"/></Glabels-templates>");
    EXPECT_EQ(file.Problem(), "it declares XML entities, which are not read");

    // An entity nobody declared.
    file = Read("<Glabels-templates><Template brand=\"&nobody;\" part=\"1\"/></Glabels-templates>");
    EXPECT_FALSE(file.Problem().isEmpty());
    EXPECT_TRUE(file.Templates().empty());

    // A document type without entities (naming the format's DTD) is fine, and the five
    // predefined entities and character references are plain text.
    file = Read("<!DOCTYPE Glabels-templates SYSTEM \"glabels-3.0.dtd\">"
                "<Glabels-templates><Template brand=\"A&amp;B &#233;\" part=\"1\"/>"
                "</Glabels-templates>");
    ASSERT_EQ(file.Problem(), "");
    EXPECT_EQ(file.Templates().at(0).brand, QString::fromUtf8("A&B \xc3\xa9"));
}

TEST(TemplateFile, SizeDepthCountAndAttributeLengthHaveBounds)
{
    QTemporaryDir dir;
    const QString big = dir.filePath("big-templates.xml");
    {
        // 100 MB, sparse: refused from its size before a byte is read.
        QFile out(big);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        ASSERT_TRUE(out.write("<Glabels-templates>") > 0);
        ASSERT_TRUE(out.resize(100LL * 1024 * 1024));
    }
    QElapsedTimer clock;
    clock.start();
    TTemplateFile file = TTemplateFile::ReadFile(big);
    EXPECT_EQ(file.Problem(), "it is larger than 8 MB, far more than any template file");
    EXPECT_LT(clock.elapsed(), 1000);

    // The same bound holds for bytes handed over directly, and a smaller one can be set.
    TTemplateFile::TLimits small;
    small.maxBytes = 1024;
    file = TTemplateFile::Read(QByteArray(2000, ' '), small);
    EXPECT_EQ(file.Problem(), "it is larger than 0 MB, far more than any template file");

    QByteArray deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<a>";
    file = Read("<Glabels-templates>" + deep);
    EXPECT_EQ(file.Problem(), "its elements are nested more than 16 deep");

    QByteArray many = "<Glabels-templates>";
    for (int i = 0; i < 250000; ++i)
        many += "<x/>";
    many += "</Glabels-templates>";
    file = Read(many);
    EXPECT_EQ(file.Problem(), "it holds more than 200000 elements");

    file = Read("<Glabels-templates><Template brand=\"" + QByteArray(5000, 'A') +
                "\" part=\"1\"/></Glabels-templates>");
    EXPECT_EQ(file.Problem(), "line 1: an attribute is longer than 4096 characters");

    file = TTemplateFile::ReadFile(dir.filePath("missing.xml"));
    EXPECT_TRUE(file.Problem().startsWith("it cannot be opened: "));
}

} // namespace
} // namespace qm::labels
