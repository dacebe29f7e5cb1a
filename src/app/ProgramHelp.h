// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <ostream>

// `korvane --help` and `korvane --version` are answered before the application object
// is made, so they need no display: the manual page is made from them while building.
// The exit status when the first argument asks for one of them; nothing otherwise.
std::optional<int> AnswerHelpOrVersion(int argc, char** argv, std::ostream& out);
bool AsksForHelpOrVersion(int argc, char** argv);
