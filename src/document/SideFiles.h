// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

// A style's exported CASM chunk and OTS chunk lie beside it: the style's path with a
// final ".sty" (any case) replaced by ".csm" or ".ots"; any other ending is kept and
// the side extension appended ("Pop.prs" gives "Pop.prs.csm").
std::filesystem::path CasmSideFilePath(const std::filesystem::path& stylePath);
std::filesystem::path OtsSideFilePath(const std::filesystem::path& stylePath);
