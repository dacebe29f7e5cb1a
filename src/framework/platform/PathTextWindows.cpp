// SPDX-License-Identifier: GPL-3.0-or-later
// Paths on Windows: a name is UTF-16 text, passed on as its UTF-8.
#include "framework/platform/PathText.h"

std::string BytesOfPath(const std::filesystem::path& path) { return Utf8Of(path); }

std::filesystem::path PathFromBytes(const std::string& bytes) { return PathFromUtf8(bytes); }
