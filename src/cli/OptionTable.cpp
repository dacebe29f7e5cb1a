// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/OptionTable.h"

#include <algorithm>

namespace {

// Reads args as the table does: each option with its value, every other argument a
// FILE. onOption gets the option found (nothing for a name the table lacks) and its
// value; a problem it returns ends the walk.
template <typename OnOption>
std::optional<std::string> WalkArguments(const std::vector<std::string>& args, const OptionTable& options,
                                         std::vector<std::string>& files, OnOption onOption) {
    bool optionsDone = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsDone || arg.empty() || arg[0] != '-' || arg == "-") {
            files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsDone = true;
            continue;
        }
        const auto option =
            std::find_if(options.begin(), options.end(), [&](const Option& o) { return o.name == arg; });
        const Option* found = option == options.end() ? nullptr : &*option;
        if (found && found->TakesValue() && i + 1 >= args.size()) return arg + " needs a value";
        const std::string value = found && found->TakesValue() ? args[++i] : std::string();
        if (std::optional<std::string> problem = onOption(arg, found, value)) return problem;
    }
    return std::nullopt;
}

}  // namespace

Option SwitchOption(std::string_view name, std::string_view group, std::string help, bool& flag) {
    return {name, {}, group, std::move(help), [&flag](const std::string&) -> std::optional<std::string> {
                flag = true;
                return std::nullopt;
            }};
}

Option TextOption(std::string_view name, std::string_view value, std::string_view group, std::string help,
                  std::string& text) {
    return {name, value, group, std::move(help), [&text](const std::string& given) -> std::optional<std::string> {
                text = given;
                return std::nullopt;
            }};
}

Option TextOption(std::string_view name, std::string_view value, std::string_view group, std::string help,
                  std::optional<std::string>& text) {
    return {name, value, group, std::move(help), [&text](const std::string& given) -> std::optional<std::string> {
                text = given;
                return std::nullopt;
            }};
}

std::optional<std::string> ParseOptions(std::string_view command, const std::vector<std::string>& args,
                                        const OptionTable& options, std::vector<std::string>& files) {
    return WalkArguments(
        args, options, files,
        [&](const std::string& arg, const Option* option, const std::string& value) -> std::optional<std::string> {
            if (!option) return std::string(command) + ": unknown option '" + arg + "'";
            return option->take(value);
        });
}

bool AsksForHelp(const std::vector<std::string>& args, const OptionTable& options) {
    bool asked = false;
    std::vector<std::string> files;
    // The walk stops at an option without its value: a usage error, unless help came first.
    WalkArguments(args, options, files,
                  [&](const std::string& arg, const Option* option, const std::string&) -> std::optional<std::string> {
                      if (!option && (arg == "--help" || arg == "-h")) asked = true;
                      return std::nullopt;
                  });
    return asked;
}
