#pragma once

// A file the program replaces (a PDF, a page stream, a layout, a copy, a list, the settings):
// written beside its target and renamed over it only once it is complete and on the disk.
//
// Contract:
// - open() refuses a name that stands for something other than a regular file (a device such as
//   /dev/null, a named pipe, a folder): renaming a finished file over it would destroy it, and a
//   page stream cannot be written to a pipe. A symbolic link to a regular file is followed: the
//   file it points to is replaced and the link stays.
// - The bytes go to a temporary file beside the target, named target + ".qm-tmp-" + six letters
//   and digits. open() first removes such files that an earlier run left for the same target (a
//   killed process leaves its temporary behind; nothing else makes these names).
// - commit() flushes, checks that every write reached the file, forces the file to the disk,
//   renames it over the target and makes the rename durable. Any failure on the way (the first
//   one counts, a later step is not tried) makes commit() return false with errorString() naming
//   the system's reason ("No space left on device"); the temporary is removed and an earlier
//   target stays as it was. Once a write failed, later writes are refused (-1).
// - cancelWriting() or destroying the object without a successful commit() removes the
//   temporary. Nothing here throws.
// - fileName() is the temporary's path while the file is open; Target() is the name given.

#include <QFile>
#include <QString>
#include <functional>

namespace qm::data {

class TOutputFile : public QFile {
public:
    // The steps a test can make fail (see SetFaultHook).
    enum class TStep { Write, Flush, Sync, Rename };
    // Returns 0 to let the step run, or an error number (ENOSPC, EIO) it fails with instead.
    using TFaultHook = std::function<int(TStep step, const QString& target)>;

    explicit TOutputFile(const QString& target);
    ~TOutputFile() override;
    TOutputFile(const TOutputFile&) = delete;
    TOutputFile& operator=(const TOutputFile&) = delete;

    // Opens the temporary for writing (WriteOnly or ReadWrite; never Append). False with
    // errorString() saying why.
    bool open(OpenMode mode) override;
    bool commit();
    void cancelWriting();

    const QString& Target() const { return mGiven; }
    // The first failure so far (empty while everything went well).
    const QString& Failure() const { return mFailure; }

    // The reason a name cannot be an output, empty when it can (missing files can).
    static QString Refusal(const QString& name);
    // Removes the temporaries earlier runs left beside target; returns how many went.
    static int RemoveLeftovers(const QString& target);
    // True for a name this class gives its temporaries.
    static bool IsTemporaryName(const QString& fileName);

    // For a file other code writes itself (a QPrinter's PDF engine opens its own file): a fresh
    // temporary name beside target (earlier runs' leftovers removed first), and, once that code
    // wrote the file completely, Publish forces it to the disk and renames it over target with the
    // same steps, checks and fault hook as commit(). On failure the temporary is removed and
    // *reason says why.
    static QString NewTemporaryPath(const QString& target);
    static bool Publish(const QString& temporary, const QString& target, QString* reason);

    // Test seam: every TOutputFile of the process asks hook before each step. An empty hook
    // (the default) lets every step run. Returns the hook it replaces.
    static TFaultHook SetFaultHook(TFaultHook hook);

protected:
    qint64 writeData(const char* data, qint64 length) override;

private:
    bool Fail(const QString& reason);
    // The reason of a failed write or flush, from the failing call's error number when known.
    QString SystemReason(int error) const;
    int Injected(TStep step) const;
    void Discard();

    QString mGiven;
    QString mTarget; // the file that gets replaced: mGiven with links followed
    QString mTemporary;
    QString mFailure;
    bool mCommitted = false;
};

} // namespace qm::data
