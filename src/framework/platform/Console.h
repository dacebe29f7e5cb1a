// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the programs print reaches a console, a file or a pipe as the same bytes on every
// system: UTF-8 text whose lines end in a line feed alone. One file per system:
// ConsolePosix.cpp, ConsoleWindows.cpp.

// korvane-cli's standard output and standard error, set up before it prints anything. On
// Windows the console shows UTF-8 and "\n" is not written as "\r\n"; elsewhere a reader
// that went away (korvane-cli info ... | head -1) makes a write fail with an error
// instead of ending the program unseen.
void SetUpConsoleOutput();

// The editor is a window program, which Windows starts without a console: started from
// one, its answers to --help and --version go to that console, unless its output is
// already redirected, and their lines end in LF alone, as korvane-cli's do. Elsewhere a
// program has its standard output from the start: nothing to do.
void UseParentConsole();

// Whether standard error goes to a terminal, where korvane-cli shows its progress.
bool StandardErrorIsTerminal();
