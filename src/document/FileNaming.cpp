// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/FileNaming.h"

#include <algorithm>

#include "framework/platform/PathText.h"

std::string NumberPrefix(std::string_view baseName) {
    if (baseName.size() < 2) return {};
    std::size_t digits = 0;
    while (digits < baseName.size() && digits < 4 && baseName[digits] >= '0' && baseName[digits] <= '9') ++digits;
    if (digits == 0 || digits > 3 || digits >= baseName.size() || baseName[digits] != '_') return {};
    return std::string(baseName.substr(0, digits + 1));
}

std::string ValidFileName(std::string name) {
    constexpr std::string_view kInvalid = ":\\/?\"*.<>";
    std::replace_if(
        name.begin(), name.end(), [&](char c) { return kInvalid.find(c) != std::string_view::npos; }, '_');
    return name;
}

std::size_t CharacterCount(std::string_view utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string UnformattedName(std::string name) {
    if (CharacterCount(name) == kFormattedNameWidth && name.back() == '$') name.back() = ' ';
    return name;
}

std::string TrimmedName(std::string name) {
    const std::size_t last = name.find_last_not_of(" \t\r\n\v\f");
    name.erase(last == std::string::npos ? 0 : last + 1);
    return name;
}

std::string FormattedName(std::string name) {
    const std::size_t count = CharacterCount(name);
    if (count >= kFormattedNameWidth) return name;
    name.append(kFormattedNameWidth - 1 - count, ' ');
    return name + "$";
}

std::string BaseNameOf(const std::filesystem::path& path) { return Utf8Of(path.stem()); }

std::string FileNameOf(const std::filesystem::path& path) { return Utf8Of(path.filename()); }

std::filesystem::path PathWithBaseName(const std::filesystem::path& requested, const std::string& baseName) {
    return requested.parent_path() / PathFromUtf8(baseName + Utf8Of(requested.extension()));
}
