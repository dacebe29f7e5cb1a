// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for the editor's start-up: the least Qt program that shows a main
// window, one empty QMainWindow of the editor's first-run size, titled
// "Minimal Qt Window".

#include <QApplication>
#include <QMainWindow>

#include "app/WindowPlacement.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Minimal Qt Window"));
    window.resize(kDefaultMainWindowSize);
    window.show();
    return app.exec();
}
