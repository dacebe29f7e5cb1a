// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

// A path as UTF-8 text, whatever the system's code page: string() fails for a name
// that the code page cannot hold.
inline std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The path a UTF-8 text names, whatever the system's code page: a path made from a
// plain string takes the text in the code page on Windows.
inline std::filesystem::path PathFromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// A path as bytes that name the same file to another program of this system: the file
// system's own bytes, which need not be valid in any encoding, and on Windows, whose
// names are UTF-16, their UTF-8. PathFromBytes reads them back. One file per system:
// PathTextPosix.cpp, PathTextWindows.cpp.
std::string BytesOfPath(const std::filesystem::path& path);
std::filesystem::path PathFromBytes(const std::string& bytes);
