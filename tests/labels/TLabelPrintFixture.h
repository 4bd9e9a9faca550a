#pragma once

// A fresh home with an address file open as the main window holds it (Last Name order, query
// "!ISDEL"), and LABEL rows whose layout files hold the design a new label starts with.

#include "TScriptedResponder.h"
#include "TTestHome.h"
#include "data/TAddressFile.h"
#include "data/TApollo.h"
#include "data/TDataSet.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/core/TLayoutFileNames.h"
#include "labels/TLabelLayoutStore.h"
#include "labels/TNewLabelDesign.h"
#include "xbase/TEngineSettings.h"

#include <QDir>
#include <QStringList>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <vector>

namespace qm::test {

struct TPerson {
    QString lastName;
    QString zip;
};

class LabelPrintFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        xbase::EngineSettings().exact = false;
        QDir().mkpath(mHome.Path("DATA"));
        QDir().mkpath(mHome.Path("sysdata"));
    }

    void TearDown() override
    {
        mApollo.reset();
        if (mDataSet.Active())
            mDataSet.Close();
    }

    // Records named "R1".."Rn" unless given, in record order.
    void OpenFile(const std::vector<TPerson>& people)
    {
        const QString path = mHome.Path("DATA/ADD0001.DBF");
        ASSERT_EQ(data::TAddressFile::Create(path, {}), QString());
        {
            data::TDataSet ds;
            data::TAddressFile::DeclareFieldObjects(ds);
            ASSERT_TRUE(data::TAddressFile::Open(ds, path).opened);
            for (const TPerson& p : people) {
                ds.Append();
                ds.SetAsString("LNAME", p.lastName);
                ds.SetAsString("ZIP", p.zip);
                ds.Post();
            }
        }
        data::TAddressFile::DeclareFieldObjects(mDataSet);
        ASSERT_TRUE(data::TAddressFile::Open(mDataSet, path).opened);
        mApollo = std::make_unique<data::TApollo>(mDataSet);
        mApollo->SetOrder(mApollo->TagArea("LNAME"));
        mApollo->SetQuery("!ISDEL");
    }

    void OpenNumbered(int count, const QString& zip = QString())
    {
        std::vector<TPerson> people;
        for (int i = 1; i <= count; ++i)
            people.push_back({QStringLiteral("R%1").arg(i, 3, 10, QLatin1Char('0')), zip});
        OpenFile(people);
    }

    // Adds a LABEL row on the sheet with the new-label design in its layout file.
    void AddLayout(labels::TLabelGeometry g, bool writeFile = true)
    {
        design::TGClassRegistry::Instance().RegisterHostKinds(design::TGHostKind::Label);
        labels::TLabelLayoutStore store;
        ASSERT_EQ(store.Open(mHome.Path("sysdata")), QString());
        g.layoutFile = store.NewLayoutName();
        if (writeFile) {
            design::TGDataPanel panel;
            labels::TNewLabelDesign::AddTo(panel, g);
            design::TGLabelObjectFiler::SaveToFile(
                panel, design::TLayoutFileNames::PathFor(mHome.Path("sysdata"), g.layoutFile));
        }
        store.Append(g);
    }

    static labels::TLabelGeometry Avery5160(const QString& name = QStringLiteral("Addresses"))
    {
        labels::TLabelGeometry g = labels::TLabelGeometry::NewLayout();
        g.description = name;
        return g;
    }

    TTestHome mHome;
    TScriptedResponder mResponder;
    data::TDataSet mDataSet;
    std::unique_ptr<data::TApollo> mApollo;
};

} // namespace qm::test
