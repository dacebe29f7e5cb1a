// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the editor's main window on made-up styles, for measuring and for the
// README's picture:
//
//   korvane_editor_window [--styles N] [--screenshot FILE.png]
//
// It prints the milliseconds from entering main to the main window shown with the
// first style, and with all N, and the peak resident memory. Settings live in memory
// only; the styles are written to a temporary folder and removed again.

#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "MadeUpStyle.h"
#include "TempDir.h"
#include "app/MainFrame.h"
#include "framework/Profile.h"
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
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--styles") == 0) styles = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--screenshot") == 0) screenshot = argv[i + 1];
    }

    QApplication app(argc, argv);
    CMemoryProfile profile;
    SetAppProfile(&profile);
    CMainFrame frame;
    CQtMessagePresenter presenter([&frame]() -> QWidget* { return &frame; });
    InstallMessagePresenter(&presenter);
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
    if (screenshot && !frame.grab().save(screenshot)) {
        std::fprintf(stderr, "cannot write %s\n", screenshot);
        return 1;
    }
    InstallMessagePresenter(nullptr);
    SetAppProfile(nullptr);
    return 0;
}
