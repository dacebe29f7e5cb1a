// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a document knows of the file it was loaded from, or last saved to, so that a
// save can tell whether somebody else has changed or replaced that file since: a
// second program, a sync tool or a copy in a shell.

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>

#include "framework/ByteView.h"
#include "storage/FileSystem.h"

// A 64-bit FNV-1a hash of bytes given in pieces. Two different contents share one
// only by a chance of about 1 in 2^64, and contents that differ in a single byte
// never do (each step of the hash is a one-to-one map of its state), which is all a
// record of a file's content needs: it guards against accidents, not against anyone
// who forges a file to match.
class ContentHash {
public:
    void Add(ByteView bytes);
    std::uint64_t Value() const { return m_value; }

private:
    std::uint64_t m_value = 14695981039346656037ull;
};

struct LoadedFileRecord {
    // Which file it was, its size and when it was last written; nothing when the
    // system could not say (the content then decides alone) or when there is no file.
    std::optional<FileIdentity> identity;
    std::uint64_t size = 0;  // of the bytes read or written
    std::uint64_t hash = 0;  // ContentHash of them
    bool known = false;      // false: nothing was loaded or saved yet
};

// The record of a file whose identity was taken before its content was read (or
// after it was written) and whose content is pieces, one after the other. Taken in
// that order, a write that slips in between shows as a change, never as none.
LoadedFileRecord RecordOfFile(std::optional<FileIdentity> identity, std::initializer_list<ByteView> pieces);

enum class FileOnDisk {
    AsRecorded,  // the same file with the same content
    Changed,     // another file, or other content, or content that cannot be read back
    Gone,        // no file under the name any more
};

// How the file under path stands against record. Nothing recorded: AsRecorded, as
// there is nothing to keep.
FileOnDisk CompareWithRecord(FileSystem& files, const std::filesystem::path& path, const LoadedFileRecord& record);
