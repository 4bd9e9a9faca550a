#include "maintenance/TStateZipRanges.h"

#include "data/TDataSet.h"
#include "data/TSystemTables.h"
#include "xbase/TCodePage1252.h"
#include "xbase/TCursor.h"
#include "xbase/TXbaseError.h"

namespace qm::maintenance {
namespace {

std::string_view RightTrimmed(std::string_view text)
{
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

} // namespace

QString TStateZipRanges::Load(const QString& sysdataDir)
{
    mStates.clear();
    mRows = 0;
    data::TDataSet table;
    const QString message = data::TSystemTables::OpenOrCreate(table, data::TSystemTable::StateZip,
                                                              sysdataDir, xbase::TOpenMode::Shared);
    if (!message.isEmpty())
        return message;
    if (!ReadRows(table))
        return QString::fromLatin1(
            data::TSystemTables::Schema(data::TSystemTable::StateZip).failureMessage);
    return {};
}

QString TStateZipRanges::LoadFile(const QString& path)
{
    mStates.clear();
    mRows = 0;
    data::TDataSet table;
    try {
        table.Open(path, xbase::TOpenMode::ReadOnly);
    } catch (const std::exception&) {
        return QStringLiteral("Unable to open ") + path;
    }
    if (!ReadRows(table))
        return QStringLiteral("Unable to open ") + path;
    return {};
}

bool TStateZipRanges::ReadRows(data::TDataSet& table)
{
    try {
        xbase::TTable& t = table.Table();
        const int state = t.FieldIndex("STATE");
        const int low = t.FieldIndex("LOW_ZIP");
        const int high = t.FieldIndex("HIGH_ZIP");
        if (state < 0 || low < 0 || high < 0) {
            table.Close();
            return false;
        }
        xbase::TCursor cursor(t);
        cursor.SetOrder(0);
        for (cursor.GoTop(); !cursor.Eof(); cursor.Skip())
            Add(t.GetTrimmed(state), t.GetTrimmed(low), t.GetTrimmed(high));
    } catch (const xbase::TXbaseError&) {
        mStates.clear();
        mRows = 0;
        table.Close();
        return false;
    }
    table.Close();
    return true;
}

void TStateZipRanges::Add(std::string_view state, std::string_view lowZip, std::string_view highZip)
{
    mStates[xbase::TCodePage1252::Upper(RightTrimmed(state))].push_back(
        {std::string(RightTrimmed(lowZip)), std::string(RightTrimmed(highZip))});
    ++mRows;
}

bool TStateZipRanges::KnowsState(std::string_view state) const
{
    return mStates.find(std::string(RightTrimmed(state))) != mStates.end();
}

bool TStateZipRanges::Valid(std::string_view state, std::string_view zip) const
{
    const auto it = mStates.find(std::string(RightTrimmed(state)));
    if (it == mStates.end())
        return false;
    for (const TRange& range : it->second)
        if (InRange(zip, range.low, range.high))
            return true;
    return false;
}

bool TStateZipRanges::InRange(std::string_view zip, std::string_view lowZip,
                              std::string_view highZip)
{
    zip = RightTrimmed(zip);
    lowZip = RightTrimmed(lowZip);
    highZip = RightTrimmed(highZip);
    if (zip < lowZip)
        return false;
    return zip.substr(0, highZip.size()) <= highZip;
}

} // namespace qm::maintenance
