#include "TFaultInjection.h"

#include "data/TSystemTables.h"

namespace qm::test {

TFaultInjection::TFaultInjection(std::uint64_t failAt, int error)
    : mFaulty(xbase::TFileIoSystem::Native())
{
    mFaulty.SetFailAt(failAt);
    mFaulty.SetSyncs(false); // a sweep does not need the disk's flushes; it runs faster without
    mPreviousFiles = data::TSystemTables::UseFiles(&mFaulty);
    mPreviousHook = data::TOutputFile::SetFaultHook(
        [this, error](data::TOutputFile::TStep step, const QString& target) {
            // The output files' steps count in the same sequence as the engine's own.
            const xbase::TFaultOp kind = step == data::TOutputFile::TStep::Sync ? xbase::kFaultSync
                                         : step == data::TOutputFile::TStep::Rename
                                             ? xbase::kFaultRename
                                             : xbase::kFaultWrite;
            return mFaulty.Fails(kind, target.toStdString()) ? error : 0;
        });
}

TFaultInjection::~TFaultInjection()
{
    data::TOutputFile::SetFaultHook(std::move(mPreviousHook));
    data::TSystemTables::UseFiles(mPreviousFiles);
}

} // namespace qm::test
