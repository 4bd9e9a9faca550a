#include "tools/TProgressLine.h"

#include <cstdio>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#define QM_ISATTY _isatty
#define QM_FILENO _fileno
#else
#include <unistd.h>
#define QM_ISATTY isatty
#define QM_FILENO fileno
#endif

namespace qm::tools {

TProgressLine::TProgressLine(std::ostream& err, std::string label, bool enabled)
    : TProgressLine(err, std::move(label), enabled, IsTerminal(err))
{
}

TProgressLine::TProgressLine(std::ostream& err, std::string label, bool enabled, bool terminal)
    : mErr(err), mLabel(std::move(label)), mEnabled(enabled && terminal)
{
}

TProgressLine::~TProgressLine()
{
    Finish();
}

void TProgressLine::operator()(int percent)
{
    if (!mEnabled || percent == mLast)
        return;
    mLast = percent;
    mErr << '\r' << mLabel << ": " << percent << '%' << std::flush;
}

void TProgressLine::Finish()
{
    if (mEnabled && mLast >= 0)
        mErr << '\n' << std::flush;
    mLast = -1;
    mEnabled = false;
}

xbase::TProgress TProgressLine::Callback()
{
    return [this](int percent) { (*this)(percent); };
}

bool TProgressLine::IsTerminal(const std::ostream& stream)
{
    if (&stream != &std::cerr && &stream != &std::clog)
        return false;
    return QM_ISATTY(QM_FILENO(stderr)) != 0;
}

} // namespace qm::tools
