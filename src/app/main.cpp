// SPDX-License-Identifier: GPL-3.0-or-later
#include <iostream>

#include "app/KorvaneApp.h"
#include "app/ProgramHelp.h"
#include "framework/platform/Console.h"

int main(int argc, char** argv) {
    if (AsksForHelpOrVersion(argc, argv)) UseParentConsole();
    if (const std::optional<int> status = AnswerHelpOrVersion(argc, argv, std::cout)) return *status;
    CKorvaneApp app(argc, argv);
    if (!app.InitInstance()) return app.ExitInstance();
    app.exec();
    return app.ExitInstance();
}
