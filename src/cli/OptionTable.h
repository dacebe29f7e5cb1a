// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One option a command takes: its name, whether a value follows it, and what it sets.
// take gets the value (empty for a switch) and returns a usage problem's text when
// the value is bad.
struct Option {
    std::string_view name;
    bool takesValue = false;
    std::function<std::optional<std::string>(const std::string& value)> take;
};
using OptionTable = std::vector<Option>;

// A switch that sets flag.
Option SwitchOption(std::string_view name, bool& flag);
// An option whose value is kept as given.
Option TextOption(std::string_view name, std::string& text);
Option TextOption(std::string_view name, std::optional<std::string>& text);

// Parses the arguments of command against its options. Every argument that is no
// option is a FILE, in order: one not starting with '-', "-" itself, and everything
// after "--". Returns the usage problem's text: an option the table does not have
// ("COMMAND: unknown option '...'"), one without its value, or what take said.
std::optional<std::string> ParseOptions(std::string_view command, const std::vector<std::string>& args,
                                        const OptionTable& options, std::vector<std::string>& files);
