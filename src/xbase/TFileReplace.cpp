#include "xbase/TFileReplace.h"

#include "xbase/TFileIoSystem.h"

namespace qm::xbase {

std::string TFileReplace::AsidePath(const std::string& target)
{
    const size_t slash = target.find_last_of("/\\");
    const size_t name = slash == std::string::npos ? 0 : slash + 1;
    return target.substr(0, name) + ".qm-old-" + target.substr(name);
}

bool TFileReplace::Recover(TFileIoSystem& files, const std::string& target)
{
    const std::string aside = AsidePath(target);
    if (!files.Exists(aside))
        return false;
    if (files.Exists(target))
        files.Remove(aside); // only a second name of the earlier file, or of a file since replaced
    else
        files.Rename(aside, target);
    return true;
}

void TFileReplace::Replace(TFileIoSystem& files, const std::string& built,
                           const std::string& target)
{
    Recover(files, target);
    const std::string aside = AsidePath(target);
    const bool saved = files.Exists(target) && files.Link(target, aside);
    try {
        files.Rename(built, target);
    } catch (...) {
        try {
            if (saved) {
                // The rename may have happened when only the folder could not be flushed after
                // it (the built file is gone then): the earlier file goes back over the new one.
                if (!files.Exists(built))
                    files.Rename(aside, target);
                else
                    files.Remove(aside);
            }
        } catch (...) {
            // The next replacement of the target removes the second name.
        }
        throw;
    }
    if (!saved)
        return;
    try {
        files.Remove(aside);
    } catch (...) {
        // The new file is in place; the next replacement removes the second name.
    }
}

} // namespace qm::xbase
