#pragma once

// Creating, opening and indexing address files. The decisions and the messages live here; the
// main window shows the messages and asks the questions.

#include "data/TNewFileFieldLengths.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace qm::xbase {
class TTable;
}

namespace qm::data {

class TDataSet;

// Progress of building the address file's tags: the tag's position in the creation order
// (0-based) and how far that tag is, in percent.
using TTagProgress = std::function<void(int tagIndex, int percent)>;

struct TAddressOpenResult {
    bool opened = false;
    // What to show when the open failed (empty when it succeeded).
    QString message;
    // The engine's reason alone (also the message's second line); empty when there is none.
    QString detail;
};

struct TAddressCreateResult {
    // The messages to show one after another, in order; empty when the file was made.
    QStringList messages;
    // The engine's reason alone (also in the message that reports it); empty when there is none.
    QString detail;

    bool Created() const { return messages.isEmpty(); }
};

class TAddressFile {
public:
    // Declares the address file's field objects (stored and calculated) on a data set.
    static void DeclareFieldObjects(TDataSet& dataSet);

    // Creates the file with the 23 fields and builds its 26 tags; the file is left closed.
    // The messages on failure: "Create failed" (the table could not be made); "File creation
    // failed" (it could not be opened afterwards); "Unable to create index files" followed by
    // "File creation failed" (the tags could not be built). The message that reports the
    // engine's error carries its reason on a second line. A file that exists already is never
    // replaced ("Create failed").
    static TAddressCreateResult CreateFile(const QString& path, const TNewFileFieldLengths& lengths,
                                           const TTagProgress& progress = {});
    // CreateFile for callers that show one text: empty on success, else the messages joined by
    // CR LF.
    static QString Create(const QString& path, const TNewFileFieldLengths& lengths,
                          const TTagProgress& progress = {});

    // Builds a new index file with the 26 tags in order beside the table and renames it over the
    // table's index file (which may be missing); progress hears of the tags in order. Returns
    // false after an error (then *message is "Unable to create index files" with the engine's
    // reason on a second line, and *detail the reason alone); the old index file then stays.
    static bool BuildTags(xbase::TTable& table, const TTagProgress& progress = {},
                          QString* message = nullptr, QString* detail = nullptr);

    // Opens the file exclusively in the data set, whose field objects must have been declared.
    // The file is found in any letter case. Failure messages: "File " + path + " not found", or the
    // open failure text: with the engine's reason when the engine refused the file, or with a
    // last line naming a field that is missing or not of the type the layout gives it.
    static TAddressOpenResult Open(TDataSet& dataSet, const QString& path);

    // "Unable to open <path>", the reason when there is one, an empty line, " * May not be a
    // Quillmark file.", " * May be in use by another program or user", separated by CR LF.
    static QString OpenFailureText(const QString& path, const QString& reason = {});

    // The first of the 26 tags (in check order) missing from the open index; empty when all are
    // there. A closed data set misses the first one.
    static QString FirstMissingTag(const TDataSet& dataSet);

    // The tag check: every tag there and the index not left stale by a crash.
    static bool TagsValid(const TDataSet& dataSet);

    // The rebuild question of the tag check.
    static QString RebuildQuestion(const QString& path);
};

} // namespace qm::data
