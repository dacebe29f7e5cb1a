// SPDX-License-Identifier: GPL-3.0-or-later
// The console on Windows: a code page of its own, and "\n" written as "\r\n" unless the
// stream is told otherwise.
// windows.h before the headers that build on it.
#include <windows.h>
// clang-format off
#include <fcntl.h>
#include <io.h>
// clang-format on

#include <cstdio>

#include "framework/platform/Console.h"

namespace {

// Lines end in a line feed alone, as on every other system, whatever reads them.
void WriteLineFeedsAsTheyAre(std::FILE* stream) { _setmode(_fileno(stream), _O_BINARY); }

}  // namespace

void SetUpConsoleOutput() {
    // What is printed is UTF-8, as the arguments are (ProgramArguments), so a console
    // shows it right.
    SetConsoleOutputCP(CP_UTF8);
    WriteLineFeedsAsTheyAre(stdout);
    WriteLineFeedsAsTheyAre(stderr);
}

void UseParentConsole() {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if ((out == nullptr || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        (void)std::freopen("CONOUT$", "w", stdout);
        (void)std::freopen("CONOUT$", "w", stderr);
    }
    WriteLineFeedsAsTheyAre(stdout);
}

bool StandardErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }
