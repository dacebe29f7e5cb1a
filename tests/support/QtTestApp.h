// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

// The application object for widget tests, created on first use: never while
// GoogleTest only lists the tests, which may happen without a display. It is never
// destroyed: at exit it would outlive the input devices that Qt Test registers.
inline QApplication& QtTestApp() {
    // Headless everywhere: Wine hands no QT_ variable on to a Windows program, so the
    // test program asks for the offscreen platform itself (and the editor it starts
    // inherits that).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "korvane_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}
