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

// A 64-bit hash of bytes given in pieces: FNV-1a's step taken a word of eight bytes at
// a time, in four lanes that take every fourth word, so that the steps of the lanes run
// side by side (one lane, each step waiting for the one before, cost a load of many
// styles as much as a fifth of the walk of their tracks); the lanes, then the words
// of an unfinished block of four, then its length are folded together at the end by
// the same step. Two different contents share one only by a chance of about 1 in 2^64,
// and contents of one length that differ in a single word never do (each step is a
// one-to-one map of its state, and of its word), which is all a record of a file's
// content needs: it guards against accidents, not against anyone who forges a file to
// match. How the bytes are cut into pieces does not matter: a save hashes what it
// writes in four pieces and compares it later with the file read whole.
class ContentHash {
public:
    void Add(ByteView bytes);
    std::uint64_t Value() const;

private:
    static constexpr std::size_t kLanes = 4;
    static constexpr std::size_t kWord = 8;
    static constexpr std::size_t kBlock = kLanes * kWord;
    static constexpr std::uint64_t kPrime = 1099511628211ull;
    static constexpr std::uint64_t kOffset = 14695981039346656037ull;

    static std::uint64_t WordAt(const std::uint8_t* bytes);
    static std::uint64_t Mixed(std::uint64_t value, std::uint64_t word) { return (value ^ word) * kPrime; }
    // Mixes count whole blocks, the lanes kept in registers meanwhile.
    void MixBlocks(const std::uint8_t* blocks, std::size_t count);

    // Each lane starts from its own value, so that words that trade lanes change the hash.
    std::uint64_t m_lanes[kLanes] = {kOffset, kOffset + 1, kOffset + 2, kOffset + 3};
    std::uint8_t m_partial[kBlock] = {};  // the bytes of an unfinished block
    unsigned m_partialCount = 0;
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
