// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/OptionTable.h"

#include <algorithm>

Option SwitchOption(std::string_view name, bool& flag) {
    return {name, false, [&flag](const std::string&) -> std::optional<std::string> {
                flag = true;
                return std::nullopt;
            }};
}

Option TextOption(std::string_view name, std::string& text) {
    return {name, true, [&text](const std::string& value) -> std::optional<std::string> {
                text = value;
                return std::nullopt;
            }};
}

Option TextOption(std::string_view name, std::optional<std::string>& text) {
    return {name, true, [&text](const std::string& value) -> std::optional<std::string> {
                text = value;
                return std::nullopt;
            }};
}

std::optional<std::string> ParseOptions(std::string_view command, const std::vector<std::string>& args,
                                        const OptionTable& options, std::vector<std::string>& files) {
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
        if (option == options.end()) return std::string(command) + ": unknown option '" + arg + "'";
        if (option->takesValue && i + 1 >= args.size()) return arg + " needs a value";
        if (std::optional<std::string> problem = option->take(option->takesValue ? args[++i] : std::string())) {
            return problem;
        }
    }
    return std::nullopt;
}
