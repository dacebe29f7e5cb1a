// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/HelpText.h"

#include <algorithm>

std::string Wrapped(std::string_view lead, std::string_view text, std::size_t indent) {
    std::string out(lead);
    // The lead needs a space after it, unless it ends in one.
    if (!out.empty() && !text.empty() && (out.size() > indent || (out.size() == indent && out.back() != ' '))) {
        out += '\n';
    }
    std::size_t lineStart = out.rfind('\n') == std::string::npos ? 0 : out.rfind('\n') + 1;
    bool lineHasWord = false;
    out.resize(std::max(out.size(), lineStart + indent), ' ');
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        const std::string_view word = text.substr(at, end - at);
        at = end + 1;
        if (word.empty()) continue;
        if (lineHasWord && out.size() - lineStart + 1 + word.size() > kHelpWidth) {
            out += '\n';
            lineStart = out.size();
            out.append(indent, ' ');
            lineHasWord = false;
        }
        if (lineHasWord) out += ' ';
        out += word;
        lineHasWord = true;
    }
    return out + '\n';
}

std::string OptionEntries(const OptionTable& options, std::string_view group) {
    std::string entries;
    for (const Option& option : options) {
        if (option.group != group) continue;
        std::string lead = "  " + std::string(option.name);
        if (option.TakesValue()) lead += " " + std::string(option.value);
        entries += Wrapped(lead, option.help);
    }
    return entries;
}
