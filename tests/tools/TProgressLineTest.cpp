#include "tools/TProgressLine.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

using qm::tools::TProgressLine;

TEST(TProgressLine, OnATerminalRewritesOneLineAndEndsIt)
{
    std::ostringstream err;
    {
        TProgressLine progress(err, "checking addr.csv", true, true);
        progress(0);
        progress(12);
        progress(12);
        progress.Callback()(100);
    }
    EXPECT_EQ(err.str(),
              "\rchecking addr.csv: 0%\rchecking addr.csv: 12%\rchecking addr.csv: 100%\n");

    std::ostringstream quiet;
    TProgressLine shortWork(quiet, "packing", false, true);
    shortWork(50);
    shortWork.Finish();
    EXPECT_EQ(quiet.str(), "");
}

TEST(TProgressLine, ElsewhereWritesNothing)
{
    std::ostringstream err;
    {
        TProgressLine progress(err, "checking addr.csv", true);
        for (int percent = 0; percent <= 100; ++percent)
            progress(percent);
    }
    EXPECT_EQ(err.str(), "");
    EXPECT_FALSE(TProgressLine::IsTerminal(err));
    EXPECT_FALSE(TProgressLine::IsTerminal(std::cout));
}
