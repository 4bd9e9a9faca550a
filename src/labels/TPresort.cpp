#include "labels/TPresort.h"

#include "data/TWin1252.h"
#include "labels/TLabelRecords.h"

#include <algorithm>

namespace qm::labels {

namespace {

constexpr int kKeyLength = 5;
constexpr uint64_t kMinimumGroup = 10;

// The key's bytes as the index compares them. Keys come from tables, so they always fit the code
// page; anything else still sorts, after its UTF-8 bytes.
QByteArray SortBytes(const QString& key)
{
    if (auto bytes = data::TWin1252::Encode(key))
        return *bytes;
    return key.toUtf8();
}

} // namespace

TPresort::TPresort(const TAdcTable& adc) : mAdc(adc), mDigits(10), mIndex(10) {}

std::optional<QString> TPresort::KeyOf(const QString& zip)
{
    if (zip.isEmpty() || zip.at(0) < QLatin1Char('0') || zip.at(0) > QLatin1Char('9'))
        return std::nullopt;
    // Most keys are the whole field already (shared, not copied) and hold no lower-case letter
    // (nothing below 'a' changes in upper case), so the common record costs no new string.
    QString key = zip.size() <= kKeyLength ? zip : zip.left(kKeyLength);
    if (std::any_of(key.cbegin(), key.cend(), [](QChar c) { return c >= QLatin1Char('a'); }))
        key = data::TWin1252::Upper(key);
    // The bounds compare as text: "9999Z" sorts above the upper one, "000 1" below the lower.
    // They are plain ASCII, so comparing UTF-16 code units orders every key as its Windows-1252
    // bytes would (both put anything beyond ASCII above them) without encoding it.
    static const QString kLowest = QStringLiteral("00000");
    static const QString kHighest = QStringLiteral("99999-999");
    if (key < kLowest || key > kHighest)
        return std::nullopt;
    return key;
}

bool TPresort::Add(const QString& zip)
{
    ++mCounts.recordsRead;
    const std::optional<QString> key = KeyOf(zip);
    if (!key) {
        ++mCounts.recordsLeftOut;
        return false;
    }
    const int digit = key->at(0).unicode() - '0';
    auto& index = mIndex[size_t(digit)];
    auto& list = mDigits[size_t(digit)];
    const auto found = index.constFind(*key);
    if (found != index.cend()) {
        ++list[*found].count;
    } else {
        index.insert(*key, list.size());
        list.push_back({SortBytes(*key), *key, 1});
    }
    return true;
}

bool TPresort::Read(TLabelRecords& records, const TProgress& progress,
                    const std::atomic<bool>* cancel)
{
    uint64_t read = 0;
    for (records.First(); !records.AtEnd(); records.Next()) {
        Add(records.Zip());
        ++read;
        if (progress && read % kProgressEvery == 0)
            progress(records.RecNo());
        if (cancel && cancel->load(std::memory_order_relaxed))
            return false;
    }
    return true;
}

QStringList TPresort::List()
{
    QStringList output;
    QStringList threeDigit;
    std::vector<TEntry> remainder;
    mCounts.distinctKeys = 0;
    mCounts.fiveDigitGroups = mCounts.threeDigitGroups = mCounts.adcGroups = 0;
    mCounts.unknownKeys = 0;

    for (std::vector<TEntry> list : mDigits) { // a copy: the tally stays as it is
        mCounts.distinctKeys += int(list.size());
        std::sort(list.begin(), list.end(),
                  [](const TEntry& a, const TEntry& b) { return a.bytes < b.bytes; });

        // 5-digit pass.
        std::vector<TEntry> rest;
        for (TEntry& entry : list) {
            if (entry.count >= kMinimumGroup) {
                output << QStringLiteral("** 5-digit ") + entry.key << entry.key;
                ++mCounts.fiveDigitGroups;
            } else {
                rest.push_back(std::move(entry));
            }
        }

        // 3-digit pass over runs of one prefix.
        for (size_t begin = 0; begin < rest.size();) {
            const QString prefix = rest[begin].key.left(3);
            size_t end = begin;
            uint64_t pieces = 0;
            while (end < rest.size() && rest[end].key.left(3) == prefix)
                pieces += rest[end++].count;
            if (pieces >= kMinimumGroup) {
                threeDigit << QStringLiteral("** 3-digit ") + prefix;
                for (size_t i = begin; i < end; ++i)
                    threeDigit << rest[i].key;
                ++mCounts.threeDigitGroups;
            } else {
                for (size_t i = begin; i < end; ++i)
                    remainder.push_back(std::move(rest[i]));
            }
            begin = end;
        }
    }

    // ADC pass: a key belongs to a row when its first three characters are one of the row's
    // prefixes (whole prefixes, so "1 2" never matches across the blank in "211 212"). A prefix
    // listed by more than one row belongs to the first, as walking the rows in order would give.
    // One pass sorts the remaining keys into their rows, each row keeping the keys' order.
    const std::vector<TAdcRow>& rows = mAdc.Rows();
    QHash<QString, size_t> rowOfPrefix;
    for (size_t r = 0; r < rows.size(); ++r)
        for (const QString& prefix : rows[r].prefixes)
            if (prefix.size() == 3)
                rowOfPrefix.insert(prefix, std::min(rowOfPrefix.value(prefix, r), r));
    std::vector<std::vector<const TEntry*>> members(rows.size());
    std::vector<const TEntry*> unknown;
    for (const TEntry& entry : remainder) {
        const auto row = rowOfPrefix.constFind(entry.key.left(3));
        if (row != rowOfPrefix.cend())
            members[*row].push_back(&entry);
        else
            unknown.push_back(&entry);
    }
    QStringList adc;
    for (size_t r = 0; r < rows.size(); ++r) {
        if (members[r].empty())
            continue;
        adc << QStringLiteral("** ADC ") + rows[r].name;
        ++mCounts.adcGroups;
        for (const TEntry* entry : members[r])
            adc << entry->key;
    }

    output << threeDigit << adc;
    if (!unknown.empty()) {
        output << QStringLiteral("** Unknown");
        for (const TEntry* entry : unknown)
            output << entry->key;
        mCounts.unknownKeys = int(unknown.size());
    }
    return output;
}

} // namespace qm::labels
