// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/EditOptions.h"
#include "cli/OptionTable.h"

// What save was asked to do.
struct SaveRequest {
    std::optional<std::string> title;      // code page 1252
    std::optional<std::string> copyright;  // code page 1252
    EditRequest edits;
    std::map<std::string, bool> options;
    std::optional<std::string> saveAs;
    bool overwrite = false;
    std::vector<std::string> files;
};

// The options of save, each setting its part of request: the edits and save's own.
OptionTable SaveCommandOptions(SaveRequest& request);

// korvane-cli save [EDITS] [-o NAME=0|1]... [--overwrite] [--save-as PATH] FILE...: loads each
// file, applies the edits and saves it through the editor's save, with the stored
// options as a new document takes them, each overridable with -o. Prints the path
// written, one line per file; every message the editor would show goes to err under
// the file's name.
int RunSaveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool showProgress);

// The options -o takes, by their settings names: every save option but the
// all-channels switch, which --volume and --percent set.
std::vector<std::string_view> DashOOptionNames();
