#pragma once

// The recent-files list: up to four full paths, newest first, in the settings file section
// "MRU" under the keys Item1..Item4.

#include <QStringList>

namespace qm::data {
class TSettingsFile;
}

namespace qm::addressbook {

class TRecentFiles {
public:
    static constexpr int kMaxEntries = 4;

    // The stored paths in key order, empty keys left out.
    static QStringList Load(const data::TSettingsFile& settings);
    // Puts path first: the new list is path followed by the old entries that differ from it
    // (exact text), cut to four; keys are written from Item1 on for the entries present, so a
    // shorter list leaves higher-numbered keys as they were. Throws TSettingsWriteError.
    static void Push(data::TSettingsFile& settings, const QString& path);
};

} // namespace qm::addressbook
