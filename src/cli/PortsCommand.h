// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/OptionTable.h"

struct PortsRequest {
    bool json = false;
};

OptionTable PortsCommandOptions(PortsRequest& request);

// korvane-cli ports [--json]: the MIDI inputs and outputs play can open, with their
// system. A machine without any MIDI system is no error: none are listed, and standard
// error says what was tried.
int RunPortsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
