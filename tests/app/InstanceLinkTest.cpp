// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <cstdlib>

#include "QtTestApp.h"
#include "TempDir.h"
#include "app/InstanceLink.h"

namespace {

class InstanceLink : public testing::Test {
protected:
    InstanceLink() { QtTestApp(); }
    QString Folder() const { return QString::fromStdString(dir.path().string()); }
    TempDir dir;
};

TEST_F(InstanceLink, NamesReachTheRunningCopyByteForByte) {
#ifdef _WIN32
    GTEST_SKIP() << "a named pipe is answered only by its server's event loop, which a second link in the same thread "
                    "blocks; the start under Wine hands files over between two copies";
#endif
    CInstanceLink running(Folder());
    ASSERT_TRUE(running.Listen());
    QSignalSpy opened(&running, &CInstanceLink::OpenRequested);
    QSignalSpy activated(&running, &CInstanceLink::ActivateRequested);

    const QByteArray latin1 = "/styles/Caf\xE9 \xFF.sty";  // not UTF-8: forwarded as the bytes it is
    const QByteArray longest(1200, 'x');
    for (const QByteArray& name : {QByteArray("/styles/Pop.sty"), latin1, longest, QByteArray()}) {
        CInstanceLink second(Folder());
        EXPECT_TRUE(second.ForwardToRunningCopy(name));
    }
    ASSERT_TRUE(QTest::qWaitFor([&activated] { return activated.count() >= 4; }));  // handled by the running side
    ASSERT_EQ(opened.count(), 3);                                                   // no name, nothing to open
    EXPECT_EQ(opened[0][0].toByteArray(), "/styles/Pop.sty");
    EXPECT_EQ(opened[1][0].toByteArray(), latin1);
    EXPECT_EQ(opened[2][0].toByteArray(), QByteArray(999, 'x'));  // cut to keep its terminating zero
}

// The running copy shows the loader's message for a name that does not open: the
// box's event loop finishes the connection meanwhile, which must not pull the socket
// from under the reading of it.
TEST_F(InstanceLink, OpeningAForwardedNameMayShowABox) {
#ifdef _WIN32
    GTEST_SKIP() << "a named pipe is answered only by its server's event loop, which a second link in the same thread "
                    "blocks; the start under Wine hands files over between two copies";
#endif
    CInstanceLink running(Folder());
    ASSERT_TRUE(running.Listen());
    int opened = 0;
    QObject::connect(&running, &CInstanceLink::OpenRequested, [&opened] {
        QEventLoop box;
        QTimer::singleShot(200, &box, &QEventLoop::quit);
        box.exec();
        ++opened;
    });
    for (const char* name : {"/styles/Bogus.sty", "/styles/Pop.sty"}) {
        CInstanceLink second(Folder());
        EXPECT_TRUE(second.ForwardToRunningCopy(name));
    }
    EXPECT_TRUE(QTest::qWaitFor([&opened] { return opened == 2; }));
}

TEST_F(InstanceLink, LeftoversOfACrashedCopyDoNotBlockTheNextStart) {
    CInstanceLink next(Folder());
    EXPECT_FALSE(next.ForwardToRunningCopy("/styles/Pop.sty"));  // no copy runs at all
    // A socket name that answers no one, and a lock whose process is gone.
    QFile leftover(next.SocketPath());
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();
    // This test program, run again, takes the lock and ends as a crash would.
    QProcess crashed;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("KORVANE_TEST_CRASH_HOLDING_LOCK", Folder());
    crashed.setProcessEnvironment(environment);
    crashed.start(
        QCoreApplication::applicationFilePath(),
        {"--gtest_filter=InstanceLinkHelper.DISABLED_CrashHoldingTheLock", "--gtest_also_run_disabled_tests"});
    ASSERT_TRUE(crashed.waitForFinished(60000));
    ASSERT_EQ(crashed.exitCode(), 0) << crashed.readAllStandardOutput().toStdString();
    ASSERT_TRUE(QFile::exists(Folder() + "/Korvane.lock"));

    ASSERT_TRUE(next.LockStartup());
    EXPECT_FALSE(next.ForwardToRunningCopy("/styles/Pop.sty"));
    EXPECT_TRUE(next.Listen());
    next.UnlockStartup();
}

// Run only by the test above, in a process of its own: it ends holding the lock,
// skipping every destructor, as a crashed copy would.
TEST(InstanceLinkHelper, DISABLED_CrashHoldingTheLock) {
    const char* folder = std::getenv("KORVANE_TEST_CRASH_HOLDING_LOCK");
    if (folder == nullptr) GTEST_SKIP();
    CInstanceLink crashed(QString::fromLocal8Bit(folder));
    std::_Exit(crashed.LockStartup() ? 0 : 1);
}

}  // namespace
