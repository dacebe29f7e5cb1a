// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/LoadedFileRecord.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "storage/FileNames.h"
#include "storage/SafeFile.h"

// Words are read in the machine's byte order: the hash never leaves the process that made it.
std::uint64_t ContentHash::WordAt(const std::uint8_t* bytes) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

void ContentHash::MixBlocks(const std::uint8_t* blocks, std::size_t count) {
    static_assert(kLanes == 4);
    std::uint64_t a = m_lanes[0], b = m_lanes[1], c = m_lanes[2], d = m_lanes[3];
    for (const std::uint8_t* block = blocks; count > 0; --count, block += kBlock) {
        a = Mixed(a, WordAt(block));
        b = Mixed(b, WordAt(block + kWord));
        c = Mixed(c, WordAt(block + 2 * kWord));
        d = Mixed(d, WordAt(block + 3 * kWord));
    }
    m_lanes[0] = a;
    m_lanes[1] = b;
    m_lanes[2] = c;
    m_lanes[3] = d;
}

void ContentHash::Add(ByteView bytes) {
    if (bytes.empty()) return;  // an empty piece may have no data pointer for memcpy
    std::size_t pos = 0;
    if (m_partialCount != 0) {
        pos = std::min(kBlock - m_partialCount, bytes.size());
        std::memcpy(m_partial + m_partialCount, bytes.data(), pos);
        m_partialCount += static_cast<unsigned>(pos);
        if (m_partialCount < kBlock) return;
        MixBlocks(m_partial, 1);
        m_partialCount = 0;
    }
    const std::size_t blocks = (bytes.size() - pos) / kBlock;
    MixBlocks(bytes.data() + pos, blocks);
    pos += blocks * kBlock;
    m_partialCount = static_cast<unsigned>(bytes.size() - pos);
    std::memcpy(m_partial, bytes.data() + pos, m_partialCount);
}

std::uint64_t ContentHash::Value() const {
    std::uint64_t value = kOffset;
    for (const std::uint64_t lane : m_lanes) value = Mixed(value, lane);
    // The unfinished block, zero-filled to whole words, then its length: one-to-one steps.
    std::uint8_t last[kBlock] = {};
    std::memcpy(last, m_partial, m_partialCount);
    for (std::size_t pos = 0; pos < m_partialCount; pos += kWord) value = Mixed(value, WordAt(last + pos));
    return Mixed(value, m_partialCount);
}

LoadedFileRecord RecordOfFile(std::optional<FileIdentity> identity, std::initializer_list<ByteView> pieces) {
    LoadedFileRecord record;
    record.identity = identity;
    ContentHash hash;
    for (const ByteView piece : pieces) {
        hash.Add(piece);
        record.size += piece.size();
    }
    record.hash = hash.Value();
    record.known = true;
    return record;
}

// Another file, size or modification time is a change, seen without reading a byte.
// When all three agree the file is still read and its content compared: the time
// alone can be fooled. A file system with coarse times (two seconds on FAT, whole
// seconds on some network shares) keeps the time of a write that falls in the same
// tick, and tools that copy or restore files (cp -p, rsync, unpackers) set the old
// time on new content on purpose. A style is at most 200,000 bytes, read once per
// save, so the read costs next to nothing beside the write it guards.
FileOnDisk CompareWithRecord(FileSystem& files, const std::filesystem::path& path, const LoadedFileRecord& record) {
    if (!record.known) return FileOnDisk::AsRecorded;
    const std::optional<FileIdentity> now = IdentityOfFile(files, path);
    if (!now) return FileOnDisk::Gone;
    if (record.identity && *now != *record.identity) return FileOnDisk::Changed;
    std::vector<std::uint8_t> bytes;
    if (ReadWholeFile(files, path, bytes, record.size, record.size) != ReadOutcome::Read) return FileOnDisk::Changed;
    ContentHash hash;
    hash.Add(bytes);
    return hash.Value() == record.hash ? FileOnDisk::AsRecorded : FileOnDisk::Changed;
}
