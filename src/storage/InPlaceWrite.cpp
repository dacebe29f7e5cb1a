// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/InPlaceWrite.h"

#include <algorithm>
#include <utility>

namespace fs = std::filesystem;

namespace {

InPlaceWriteObserver& Observer() {
    static InPlaceWriteObserver observer;
    return observer;
}

// A complete copy of the file as it is now: beside it, or in the user's cache folder
// where its folder takes no new file. Never more readable than the file. Empty when
// no copy could be made. The file is copied in blocks, however long it is.
fs::path WriteBackup(FileSystem& system, const fs::path& file, const FileFacts& old) {
    FileFacts facts;
    const FileHandle in = system.OpenRegularFile(file, FileAccess::Read, facts);
    if (!in) return {};
    const FileContent bytes(in, file, facts.size);
    const std::uint32_t mode = old.mode & 0666;
    fs::path backup = WriteCopyIn(system, file.parent_path(), file, kOldCopySuffix, mode, bytes);
    if (backup.empty()) {
        if (const fs::path cache = system.CacheFolder(); !cache.empty()) {
            backup = WriteCopyIn(system, cache, file, kOldCopySuffix, mode, bytes);
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
                         const Content& content) {
    const fs::path backup = WriteBackup(system, path, old);
    if (backup.empty()) return {WriteOutcome::CannotCreate};
    if (Observer()) Observer()(backup);
    const std::uint64_t total = content.Size();
    if (total > old.size && !content.WriteRange(system, file, old.size, total)) {
        system.Resize(file, old.size);
        RemoveBackup(system, backup);  // not one old byte was overwritten
        return {WriteOutcome::WriteFailed};
    }
    // From here a failure may leave the file half old, half new: the copy stays.
    const WriteResult broken{WriteOutcome::WriteFailed, backup, {}};
    if (!content.WriteRange(system, file, 0, std::min(total, old.size))) return broken;
    if (total < old.size && !system.Resize(file, total)) return broken;
    if (!system.Flush(file)) return broken;
    RemoveBackup(system, backup);
    return {WriteOutcome::Written};
}
