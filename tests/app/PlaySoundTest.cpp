// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's Play through a real sound server: a PulseAudio daemon of the test's own
// with one null sink, whose monitor is recorded while the editor plays. Skipped, with
// the reason, where pulseaudio or the synthesizer is missing.

#include <QElapsedTimer>
#include <QProcess>
#include <QSlider>
#include <QStandardPaths>
#include <QStatusBar>
#include <QThread>
#include <cmath>
#include <fstream>

#include "FrameFixture.h"
#include "app/PlayCommands.h"
#include "app/SoundModuleLoader.h"
#include "framework/platform/qt/QtPaths.h"
#include "msg/FillIn.h"
#include "msg/PlayMessages.h"
#include "options/PlaybackSettings.h"

namespace {

const char* const kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
constexpr int kRate = 44100;
// TimGM6mb's organ at volume 100 reads about -25 dBFS; the null sink's silence reads
// nothing at all (or zeros).
constexpr double kSounding = -60.0;
constexpr double kSilent = -90.0;

// Tempo 120, an organ on channel 12 (a keyboard's first chord part, which plays its
// C major chord as recorded over the C Maj7 held when no chord is given) at volume 100
// holding a chord through every bar of Main A, so the sound is steady while it plays.
Bytes OrganStyle() {
    Bytes events = BasicEvents("Organ") + TempoEvent(500000) + Bytes{0x00, 0xCB, 16} + VolumeEvent(11, 100) +
                   MarkerEvent("Main A");
    for (int note : {60, 64, 67}) events += NoteOn(11, static_cast<std::uint8_t>(note), 100);
    events += Bytes{0x83, 0x60, 0x8B, 60, 0} + Running(64, 0) + Running(67, 0);  // a bar: 480 ticks at 120 a quarter
    return StyleFile(events + EndOfTrack());
}

bool Installed(const char* program) { return !QStandardPaths::findExecutable(program).isEmpty(); }

// A PulseAudio daemon with a null sink, in a home of its own, and parec recording the
// sink's monitor into a file.
class NullSink {
public:
    explicit NullSink(const std::filesystem::path& home) : m_home(home) {
        const QString dir = QStringFromPath(home);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME"}) env.insert(name, dir);
        m_server = "unix:" + dir + "/native";
        env.insert("PULSE_SERVER", m_server);
        m_daemon.setProcessEnvironment(env);
        m_daemon.start("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
                                      "--use-pid-file=no", "--load=module-null-sink sink_name=sink",
                                      "--load=module-native-protocol-unix auth-anonymous=1 socket=" + dir + "/native"});
        QElapsedTimer waited;
        waited.start();
        while (!std::filesystem::exists(home / "native") && waited.elapsed() < 10000) QThread::msleep(20);
        if (!std::filesystem::exists(home / "native")) return;
        m_recorder.setProcessEnvironment(env);
        m_recorder.start("parec", {"-d", "sink.monitor", "--format=s16le", "--rate=44100", "--channels=2",
                                   "--latency-msec=20", "--file-format=raw", QStringFromPath(Recording())});
        m_recorder.waitForStarted();
        m_ready = true;
    }
    ~NullSink() {
        for (QProcess* process : {&m_recorder, &m_daemon}) {
            process->terminate();
            if (!process->waitForFinished(3000)) process->kill();
            process->waitForFinished(3000);
        }
    }

    bool Ready() const { return m_ready; }
    QString Server() const { return m_server; }
    std::filesystem::path Recording() const { return m_home / "monitor.raw"; }

    // dBFS of the last seconds the sink played; -300 for silence.
    double Level(double seconds) const {
        std::ifstream file(Recording(), std::ios::binary | std::ios::ate);
        const std::streamoff size = file ? static_cast<std::streamoff>(file.tellg()) : 0;
        const std::streamoff want = static_cast<std::streamoff>(seconds * kRate) * 4;
        const std::streamoff from = std::max<std::streamoff>(0, (size - want) / 4 * 4);
        std::vector<std::int16_t> samples(static_cast<std::size_t>((size - from) / 2));
        file.seekg(from);
        file.read(reinterpret_cast<char*>(samples.data()), static_cast<std::streamsize>(samples.size() * 2));
        double power = 0;
        for (const std::int16_t sample : samples) power += (sample / 32768.0) * (sample / 32768.0);
        if (samples.empty() || power == 0) return -300;
        return 10 * std::log10(power / static_cast<double>(samples.size()));
    }

private:
    std::filesystem::path m_home;
    QString m_server;
    QProcess m_daemon;
    QProcess m_recorder;
    bool m_ready = false;
};

class PlaySound : public FrameFixture {
protected:
    void SetUp() override {
#ifndef KORVANE_SOUND_MODULE_PATH
        GTEST_SKIP() << "this build has no synthesizer";
#else
        frame->PlayCommands().SetSynthesizer(SoundModuleOutput(KORVANE_SOUND_MODULE_PATH));
#endif
        if (!Installed("pulseaudio") || !Installed("parec")) {
            GTEST_SKIP() << "pulseaudio and parec (Debian: pulseaudio, pulseaudio-utils) are not installed";
        }
        if (!std::filesystem::exists(kSoundFont))
            GTEST_SKIP() << kSoundFont << " (Debian: timgm6mb-soundfont) is missing";
        profile.WriteProfileString(kPlaybackSection, kSoundFontEntry, kSoundFont);
        ASSERT_TRUE(frame->OpenStyle(dir.Write("Organ.sty", OrganStyle())));
    }
    void TearDown() override {
        frame.reset();
        qunsetenv("PULSE_SERVER");
        qunsetenv("PULSE_CLIENTCONFIG");
        qunsetenv("ALSA_CONFIG_PATH");
    }

    // Runs the event loop while the sound plays, until the sink's level of the last
    // moments passes the bound (or 5 s have gone by); returns that level.
    double WaitForLevel(const NullSink& sink, bool above, double bound) {
        QElapsedTimer waited;
        waited.start();
        double level = sink.Level(0.2);
        while ((above ? level <= bound : level >= bound) && waited.elapsed() < 5000) {
            QTest::qWait(50);
            level = sink.Level(0.2);
        }
        return level;
    }

    QSlider* Slider() const { return static_cast<QSlider*>(frame->ActiveStyleDialog()->Control(form_id::kSlider)); }
    TempDir serverHome;
};

}  // namespace

// Play is heard, the slider at 0 % silences the sound while it plays and 100 % brings
// it back, and Stop silences it.
TEST_F(PlaySound, HeardUntilSliderOrStopSilencesIt) {
    NullSink sink(serverHome.path());
    ASSERT_TRUE(sink.Ready()) << "the PulseAudio daemon did not start";
    qputenv("PULSE_SERVER", sink.Server().toUtf8());

    frame->PlayCommands().OnPlay();
    ASSERT_TRUE(presenter.boxes.empty()) << presenter.boxes[0].text;
    EXPECT_GT(WaitForLevel(sink, true, kSounding), kSounding) << "Play is heard";
    Slider()->setValue(0);
    EXPECT_LT(WaitForLevel(sink, false, kSilent), kSilent) << "the slider at 0 % silences it";
    EXPECT_NE(frame->PlayCommands().PlayingFrame(), nullptr) << "without stopping it";
    Slider()->setValue(100);
    EXPECT_GT(WaitForLevel(sink, true, kSounding), kSounding) << "100 % brings it back";
    frame->PlayCommands().OnStop();
    EXPECT_LT(WaitForLevel(sink, false, kSilent), kSilent) << "Stop silences it";
    EXPECT_TRUE(presenter.boxes.empty());
}

// Read by the synthesizer itself: one box naming the file and the way to another.
TEST_F(PlaySound, AMissingSoundFontIsNamedWithTheWayToAnother) {
    const auto missing = serverHome / "Gone.sf2";
    profile.WriteProfileString(kPlaybackSection, kSoundFontEntry, missing.string());
    frame->PlayCommands().OnPlay();
    ExpectOneBox(FillIn(play_messages::kSoundFontUnreadable, {missing.string()}));
    EXPECT_EQ(frame->PlayCommands().PlayingFrame(), nullptr);
}

// No server, no sound card: one box that names what was tried, and no status bar.
TEST_F(PlaySound, WithoutAnyServerTheEditorShowsItsOneError) {
    qputenv("PULSE_SERVER", QByteArray("unix:" + QFile::encodeName(QStringFromPath(serverHome / "none"))));
    const auto clientConfig = serverHome.Write("client.conf", Bytes::Text("autospawn = no\n"));
    qputenv("PULSE_CLIENTCONFIG", QFile::encodeName(QStringFromPath(clientConfig)));
    // ALSA without its configuration has no devices, whatever the machine's sound card.
    const auto alsaConfig = serverHome.Write("asound.conf", Bytes::Text(""));
    qputenv("ALSA_CONFIG_PATH", QFile::encodeName(QStringFromPath(alsaConfig)));

    frame->PlayCommands().OnPlay();
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].text.rfind("No audio output could be opened!\n\n(Tried: pulseaudio", 0), 0u)
        << presenter.boxes[0].text;
    EXPECT_EQ(frame->PlayCommands().PlayingFrame(), nullptr);
    EXPECT_EQ(frame->findChild<QStatusBar*>(), nullptr);
}
