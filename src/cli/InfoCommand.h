// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// korvane-cli info [--json] FILE...: loads each file as the editor does and prints
// what it holds, one JSON object per line with --json, a block for people without.
int RunInfoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
