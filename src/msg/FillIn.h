// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The text with each "%s" replaced by the next value.
inline std::string FillIn(std::string_view text, std::initializer_list<std::string> values) {
    std::string filled;
    auto value = values.begin();
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if (text.compare(pos, 2, "%s") == 0 && value != values.end()) {
            filled += *value++;
            ++pos;
        } else {
            filled += text[pos];
        }
    }
    return filled;
}
