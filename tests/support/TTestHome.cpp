#include "TTestHome.h"

#include <QDir>

namespace qm::test {

TTestHome::TTestHome()
    : mHome(mDir.path()), mPrevious(data::TProgramHome::Current()),
      mPreviousEnv(qgetenv("QUILLMARK_HOME"))
{
    qputenv("QUILLMARK_HOME", mDir.path().toUtf8());
    data::TProgramHome::SetCurrent(mHome);
}

TTestHome::~TTestHome()
{
    data::TProgramHome::SetCurrent(mPrevious);
    if (mPreviousEnv.isEmpty())
        qunsetenv("QUILLMARK_HOME");
    else
        qputenv("QUILLMARK_HOME", mPreviousEnv);
}

QString TTestHome::Path(const QString& relative) const
{
    return QDir(mDir.path()).filePath(relative);
}

} // namespace qm::test
