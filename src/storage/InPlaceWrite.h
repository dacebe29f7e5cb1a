// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

#include "storage/SafeFile.h"
#include "storage/WriteSteps.h"

// For a file that cannot be replaced by a new one (several hard links, a folder that
// takes no new file, an owner the process cannot give a new file). Nothing makes a
// write in place whole or nothing, so a complete copy of the old file is made first
// and removed only once the new content is on the disk: a save killed in between, or
// one that fails after it began to overwrite the file, leaves that copy.
WriteResult WriteInPlace(FileSystem& system, const FileHandle& file, const std::filesystem::path& path,
                         const FileFacts& old, const Content& content);
