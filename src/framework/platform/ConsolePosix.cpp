// SPDX-License-Identifier: GPL-3.0-or-later
// The console on POSIX systems: bytes go out as they are written.
#include <unistd.h>

#include <csignal>

#include "framework/platform/Console.h"

// A write to a pipe nobody reads any more fails with EPIPE instead of raising SIGPIPE.
void SetUpConsoleOutput() { std::signal(SIGPIPE, SIG_IGN); }

void UseParentConsole() {}

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) != 0; }
