// Fuzzes the presort with whatever an address file's ZIP field may hold: the input's lines, taken
// as Windows-1252 bytes, are the records' ZIP codes. Every record is either tallied or left out,
// every counted key appears exactly once in the list, and every line is a marker or such a key.

#include "data/TWin1252.h"
#include "labels/TAdcTable.h"
#include "labels/TPresort.h"

#include <QSet>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const qm::labels::TAdcTable adc = qm::labels::TAdcTable::Parse(
        QStringLiteral("ALBANY NY 120\t120 121 122 123\nFARGO ND  580\t580 565\nX\t1 2 211\n"));
    const QString text =
        qm::data::TWin1252::Decode(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList zips = text.split(QLatin1Char('\n'));
    qm::labels::TPresort presort(adc);
    QSet<QString> keys;
    uint64_t counted = 0;
    for (const QString& zip : zips) {
        if (presort.Add(zip)) {
            keys.insert(*qm::labels::TPresort::KeyOf(zip));
            ++counted;
        }
    }
    const QStringList list = presort.List();
    const auto& counts = presort.Counts();
    if (counts.recordsRead != uint64_t(zips.size()) ||
        counts.recordsLeftOut != uint64_t(zips.size()) - counted ||
        counts.distinctKeys != keys.size())
        std::abort();
    QSet<QString> listed;
    for (const QString& line : list) {
        if (line.startsWith(QLatin1String("** ")))
            continue;
        if (!keys.contains(line) || listed.contains(line))
            std::abort();
        listed.insert(line);
    }
    if (listed.size() != keys.size())
        std::abort();
    return 0;
}
