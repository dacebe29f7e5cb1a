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

void ContentHash::Add(ByteView bytes) {
    if (bytes.empty()) return;  // an empty piece may have no data pointer for memcpy
    std::size_t pos = 0;
    if (m_partialCount != 0) {
        pos = std::min(sizeof m_partial - m_partialCount, bytes.size());
        std::memcpy(m_partial + m_partialCount, bytes.data(), pos);
        m_partialCount += static_cast<unsigned>(pos);
        if (m_partialCount < sizeof m_partial) return;
        Mix(WordAt(m_partial));
        m_partialCount = 0;
    }
    for (; bytes.size() - pos >= sizeof m_partial; pos += sizeof m_partial) Mix(WordAt(bytes.data() + pos));
    m_partialCount = static_cast<unsigned>(bytes.size() - pos);
    std::memcpy(m_partial, bytes.data() + pos, m_partialCount);
}

std::uint64_t ContentHash::Value() const {
    if (m_partialCount == 0) return m_value;
    // The unfinished word, zero-filled, then its length: both one-to-one steps.
    std::uint8_t last[sizeof m_partial] = {};
    std::memcpy(last, m_partial, m_partialCount);
    return ((m_value ^ WordAt(last)) * kPrime ^ m_partialCount) * kPrime;
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
