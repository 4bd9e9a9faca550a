#pragma once

// Puts a new file, complete and flushed, in the place of an earlier one, so that a failure leaves
// the earlier file as it was and a crash leaves one of the two whole under the target's name. The
// earlier file first gets a second name (a hard link, ".qm-old-" + its name in its folder), then
// the new one is renamed over the target (one step), and the second name is removed. Should the
// rename fail, even after it happened (the folder could not be flushed), the earlier file is
// renamed back from its second name. A second name left by a crash is removed by the next
// replacement of the target (Recover). Where the file system has no hard links the new file is
// renamed over the target without a second name. Every rename flushes the folder. For single
// files; a table with its memo is replaced by TPairSwap.

#include <string>

namespace qm::xbase {

class TFileIoSystem;

class TFileReplace {
public:
    // Replaces target with built (built is renamed, so it must lie in target's folder). On a
    // failure whatever was moved is put back and the error is thrown.
    static void Replace(TFileIoSystem& files, const std::string& built, const std::string& target);
    // Settles a replacement of target that a crash cut short; true when there was one.
    static bool Recover(TFileIoSystem& files, const std::string& target);
    static std::string AsidePath(const std::string& target);
};

} // namespace qm::xbase
