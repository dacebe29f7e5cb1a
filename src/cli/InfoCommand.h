// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/OptionTable.h"

// What info was asked to do.
struct InfoRequest {
    bool json = false;
    std::vector<std::string> files;
};

// The options of info, each setting its part of request.
OptionTable InfoCommandOptions(InfoRequest& request);

// korvane-cli info [--json] FILE...: loads each file as the editor does and prints
// what it holds, one JSON object per line with --json, a block for people without.
int RunInfoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
