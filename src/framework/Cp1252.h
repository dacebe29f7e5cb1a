// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Texts inside style files and the program's messages are single bytes in Windows
// code page 1252. These convert them at the edge to and from UTF-8.

std::string Cp1252ToUtf8(std::string_view text);

// Nothing when the text is not valid UTF-8 or holds a character that code page 1252
// cannot represent.
std::optional<std::string> Utf8ToCp1252(std::string_view text);

// For a message that names a file: every character code page 1252 cannot hold, and
// every byte that is not valid UTF-8, becomes "?".
std::string Cp1252ForDisplay(std::string_view text);

// Replaces every byte that is not part of valid UTF-8 with U+FFFD, so that foreign
// bytes (a file name from another system) can be shown without breaking the output.
std::string SanitizeUtf8(std::string_view text);

// The length of the valid UTF-8 character at text[pos], or 0 when the bytes there
// are not one.
std::size_t Utf8CharacterLength(std::string_view text, std::size_t pos);
