#pragma once

// The tag identifier: a record is tagged exactly when its TAG field (without trailing blanks)
// equals it. A new identifier comes from the clock, so "Clear Tags" untags every record at once
// without rewriting any: base 36 of (year - 1995) followed by base 36 of the ten digits
// month, day, hour, minute, second (mmddhhnnss).

#include <QDateTime>
#include <QString>

namespace qm::data {

class TSettingsFile;

class TTagIdentifier {
public:
    // Digits "0-9A-Z", most significant first, no leading zeros, at most six digits (the value is
    // taken modulo 36^6); 0 gives an empty text.
    static QString Base36(qint64 value);
    static QString MakeNew(const QDateTime& now);

    // The identifier kept in the settings file (section Misc, key GlobalTagId), or a new one when
    // there is none; either way it is written back. Throws TSettingsWriteError.
    static QString LoadAndStore(TSettingsFile& settings, const QDateTime& now);
    // A new identifier, written to the settings file. Throws TSettingsWriteError.
    static QString Renew(TSettingsFile& settings, const QDateTime& now);
};

} // namespace qm::data
