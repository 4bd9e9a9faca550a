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
    const QString key = data::TWin1252::Upper(zip.left(kKeyLength));
    if (key.isEmpty() || key.at(0) < QLatin1Char('0') || key.at(0) > QLatin1Char('9'))
        return std::nullopt;
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
    // prefixes (whole prefixes, so "1 2" never matches across the blank in "211 212").
    QStringList adc;
    for (const TAdcRow& row : mAdc.Rows()) {
        bool started = false;
        auto keep = remainder.begin();
        for (auto it = remainder.begin(); it != remainder.end(); ++it) {
            const QString prefix = it->key.left(3);
            if (prefix.size() == 3 && row.prefixes.contains(prefix)) {
                if (!started) {
                    adc << QStringLiteral("** ADC ") + row.name;
                    ++mCounts.adcGroups;
                    started = true;
                }
                adc << it->key;
            } else {
                *keep++ = std::move(*it);
            }
        }
        remainder.erase(keep, remainder.end());
    }

    output << threeDigit << adc;
    if (!remainder.empty()) {
        output << QStringLiteral("** Unknown");
        for (const TEntry& entry : remainder)
            output << entry.key;
        mCounts.unknownKeys = int(remainder.size());
    }
    return output;
}

} // namespace qm::labels
