#include "transfer/TOlderImportSource.h"

#include "transfer/TOlderDate.h"
#include "transfer/TStoredMemo.h"
#include "transfer/TTransferError.h"
#include "xbase/TTable.h"

#include <QFileInfo>

namespace qm::transfer {

const std::vector<const char*>& TOlderImportSource::RequiredFields(TVersion version)
{
    static const std::vector<const char*> v1 = {
        "LNAME",   "FNAME", "MIDDLE", "TITLE", "ORG",   "STREET", "CITY",    "STATE", "ZIP",
        "COUNTRY", "PHONE", "EMAIL",  "FAX",   "NOTES", "PREFIX", "CARRIER", "DATE",  "MEMO"};
    static const std::vector<const char*> v2 = {
        "LNAME",  "FNAME", "MIDDLE",  "TITLE", "ORG",    "STREET", "STREET2", "CITY",
        "STATE",  "ZIP",   "COUNTRY", "PHONE", "PHONE2", "EMAIL",  "FAX",     "CODES",
        "PREFIX", "DATE",  "USER1",   "USER2", "ISDEL",  "MEMO",   "TAG"};
    return version == TVersion::V1 ? v1 : v2;
}

QString TOlderImportSource::VersionError(const TDbfSourceTable& source, TVersion version)
{
    for (const char* field : RequiredFields(version))
        if (source.Table().FieldIndex(field) < 0)
            return source.Path() +
                   (version == TVersion::V1
                        ? QStringLiteral(" does not appear to be a Quillmark 1.x DBF")
                        : QStringLiteral(" does not appear to be a Quillmark 2.x DBF"));
    return {};
}

TOlderImportSource::TOlderImportSource(TDbfSourceTable& source, TVersion version,
                                       const xbase::TTable& target)
    : mSource(source), mVersion(version)
{
    if (const QString error = VersionError(source, version); !error.isEmpty())
        throw TTransferError(error);
    const xbase::TTable& from = source.Table();
    const auto map = [&](const char* sourceName, const char* targetName, THow how) {
        const int s = from.FieldIndex(sourceName);
        const int t = target.FieldIndex(targetName);
        if (s >= 0 && t >= 0)
            mMap.push_back({s, t, how});
    };
    for (const char* name : {"LNAME", "FNAME", "PREFIX", "MIDDLE", "TITLE", "ORG", "STREET", "CITY",
                             "STATE", "ZIP", "COUNTRY", "PHONE", "FAX", "EMAIL"})
        map(name, name, THow::Text);
    if (version == TVersion::V2) {
        for (const char* name : {"CODES", "STREET2", "PHONE2", "USER1", "USER2", "DATE"})
            map(name, name, THow::Text);
        map("ISDEL", "ISDEL", THow::Logical);
    } else {
        map("NOTES", "CODES", THow::Text);
        map("DATE", "DATE", THow::Date1x);
    }
    map("MEMO", "MEMO", THow::Memo);
}

int64_t TOlderImportSource::Check(const std::function<bool()>& tick)
{
    int64_t records = 0;
    const uint32_t count = mSource.RecordCount();
    for (uint32_t r = 1; r <= count; ++r) {
        if (!mSource.Go(r))
            continue;
        ++records;
        Fill(nullptr);
        if (tick && tick())
            return -1;
    }
    return records;
}

void TOlderImportSource::Fill(TImportRecord* record)
{
    for (const TMapped& m : mMap) {
        mSource.Text(m.source, mScratch);
        if (!record)
            continue;
        std::string& text = record->Add(m.target);
        switch (m.how) {
        case THow::Text:
            text = mScratch;
            break;
        case THow::Date1x:
            text = TOlderDate::Convert(mScratch);
            break;
        case THow::Memo:
            text = mScratch;
            TStoredMemo::Apply(text);
            break;
        case THow::Logical: {
            const bool on = !mScratch.empty() &&
                            std::string_view("TtYy").find(mScratch[0]) != std::string_view::npos;
            text.assign(1, on ? 'T' : 'F');
            record->deleted = on;
            break;
        }
        }
    }
}

bool TOlderImportSource::Next(TImportRecord& record)
{
    record.Clear();
    const uint32_t count = mSource.RecordCount();
    while (mNext <= count && !mSource.Go(mNext))
        ++mNext;
    if (mNext > count)
        return false;
    ++mNext;
    Fill(&record);
    return true;
}

} // namespace qm::transfer
