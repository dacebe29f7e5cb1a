// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The steps the ways of writing a file share (SafeFile.cpp, InPlaceWrite.cpp,
// Replacement.cpp).

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string_view>

#include "framework/ByteView.h"
#include "storage/FileSystem.h"

// The pieces' bytes are one run, written one piece after the other.
using Pieces = std::initializer_list<ByteView>;

// Names that say what a copy left beside a file holds: its old content, kept while
// it is overwritten, or new content that could not be put in its place.
inline constexpr std::string_view kOldCopySuffix = ".korvane-backup";
inline constexpr std::string_view kNewCopySuffix = ".korvane-new";

std::uint64_t TotalSize(Pieces pieces);

// Writes the part of the pieces that lies in [from, to).
bool WriteRange(FileSystem& system, const FileHandle& file, Pieces pieces, std::uint64_t from, std::uint64_t to);

// "NAME<suffix>" in folder, or "NAME<suffix>-2", "-3", ... where that is taken: a copy
// left from before is never overwritten. Empty when all are taken.
std::filesystem::path FreeCopyName(FileSystem& system, const std::filesystem::path& folder,
                                   const std::filesystem::path& file, std::string_view suffix);

// Writes the pieces to a new file under a free copy name in folder, no more readable
// than mode allows, flushed with its folder. Empty on failure, when nothing is left.
std::filesystem::path WriteCopyIn(FileSystem& system, const std::filesystem::path& folder,
                                  const std::filesystem::path& file, std::string_view suffix, std::uint32_t mode,
                                  Pieces pieces);
