// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the editor's main window on made-up styles, for measuring and for the
// README's picture:
//
//   korvane_editor_window [--styles N] [--screenshot FILE.png] [--play SECONDS]
//
// It prints the milliseconds from entering main to the main window shown with the
// first style, and with all N, and the peak resident memory. With --play it then plays
// the active style (Play in its menu, the system's SoundFont, the sound server there
// is: ../shared/tools/sound-sink) for that many seconds and prints the peak resident
// memory again, and how long the first Play took to start the sound; a failure is
// printed, not shown in a box. Settings live in memory only; the styles are written to
// a temporary folder and removed again.

#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "MadeUpStyle.h"
#include "TempDir.h"
#include "app/MainFrame.h"
#include "app/PlayCommands.h"
#include "app/SoundModuleLoader.h"
#include "framework/Profile.h"
#include "msg/StderrPresenter.h"
#include "msg/qt/QtMessagePresenter.h"

namespace {

long PeakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    int styles = 1;
    const char* screenshot = nullptr;
    int playSeconds = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--styles") == 0) styles = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--screenshot") == 0) screenshot = argv[i + 1];
        if (std::strcmp(argv[i], "--play") == 0) playSeconds = std::atoi(argv[i + 1]);
    }

    QApplication app(argc, argv);
    CMemoryProfile profile;
    SetAppProfile(&profile);
    CMainFrame frame;
    CQtMessagePresenter presenter([&frame]() -> QWidget* { return &frame; });
    CStderrPresenter printed;
    InstallMessagePresenter(playSeconds > 0 ? static_cast<CMessagePresenter*>(&printed) : &presenter);
#ifdef KORVANE_SOUND_MODULE_PATH
    frame.PlayCommands().SetSynthesizer(SoundModuleOutput(KORVANE_SOUND_MODULE_PATH));
#endif
    TempDir dir;
    const Bytes style = MadeUpStyle();

    frame.show();
    for (int i = 0; i < styles; ++i) {
        frame.OpenStyle(dir.Write(i == 0 ? "Sunny Bossa.sty" : "Sunny Bossa " + std::to_string(i) + ".sty", style));
        if (i == 0) {
            QApplication::processEvents();
            std::printf("first style shown: %lld ms\n", static_cast<long long>(sinceStart.elapsed()));
        }
    }
    QApplication::processEvents();
    std::printf("%d styles shown: %lld ms, peak resident memory %ld kB\n", styles,
                static_cast<long long>(sinceStart.elapsed()), PeakResidentKilobytes());
    if (playSeconds > 0) {
        QElapsedTimer play;
        play.start();
        frame.PlayCommands().OnPlay();
        std::printf("first Play: %lld ms to load the synthesizer and its SoundFont and start the sound\n",
                    static_cast<long long>(play.elapsed()));
        QEventLoop playing;
        QTimer::singleShot(playSeconds * 1000, &playing, &QEventLoop::quit);
        playing.exec();
        // The made-up sections are a moment long: their sound ends after its decay, with
        // the synthesizer, its SoundFont and the audio driver still loaded.
        std::printf("played %d s: peak resident memory %ld kB\n", playSeconds, PeakResidentKilobytes());
    }
    if (screenshot && !frame.grab().save(screenshot)) {
        std::fprintf(stderr, "cannot write %s\n", screenshot);
        return 1;
    }
    InstallMessagePresenter(nullptr);
    SetAppProfile(nullptr);
    return 0;
}
