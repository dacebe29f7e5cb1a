#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <vector>

#include "style/ByteOrder.h"

// Files the program writes are written whole or not at all: into a temporary file
// beside the target, renamed over the target once complete.

// The target exists and may not be replaced: a folder, or a file without write
// permission (a write-protected file stays protected even for an administrator).
bool IsWriteProtected(const std::filesystem::path& target);

enum class WriteOutcome { Written, CannotCreate, WriteFailed };

// Writes the pieces one after the other. CannotCreate: nothing could be started
// (a missing folder, no permission, a protected target); WriteFailed: writing or
// renaming failed. Either way the target is as it was and no temporary file is left.
WriteOutcome WriteFileAtomically(const std::filesystem::path& target, std::initializer_list<ByteView> pieces);

enum class ReadOutcome { Read, CannotOpen, NoMemory, ShortRead };

// Reads a whole file; files above maxSize count as no memory for them.
ReadOutcome ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes, std::uintmax_t maxSize);
