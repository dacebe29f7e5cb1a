// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/InPlaceWrite.h"

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

InPlaceWriteObserver& Observer() {
    static InPlaceWriteObserver observer;
    return observer;
}

// Reads the whole of an open file.
bool ReadAll(FileSystem& system, const FileHandle& file, const FileFacts& facts, std::vector<std::uint8_t>& bytes) {
    try {
        bytes.resize(static_cast<std::size_t>(facts.size));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return ReadAt(system, file, bytes.data(), bytes.size(), 0);
}

// A complete copy of the file as it is now: beside it, or in the user's cache folder
// where its folder takes no new file. Never more readable than the file. Empty when
// no copy could be made.
fs::path WriteBackup(FileSystem& system, const fs::path& file, const FileFacts& old) {
    FileFacts facts;
    const FileHandle in = system.OpenRegularFile(file, FileAccess::Read, facts);
    std::vector<std::uint8_t> bytes;
    if (!in || !ReadAll(system, in, facts, bytes)) return {};
    const std::uint32_t mode = old.mode & 0666;
    fs::path backup = WriteCopyIn(system, file.parent_path(), file, kOldCopySuffix, mode, {bytes});
    if (backup.empty()) {
        if (const fs::path cache = system.CacheFolder(); !cache.empty()) {
            backup = WriteCopyIn(system, cache, file, kOldCopySuffix, mode, {bytes});
        }
    }
    return backup;
}

void RemoveBackup(FileSystem& system, const fs::path& backup) {
    if (system.Remove(backup)) system.FlushFolder(backup.parent_path());
}

}  // namespace

void SetInPlaceWriteObserver(InPlaceWriteObserver observer) { Observer() = std::move(observer); }

// What grows the file is written first: when the disk is full that fails while every
// old byte is still in place, and the file is cut back to its old size.
WriteResult WriteInPlace(FileSystem& system, const FileHandle& file, const fs::path& path, const FileFacts& old,
                         Pieces pieces) {
    const fs::path backup = WriteBackup(system, path, old);
    if (backup.empty()) return {WriteOutcome::CannotCreate};
    if (Observer()) Observer()(backup);
    const std::uint64_t total = TotalSize(pieces);
    if (total > old.size && !WriteRange(system, file, pieces, old.size, total)) {
        system.Resize(file, old.size);
        RemoveBackup(system, backup);  // not one old byte was overwritten
        return {WriteOutcome::WriteFailed};
    }
    // From here a failure may leave the file half old, half new: the copy stays.
    const WriteResult broken{WriteOutcome::WriteFailed, backup, {}};
    if (!WriteRange(system, file, pieces, 0, std::min(total, old.size))) return broken;
    if (total < old.size && !system.Resize(file, total)) return broken;
    if (!system.Flush(file)) return broken;
    RemoveBackup(system, backup);
    return {WriteOutcome::Written};
}
