// SPDX-License-Identifier: GPL-3.0-or-later
// Paths on POSIX systems: a name is bytes, which need not be valid in any encoding.
#include "framework/platform/PathText.h"

std::string BytesOfPath(const std::filesystem::path& path) { return path.native(); }

std::filesystem::path PathFromBytes(const std::string& bytes) { return std::filesystem::path(bytes); }
