// Shared by the text-object tests: an address file with records on a data panel, and a
// recording print job whose page stream is read back as the texts it draws.

#pragma once

#include "data/TAddressFile.h"
#include "data/TDataSet.h"
#include "design/core/TGDataPanel.h"
#include "design/text/TDesignUnits.h"
#include "print/TPageStreamFormat.h"
#include "print/TPageStreamReader.h"
#include "print/TRPDevice.h"
#include "print/TReportFiler.h"

#include <QBuffer>
#include <QDir>
#include <QHash>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace qm::design::test {

// One text as the page stream records it, with the drawing state in force.
struct TPrintedText {
    QString text;
    QRectF clip;         // inches
    double x = 0, y = 0; // inches, top-left corner of the text
    QString font;
    double heightInches = 0;
    std::uint32_t color = 0;
    int rotation = 0;
    bool bold = false;
    int page = 0;
};

struct TPrintedPage {
    std::vector<TPrintedText> texts;
    std::vector<std::uint8_t> codes; // every command code in order
};

// Records one job; draw runs inside it (call NewPage for further pages).
inline QByteArray Record(const std::function<void(print::TBaseReport&)>& draw)
{
    qputenv("QUILLMARK_NO_PDF_PRINTER", "1");
    print::TRPDevice::Instance().ReloadWith({});
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    print::TReportFiler filer;
    filer.SetStream(&buffer);
    filer.OnPrint = draw;
    filer.RunJob();
    return bytes;
}

inline std::vector<TPrintedPage> ReadPages(const QByteArray& bytes)
{
    using print::stream::TCode;
    std::vector<TPrintedPage> pages;
    print::TPageStreamReader reader(bytes);
    const print::TPageStreamHeader header = reader.ReadHeader();
    std::int64_t at = header.firstPageOffset;
    TPrintedText state;
    for (int n = 1; at > 0 && at < bytes.size() && n <= header.pageCount; ++n) {
        reader.Seek(at);
        const print::TPageRecord record = reader.ReadPageRecord();
        TPrintedPage page;
        print::TPageCommand c;
        for (;;) {
            reader.ReadCommand(c);
            page.codes.push_back(c.code);
            switch (TCode(c.code)) {
            case TCode::Font:
                state.font = QString::fromLatin1(c.text);
                state.color = std::uint32_t(c.i32);
                state.heightInches = c.f[0];
                state.bold = c.flags[0];
                state.rotation = c.i16;
                break;
            case TCode::FontName:
                state.font = QString::fromLatin1(c.text);
                break;
            case TCode::FontColor:
                state.color = std::uint32_t(c.i32);
                break;
            case TCode::FontRotation:
                state.rotation = c.i16;
                break;
            case TCode::FontBold:
                state.bold = c.b;
                break;
            case TCode::FontSize:
                state.heightInches = c.f[0];
                break;
            case TCode::TextRect: {
                TPrintedText t = state;
                t.text = QString::fromLatin1(c.text);
                t.clip = QRectF(c.points[0], c.points[1]);
                t.x = c.f[0];
                t.y = c.f[1];
                t.page = n;
                page.texts.push_back(t);
                break;
            }
            default:
                break;
            }
            if (TCode(c.code) == TCode::EndOfPage)
                break;
        }
        pages.push_back(page);
        at = record.next;
    }
    return pages;
}

// The texts of a one-page job.
inline std::vector<TPrintedText> PrintedTexts(const QByteArray& bytes)
{
    const auto pages = ReadPages(bytes);
    return pages.empty() ? std::vector<TPrintedText>{} : pages.front().texts;
}

// An address file in a temporary folder, open in a data set bound to a data panel at 96 PPI.
class TTextObjectFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        TDesignUnits::SetPpiOverride(96);
        const QString path = QDir(mDir.path()).filePath(QStringLiteral("ADD0001.DBF"));
        ASSERT_EQ(data::TAddressFile::Create(path, {}), QString());
        data::TAddressFile::DeclareFieldObjects(mDataSet);
        ASSERT_TRUE(data::TAddressFile::Open(mDataSet, path).opened);
        mPanel.SetSize(400, 200);
        mPanel.SetDataSet(&mDataSet);
    }
    void TearDown() override { TDesignUnits::SetPpiOverride(0); }

    void AddRecord(const QHash<QString, QString>& values)
    {
        mDataSet.Append();
        for (auto it = values.begin(); it != values.end(); ++it)
            mDataSet.SetAsString(it.key(), it.value());
        mDataSet.Post();
    }

    // The printing protocol for one item: Printing set, RefreshData, PrintObjects with the
    // panel's corner at (x, y), StepCounters.
    void PrintItem(print::TBaseReport& canvas, double x = 0, double y = 0)
    {
        mPanel.SetPrinting(true);
        mPanel.RefreshData();
        mPanel.PrintObjects(canvas, x, y);
        mPanel.StepCounters();
        mPanel.SetPrinting(false);
    }

    template <class T> T* Add(std::unique_ptr<T> object)
    {
        T* raw = object.get();
        mPanel.AddObject(std::move(object));
        return raw;
    }

    QTemporaryDir mDir;
    data::TDataSet mDataSet;
    TGDataPanel mPanel;
};

} // namespace qm::design::test
