#include "reports/TRecordValues.h"

#include "data/TDataSet.h"
#include "data/TWin1252.h"
#include "xbase/TTable.h"

#include <cstring>

namespace qm::reports {

int TRecordValues::Index(const char* field)
{
    // Callers name fields by literals: the same pointer again is the usual case.
    for (const auto& [name, index] : mIndexes)
        if (name == field)
            return index;
    for (const auto& [name, index] : mIndexes) {
        if (std::strcmp(name, field) == 0) {
            const int found = index;
            mIndexes.emplace_back(field, found); // found by pointer next time
            return found;
        }
    }
    const int index = mDataSet.Table().FieldIndex(field);
    mIndexes.emplace_back(field, index);
    return index;
}

QString TRecordValues::Value(const char* field)
{
    // A record being edited shows its pending values, which only the data set knows.
    if (mDataSet.Editing())
        return mDataSet.AsString(QString::fromLatin1(field));
    const int index = Index(field);
    if (index < 0 || mDataSet.IsEmpty())
        return {};
    const xbase::TTable& table = mDataSet.Table();
    if (std::strcmp(field, "MEMO") == 0) {
        const std::string memo = table.GetMemo(index);
        return data::TWin1252::Decode(memo.data(), qsizetype(memo.size()));
    }
    const std::string_view text = table.GetTrimmed(index);
    return data::TWin1252::Decode(text.data(), qsizetype(text.size()));
}

} // namespace qm::reports
