#pragma once

// The bulk-mail presort: tallies the first five characters of each record's ZIP code, then groups
// the keys into 5-digit groups (at least 10 pieces), 3-digit groups (a prefix whose remaining
// pieces add up to at least 10), ADC groups (the remaining keys by the distribution centre that
// serves their prefix) and, last, "** Unknown". The result is the presort list: marker lines
// ("** ..."), each followed by its keys, as the label print loop walks it.
//
// Keys are taken upper-cased, as the ZIP index holds them, and sorted by their Windows-1252
// bytes, as the index compares them. A key counts when its first character is a digit and it is
// no greater than "99999-999"; records whose key does not count are left out and counted.

#include "labels/TAdcTable.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace qm::labels {

class TLabelRecords;

struct TPresortCounts {
    uint64_t recordsRead = 0;
    uint64_t recordsLeftOut = 0; // no valid ZIP key
    int distinctKeys = 0;
    int fiveDigitGroups = 0;
    int threeDigitGroups = 0;
    int adcGroups = 0;
    int unknownKeys = 0;
};

class TPresort {
public:
    // Progress is reported every this many records.
    static constexpr uint32_t kProgressEvery = 100;
    // Records reported as read so far (the record number at each multiple of kProgressEvery).
    using TProgress = std::function<void(uint32_t recNo)>;

    explicit TPresort(const TAdcTable& adc = TAdcTable::Shipped());

    // The key a ZIP contributes, or nothing when the record is left out.
    static std::optional<QString> KeyOf(const QString& zip);

    // Counts one record's ZIP; false when it is left out.
    bool Add(const QString& zip);

    // Reads every record of the set from its first, reporting progress and looking at the cancel
    // flag after each record. False when cancelled (the tally is then incomplete).
    bool Read(TLabelRecords& records, const TProgress& progress = {},
              const std::atomic<bool>* cancel = nullptr);

    // Groups the tally and returns the presort list; also fills the group counts.
    QStringList List();

    const TPresortCounts& Counts() const { return mCounts; }

private:
    struct TEntry {
        QByteArray bytes; // sort key
        QString key;
        uint64_t count = 0;
    };

    const TAdcTable& mAdc;
    std::vector<std::vector<TEntry>> mDigits; // one list per first digit, unsorted while tallying
    std::vector<QHash<QString, size_t>> mIndex;
    TPresortCounts mCounts;
};

} // namespace qm::labels
