// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

#include "storage/SafeFile.h"
#include "storage/WriteSteps.h"

// A temporary file beside the target, removed again unless it took the target's place
// or may hold the only copy of the new content (kept is then set).
class TemporaryFile {
public:
    explicit TemporaryFile(FileSystem& system) : m_system(system) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();

    // Created with the target's permissions at most (the umask may narrow them), so
    // the new content is never readable by more users than the old.
    bool CreateBeside(const std::filesystem::path& file, std::uint32_t mode);

    FileSystem& m_system;
    std::filesystem::path m_path;
    FileHandle m_file;
    bool m_kept = false;
};

// Puts the complete temporary file in place of file, which may exist. Where that
// fails, the disk decides what is done, not the error the system gave: a temporary
// file is never removed while its content may be the only copy of the style. It is
// put in place, or the old file is put back, or both are left under names that say
// what they hold (the result names them). content is what the temporary file holds.
WriteResult PutInPlace(FileSystem& system, const std::filesystem::path& file, TemporaryFile& temporary,
                       const Content& content);
