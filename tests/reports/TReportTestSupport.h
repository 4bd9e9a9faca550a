#pragma once

// Shared by the report tests: an address file in a temporary folder filled with the records a
// test names, and a job recorded into a page stream whose texts are read back page by page.

#include "data/TAddressFile.h"
#include "data/TApollo.h"
#include "data/TDataSet.h"
#include "print/TPageStreamDump.h"
#include "print/TReportFiler.h"

#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace qm::test {

using TRecordValues = QMap<QString, QString>;

class TReportTable {
public:
    TReportTable()
    {
        EXPECT_TRUE(mDir.isValid());
        mPath = mDir.filePath(QStringLiteral("ADD0001.DBF"));
        EXPECT_TRUE(data::TAddressFile::Create(mPath, {}).isEmpty());
        data::TAddressFile::DeclareFieldObjects(mDataSet);
        mDataSet.Open(mPath);
        mApollo = std::make_unique<data::TApollo>(mDataSet);
    }

    // Appends a record; "ISDEL" = "T" marks it deleted the way the program does.
    uint32_t Add(const TRecordValues& values)
    {
        mDataSet.Append();
        bool deleted = false;
        for (auto it = values.begin(); it != values.end(); ++it) {
            if (it.key() == QLatin1String("ISDEL"))
                deleted = it.value() == QLatin1String("T");
            else
                mDataSet.SetAsString(it.key(), it.value());
        }
        if (deleted)
            mDataSet.SetAsBoolean(QStringLiteral("ISDEL"), true);
        mDataSet.Post();
        return mDataSet.RecNo();
    }

    // The main window's view: LNAME order, the query "!ISDEL" or filter + ".and. !ISDEL".
    void MainView(const QString& filter = {}, uint32_t recNo = 0)
    {
        mApollo->SetOrder(mApollo->TagArea(QStringLiteral("LNAME")));
        mApollo->SetQuery(filter.isEmpty() ? QStringLiteral("!ISDEL")
                                           : filter + QStringLiteral(".and. !ISDEL"));
        if (recNo != 0)
            mDataSet.GoTo(recNo);
    }

    data::TDataSet& DataSet() { return mDataSet; }
    data::TApollo& Apollo() { return *mApollo; }
    const QString& Path() const { return mPath; }
    QString Folder() const { return mDir.path(); }

private:
    QTemporaryDir mDir;
    QString mPath;
    data::TDataSet mDataSet;
    std::unique_ptr<data::TApollo> mApollo;
};

struct TRecordedJob {
    QStringList lines;
    int pages = 0;

    // The texts drawn on a page (1-based), in drawing order.
    QStringList Texts(int page) const
    {
        static const QRegularExpression text(QStringLiteral("text=\"((?:[^\"\\\\]|\\\\.)*)\""));
        QStringList texts;
        int current = 0;
        for (const QString& line : lines) {
            if (line.startsWith(QLatin1String("page ")))
                ++current;
            else if (current == page && line.startsWith(QLatin1String("text-")))
                if (const auto m = text.match(line); m.hasMatch())
                    texts << m.captured(1);
        }
        return texts;
    }
    QStringList AllTexts() const
    {
        QStringList all;
        for (int p = 1; p <= pages; ++p)
            all << Texts(p);
        return all;
    }
    // The lines of a page (1-based) after its page record.
    QStringList PageLines(int page) const
    {
        QStringList out;
        int current = 0;
        for (const QString& line : lines) {
            if (line.startsWith(QLatin1String("page ")))
                ++current;
            else if (current == page)
                out << line;
        }
        return out;
    }
};

// Runs a job on the recorder after attach() set it up.
inline TRecordedJob Record(const std::function<void(print::TBaseReport&)>& attach)
{
    print::TReportFiler filer;
    filer.SetStreamMode(print::TStreamMode::smMemory);
    attach(filer);
    filer.RunJob();
    TRecordedJob job;
    const print::TPageStreamDump dump =
        print::DumpPageStream(static_cast<QBuffer*>(filer.Stream())->data());
    EXPECT_TRUE(dump.error.isEmpty()) << dump.error.toStdString();
    for (const QString& line : dump.lines) {
        // Drop the leading stream offset so lines compare as commands.
        const qsizetype space = line.indexOf(QLatin1Char(' '));
        const QString command = line.at(0).isDigit() && space > 0 ? line.mid(space + 1) : line;
        job.lines << command;
        if (command.startsWith(QLatin1String("page ")))
            ++job.pages;
    }
    return job;
}

} // namespace qm::test

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* out)
{
    *out << '{';
    for (const QString& text : list)
        *out << '"' << text.toStdString() << "\" ";
    *out << '}';
}
QT_END_NAMESPACE
