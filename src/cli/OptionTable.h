// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One option a command takes: its name, the name of the value that follows it (empty
// for a switch), the heading the help lists it under, what it does as the help says it
// (one paragraph; the help lays it out), and what it sets. take gets the value (empty
// for a switch) and returns a usage problem's text when the value is bad.
struct Option {
    std::string_view name;
    std::string_view value;
    std::string_view group;
    std::string help;
    std::function<std::optional<std::string>(const std::string& value)> take;

    bool TakesValue() const { return !value.empty(); }
};
using OptionTable = std::vector<Option>;

// A switch that sets flag.
Option SwitchOption(std::string_view name, std::string_view group, std::string help, bool& flag);
// An option whose value is kept as given.
Option TextOption(std::string_view name, std::string_view value, std::string_view group, std::string help,
                  std::string& text);
Option TextOption(std::string_view name, std::string_view value, std::string_view group, std::string help,
                  std::optional<std::string>& text);

// Parses the arguments of command against its options. Every argument that is no
// option is a FILE, in order: one not starting with '-', "-" itself, and everything
// after "--". Returns the usage problem's text: an option the table does not have
// ("COMMAND: unknown option '...'"), one without its value, or what take said.
std::optional<std::string> ParseOptions(std::string_view command, const std::vector<std::string>& args,
                                        const OptionTable& options, std::vector<std::string>& files);

// Whether args ask for the command's help: --help or -h where an option may stand,
// whatever else they hold. A value ("--title -h") or a FILE after "--" asks nothing.
bool AsksForHelp(const std::vector<std::string>& args, const OptionTable& options);
