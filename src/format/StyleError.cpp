// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/StyleError.h"

#include <cstdio>

std::string StyleError::Text() const {
    std::string text = message;
    const std::size_t placeholder = text.find("%x");
    if (placeholder != std::string::npos && offset) {
        char hex[2 * sizeof(std::size_t) + 1];
        std::snprintf(hex, sizeof hex, "%zx", *offset);
        text.replace(placeholder, 2, hex);
    }
    return text;
}
