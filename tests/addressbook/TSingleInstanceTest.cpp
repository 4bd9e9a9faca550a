#include "addressbook/TSingleInstance.h"
#include "TTestHome.h"
#include "addressbook/ui/TAddressMain.h"
#include "data/TSettingsFile.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <thread>

using qm::addressbook::TAddressMain;
using qm::addressbook::TSingleInstance;

TEST(TSingleInstance, SecondCopyInTheSameHomeAsksTheFirstToRaise)
{
    qm::test::TTestHome home;
    TSingleInstance first(home.Dir());
    ASSERT_TRUE(first.Acquire());
    int raised = 0;
    QObject::connect(&first, &TSingleInstance::RaiseRequested, [&] { ++raised; });

    TSingleInstance second(home.Dir());
    EXPECT_FALSE(second.Acquire());
    // The answer needs the first copy's event loop, which in a real program is another process;
    // here a helper thread asks while this thread serves.
    bool answered = false;
    std::thread asker([&] { answered = second.AskRunningCopyToRaise(5000); });
    QTRY_COMPARE_WITH_TIMEOUT(raised, 1, 5000);
    asker.join();
    EXPECT_TRUE(answered);
}

TEST(TSingleInstance, SeparateHomesDoNotMeet)
{
    qm::test::TTestHome homeA;
    TSingleInstance a(homeA.Dir());
    ASSERT_TRUE(a.Acquire());
    qm::test::TTestHome homeB;
    TSingleInstance b(homeB.Dir());
    EXPECT_TRUE(b.Acquire());
    EXPECT_NE(a.ServerName(), b.ServerName());
}

TEST(TSingleInstance, RealSecondProcessExitsZeroAndRaisesTheMinimisedWindow)
{
    qm::test::TTestHome home;
    TSingleInstance first(home.Dir());
    ASSERT_TRUE(first.Acquire());
    qm::data::TSettingsFile(home.Home().SettingsPath()).WriteBool("Misc", "GettingStarted", true);
    TAddressMain window;
    QObject::connect(&first, &TSingleInstance::RaiseRequested, &window,
                     &TAddressMain::RaiseFromOtherCopy);
    window.show();
    window.showMinimized();
    ASSERT_TRUE(window.isMinimized());

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QUILLMARK_HOME", home.Dir());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(QM_BUILD_DIR "/bin/quillmark"), {});
    ASSERT_TRUE(second.waitForStarted(10000));
    // Serve the first copy's socket while the second process runs.
    QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 20000);
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!window.isMinimized(), 5000);
}
