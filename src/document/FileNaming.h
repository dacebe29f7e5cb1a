// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The rules that name the file a save writes. Names here are UTF-8, as file names
// are; the width of a name counts characters, not bytes.

inline constexpr std::size_t kFormattedNameWidth = 21;  // 20 characters and "$"

// Up to three digits and "_" at the start of a base name ("012_", "7_"), or "".
std::string NumberPrefix(std::string_view baseName);

// Each of : \ / ? " * . < > becomes "_"; everything else stays.
std::string ValidFileName(std::string name);

// A formatted name (21 characters ending in "$") loses its "$" to a space.
std::string UnformattedName(std::string name);

// Trailing blanks, tabs and line breaks removed.
std::string TrimmedName(std::string name);

// A name shorter than 21 characters filled with spaces to 20 and ended with "$";
// longer names are left as they are.
std::string FormattedName(std::string name);

std::size_t CharacterCount(std::string_view utf8);

// The folder and extension of requested with baseName in between.
std::filesystem::path PathWithBaseName(const std::filesystem::path& requested, const std::string& baseName);

// The base name (no folder, no extension) of a path, as UTF-8.
std::string BaseNameOf(const std::filesystem::path& path);

// The file name (base name and extension) of a path, as UTF-8.
std::string FileNameOf(const std::filesystem::path& path);
