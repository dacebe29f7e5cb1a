// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>

// A failure found in a style file: one of the texts of style_messages and, for the
// texts that name a place, the offset into the file image.
struct StyleError {
    std::string message;
    std::optional<std::size_t> offset;

    static StyleError At(std::string message, std::size_t offset) { return {std::move(message), offset}; }
    // The text as the user sees it, the offset filled in.
    std::string Text() const;
};

using MaybeStyleError = std::optional<StyleError>;
