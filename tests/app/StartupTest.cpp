// The editor started as separate programs: one copy runs per user, later starts hand
// their files to it. Each test gives the programs their own HOME, settings folder and
// runtime folder, and reads what opened from the recent-file list they keep.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QThread>
#include <memory>

#include "QtTestApp.h"
#include "StyleBytes.h"
#include "TempDir.h"
#include "app/InstanceLink.h"

namespace fs = std::filesystem;

namespace {

constexpr int kWaitMs = 20000;

Bytes Style(std::string_view title) { return StyleFile(BasicEvents(title) + TempoEvent(500000) + EndOfTrack()); }

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
    bool WaitUntilRunning() {
        CInstanceLink probe(Q(dir / "runtime"));
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < kWaitMs) {
            if (probe.ForwardToRunningCopy({})) return true;
            QThread::msleep(20);
        }
        return false;
    }

    // A later start hands over its files and ends at once, successfully.
    static bool EndsHandingOver(QProcess& process) {
        return process.waitForFinished(kWaitMs) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }

    // Every style a copy opened went to the top of its recent-file list.
    QStringList RecentFiles(int expected) const {
        QElapsedTimer timer;
        timer.start();
        QStringList files;
        do {
            QSettings settings(Q(dir / "config" / "Talvenhorn" / "Korvane - Yamaha Styles bearbeiten.conf"),
                               QSettings::IniFormat);
            files.clear();
            for (int i = 1; i <= 10; ++i) {
                const QString file = settings.value(QString("Recent File List/File%1").arg(i)).toString();
                if (!file.isEmpty()) files << file;
            }
            if (files.size() >= expected) break;
            QThread::msleep(20);
        } while (timer.elapsed() < kWaitMs);
        return files;
    }

    fs::path Write(const std::string& name) { return dir.Write("styles/" + name, Style("Test")); }

    TempDir dir;
    std::vector<std::unique_ptr<QProcess>> processes;
};

TEST_F(Startup, SecondStartHandsItsFileToTheRunningCopy) {
    const fs::path a = Write("a.sty");
    const fs::path b = Write("b.sty");
    QProcess& first = Start({Q(a)});
    ASSERT_TRUE(WaitUntilRunning());
    EXPECT_TRUE(EndsHandingOver(Start({Q(b)})));
    EXPECT_EQ(RecentFiles(2), (QStringList{Q(b), Q(a)}));
    // An open file is only activated: it does not move up the list as an opening would.
    EXPECT_TRUE(EndsHandingOver(Start({Q(a)})));
    EXPECT_TRUE(EndsHandingOver(Start({})));
    EXPECT_EQ(RecentFiles(2), (QStringList{Q(b), Q(a)}));
    EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(Startup, TwentyStartsAtOnceLeaveOneCopyWithEveryFileOpen) {
    // Ten files, each given to two of the starts: the list holds each once.
    QStringList files;
    for (int i = 0; i < 10; ++i) files << Q(Write("style" + std::to_string(i) + ".sty"));
    std::vector<QProcess*> starts;
    for (int i = 0; i < 20; ++i) starts.push_back(&Start({files[i % 10]}));
    int ended = 0;
    for (QProcess* start : starts) ended += start->waitForFinished(3000) && start->exitCode() == 0 ? 1 : 0;
    EXPECT_EQ(ended, 19);
    QStringList recent = RecentFiles(10);
    recent.sort();
    files.sort();
    EXPECT_EQ(recent, files);
}

TEST_F(Startup, RelativeNameFromAnotherFolderOpensTheRightFile) {
    fs::create_directories(dir / "styles" / "other");
    const fs::path other = dir.Write("styles/other/c.sty", Style("Other"));
    Start({});
    ASSERT_TRUE(WaitUntilRunning());
    EXPECT_TRUE(EndsHandingOver(Start({"c.sty"}, dir / "styles" / "other")));
    EXPECT_EQ(RecentFiles(1), QStringList{Q(other)});
}

TEST_F(Startup, LeftoversOfACrashedCopyDoNotBlockTheNextStart) {
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

TEST_F(Startup, NameWithCharactersBeyondAsciiOpens) {
    Start({});
    ASSERT_TRUE(WaitUntilRunning());
    const fs::path name = Write("Caf\xC3\xA9 \xC3\xBC\xE2\x82\xAC.sty");  // "Café ü€.sty"
    EXPECT_TRUE(EndsHandingOver(Start({QString::fromUtf8(name.string())})));
    EXPECT_EQ(RecentFiles(1), QStringList{QString::fromUtf8(name.string())});
}

}  // namespace
