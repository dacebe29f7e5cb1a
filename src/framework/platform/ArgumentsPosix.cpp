// SPDX-License-Identifier: GPL-3.0-or-later
// The arguments on POSIX systems: argv holds them as the system passed them.
#include "framework/platform/Arguments.h"

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return args;
}
