// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// The program's arguments after its name, from argc and argv as main() got them, in the
// bytes paths take on this system (PathFromBytes in PathText.h reads one as a path): on
// Windows UTF-8, read from the wide command line, since argv holds only what the system's
// code page can spell ("Café ü€.sty" would arrive as "Caf? ??.sty"); elsewhere argv's own
// bytes, UTF-8 in a UTF-8 locale. Both programs read them here. One file per system:
// ArgumentsPosix.cpp, ArgumentsWindows.cpp.
std::vector<std::string> ProgramArguments(int argc, char** argv);
