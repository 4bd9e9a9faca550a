#pragma once

// A fresh program home for one test: a temporary folder set as QUILLMARK_HOME and as the current
// home, removed when the test ends.

#include "data/TProgramHome.h"

#include <QTemporaryDir>

namespace qm::test {

class TTestHome {
public:
    TTestHome();
    ~TTestHome();

    QString Dir() const { return mDir.path(); }
    QString Path(const QString& relative) const;
    const data::TProgramHome& Home() const { return mHome; }

private:
    QTemporaryDir mDir;
    data::TProgramHome mHome;
    data::TProgramHome mPrevious;
    QByteArray mPreviousEnv;
};

} // namespace qm::test
