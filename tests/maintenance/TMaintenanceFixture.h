#pragma once

// A fresh home with one address file filled from a list of records (field name -> value), open in a
// data set as the main window holds it.

#include "TScriptedResponder.h"
#include "TTestHome.h"
#include "data/TAddressFile.h"
#include "data/TDataSet.h"

#include <QDir>
#include <QStringList>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace qm::test {

using TRecordValues = std::map<QString, QString>;

class MaintenanceFixture : public ::testing::Test {
protected:
    QString MakeFile(const std::vector<TRecordValues>& records)
    {
        QDir().mkpath(mHome.Path("DATA"));
        const QString path = mHome.Path("DATA/ADD0001.DBF");
        EXPECT_EQ(data::TAddressFile::Create(path, {}), QString());
        data::TDataSet ds;
        data::TAddressFile::DeclareFieldObjects(ds);
        EXPECT_TRUE(data::TAddressFile::Open(ds, path).opened);
        for (const TRecordValues& record : records) {
            ds.Append();
            for (const auto& [field, value] : record)
                ds.SetAsString(field, value);
            ds.Post();
        }
        return path;
    }

    void Open(const std::vector<TRecordValues>& records)
    {
        mPath = MakeFile(records);
        data::TAddressFile::DeclareFieldObjects(mDataSet);
        ASSERT_TRUE(data::TAddressFile::Open(mDataSet, mPath).opened);
    }

    QString Value(uint32_t recNo, const QString& field)
    {
        const uint32_t here = mDataSet.RecNo();
        mDataSet.GoTo(recNo);
        const QString value = mDataSet.AsString(field);
        if (here != 0)
            mDataSet.GoTo(here);
        return value;
    }

    // The record numbers the data set shows, in its order.
    std::vector<uint32_t> Shown()
    {
        std::vector<uint32_t> out;
        for (mDataSet.First(); !mDataSet.IsEmpty();) {
            out.push_back(mDataSet.RecNo());
            mDataSet.Next();
            if (mDataSet.Eof())
                break;
        }
        return out;
    }

    TTestHome mHome;
    TScriptedResponder mResponder;
    data::TDataSet mDataSet;
    QString mPath;
};

} // namespace qm::test
