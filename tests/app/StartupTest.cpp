// SPDX-License-Identifier: GPL-3.0-or-later
// The editor started as separate programs: one copy runs per user, later starts hand
// their files to it. Each test gives the programs their own HOME, settings folder and
// runtime folder, and reads what opened from the recent-file list they keep.

#include <gtest/gtest.h>

#include <QProcess>
#include <QSettings>
#include <QTest>
#include <memory>

#include "QtTestApp.h"
#include "RunProgram.h"
#include "StyleBytes.h"
#include "TempDir.h"
#include "app/InstanceLink.h"
#include "framework/Version.h"

namespace fs = std::filesystem;

namespace {

constexpr int kWaitMs = 20000;

QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

class Startup : public testing::Test {
protected:
    Startup() {
        QtTestApp();
        for (const char* folder : {"home", "config", "runtime", "styles"}) fs::create_directories(dir / folder);
        fs::permissions(dir / "runtime", fs::perms::owner_all);  // as a runtime folder must be
    }
    ~Startup() override {
        for (const auto& process : processes) {
            process->kill();
            process->waitForFinished(kWaitMs);
        }
    }

    QProcess& Start(const QStringList& files, const fs::path& workingFolder = {}) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", Q(dir / "home"));
        environment.insert("XDG_CONFIG_HOME", Q(dir / "config"));
        environment.insert("XDG_RUNTIME_DIR", Q(dir / "runtime"));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        process->setProcessEnvironment(environment);
        process->setWorkingDirectory(Q(workingFolder.empty() ? dir / "styles" : workingFolder));
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(KORVANE_APP_PATH, files);
        EXPECT_TRUE(process->waitForStarted(kWaitMs));
        processes.push_back(std::move(process));
        return *processes.back();
    }

    // A copy is running once its socket answers.
    bool WaitUntilRunning() const {
        CInstanceLink probe(Q(dir / "runtime"));
        return QTest::qWaitFor([&probe] { return probe.ForwardToRunningCopy({}); }, kWaitMs);
    }

    // A later start hands over its files and ends at once, successfully.
    static bool EndsHandingOver(QProcess& process) {
        return process.waitForFinished(kWaitMs) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }

    // Every style a copy opened went to the top of its recent-file list.
    QStringList RecentFiles(int expected) const {
        QStringList files;
        (void)QTest::qWaitFor(
            [&] {
                QSettings settings(Q(dir / "config" / "Talvenhorn" / "Korvane - Yamaha Styles bearbeiten.conf"),
                                   QSettings::IniFormat);
                settings.beginGroup("Recent File List");
                files.clear();
                for (int i = 1; i <= 10; ++i) files << settings.value(QString("File%1").arg(i)).toString();
                files.removeAll(QString());
                return files.size() >= expected;
            },
            kWaitMs);
        return files;
    }

    fs::path Write(const std::string& name) { return dir.Write("styles/" + name, MinimalStyle()); }

    TempDir dir;
    std::vector<std::unique_ptr<QProcess>> processes;
};

// Later starts hand over a plain name, an open file (only activated: it does not move
// up the list as an opening would), no name, a name relative to another folder and one
// beyond ASCII, then end at once; the first copy keeps running with what they gave it.
TEST_F(Startup, LaterStartsHandTheirFilesToTheRunningCopy) {
#ifdef _WIN32
    GTEST_SKIP() << "on Windows the copies meet in TEMP and keep their recent files in the registry, not in the "
                    "folders this test gives; the start under Wine covers both";
#endif
    const fs::path a = Write("a.sty");
    const fs::path b = Write("b.sty");
    fs::create_directories(dir / "styles" / "other");
    const fs::path other = Write("other/c.sty");
    const QString cafe = QString::fromUtf8(Write("Caf\xC3\xA9 \xC3\xBC\xE2\x82\xAC.sty").string());  // "Café ü€.sty"
    QProcess& first = Start({Q(a)});
    ASSERT_TRUE(WaitUntilRunning());
    const std::pair<QStringList, fs::path> starts[] = {
        {{Q(b)}, {}}, {{Q(a)}, {}}, {{}, {}}, {{"c.sty"}, dir / "styles" / "other"}, {{cafe}, {}}};
    for (const auto& [files, folder] : starts)
        EXPECT_TRUE(EndsHandingOver(Start(files, folder))) << files.join("").toStdString();
    EXPECT_EQ(RecentFiles(4), (QStringList{cafe, Q(other), Q(b), Q(a)}));
    EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(Startup, TwentyStartsAtOnceLeaveOneCopyWithEveryFileOpen) {
#ifdef _WIN32
    GTEST_SKIP() << "on Windows the copies meet in TEMP and keep their recent files in the registry, not in the "
                    "folders this test gives; the start under Wine covers both";
#endif
    // Ten files, each given to two of the starts: the list holds each once.
    QStringList files;
    for (int i = 0; i < 10; ++i) files << Q(Write("style" + std::to_string(i) + ".sty"));
    std::vector<QProcess*> starts;
    for (int i = 0; i < 20; ++i) starts.push_back(&Start({files[i % 10]}));
    // All but the running copy end, each having handed its file over.
    const auto ended = [&starts] {
        return std::count_if(starts.begin(), starts.end(),
                             [](QProcess* start) { return start->state() == QProcess::NotRunning; });
    };
    QElapsedTimer timer;
    timer.start();
    while (ended() < 19 && timer.elapsed() < kWaitMs) {
        for (QProcess* start : starts) start->waitForFinished(10);
    }
    ASSERT_EQ(ended(), 19);
    for (QProcess* start : starts) {
        if (start->state() != QProcess::NotRunning) continue;
        EXPECT_TRUE(start->exitStatus() == QProcess::NormalExit && start->exitCode() == 0);
    }
    QStringList recent = RecentFiles(10);
    recent.sort();
    files.sort();
    EXPECT_EQ(recent, files);
}

TEST_F(Startup, LeftoversOfACrashedCopyDoNotBlockTheNextStart) {
#ifdef _WIN32
    GTEST_SKIP() << "on Windows the copies meet in TEMP and keep their recent files in the registry, not in the "
                    "folders this test gives; the start under Wine covers both";
#endif
    QProcess& crashed = Start({});
    ASSERT_TRUE(WaitUntilRunning());
    crashed.kill();  // no clean-up: its socket stays behind
    crashed.waitForFinished(kWaitMs);
    const fs::path a = Write("a.sty");
    QProcess& next = Start({Q(a)});
    ASSERT_TRUE(WaitUntilRunning());
    EXPECT_EQ(RecentFiles(1), QStringList{Q(a)});
    EXPECT_EQ(next.state(), QProcess::Running);
}

// The manual page is made from --help and --version while building, where there may be
// no display: both answer without one, and no copy starts.
TEST(CommandLine, HelpAndVersionNeedNoDisplay) {
    TempDir dir;
    const std::vector<std::string> noDisplay = {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=xcb",
                                                "XDG_RUNTIME_DIR=" + dir.path().string()};
    const ProgramResult help = RunProgram(KORVANE_APP_PATH, {"--help"}, dir.path(), noDisplay);
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_EQ(help.out.rfind("Usage: korvane [FILE]...\n", 0), 0u) << help.out;
    const ProgramResult version = RunProgram(KORVANE_APP_PATH, {"--version"}, dir.path(), noDisplay);
    EXPECT_EQ(version.status, 0) << version.err;
    EXPECT_EQ(version.out, std::string("korvane ") + kKorvaneVersion + "\n");
}

}  // namespace
