// SPDX-License-Identifier: GPL-3.0-or-later
#include "style/SafeFile.h"

#include <algorithm>
#include <new>
#include <string>
#include <system_error>
#include <utility>

#include "style/FileSystem.h"

namespace fs = std::filesystem;

namespace {

InPlaceWriteObserver& Observer() {
    static InPlaceWriteObserver observer;
    return observer;
}

std::uint64_t TotalSize(std::initializer_list<ByteView> pieces) {
    std::uint64_t total = 0;
    for (const ByteView piece : pieces) total += piece.size();
    return total;
}

// Writes the part of the pieces, taken as one run of bytes, that lies in [from, to).
bool WriteRange(const FileHandle& file, std::initializer_list<ByteView> pieces, std::uint64_t from, std::uint64_t to) {
    std::uint64_t offset = 0;
    for (const ByteView piece : pieces) {
        const std::uint64_t begin = std::max(from, offset);
        const std::uint64_t end = std::min(to, offset + piece.size());
        if (begin < end &&
            !file.WriteAt(piece.data() + (begin - offset), static_cast<std::size_t>(end - begin), begin)) {
            return false;
        }
        offset += piece.size();
    }
    return true;
}

// Reads the whole of an open file.
bool ReadAll(const FileHandle& file, const FileFacts& facts, std::vector<std::uint8_t>& bytes) {
    try {
        bytes.resize(static_cast<std::size_t>(facts.size));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return file.ReadAt(bytes.data(), bytes.size(), 0);
}

// Writes bytes to a new file "NAME.korvane-backup" (or "-2", "-3", ... where one is
// left from before, which is never overwritten) in folder, flushed. Empty on failure.
fs::path WriteBackupIn(const fs::path& folder, const fs::path& file, std::uint32_t mode, ByteView bytes) {
    constexpr int kMostBackups = 100;
    for (int n = 1; n <= kMostBackups; ++n) {
        fs::path name = file.filename();
        name += n == 1 ? ".korvane-backup" : ".korvane-backup-" + std::to_string(n);
        const fs::path path = folder / name;
        bool taken = false;
        const FileHandle backup = CreateNewFile(path, mode, taken);
        if (taken) continue;
        if (!backup) return {};
        if (backup.WriteAt(bytes.data(), bytes.size(), 0) && backup.Flush()) return path;
        RemoveFile(path);
        return {};
    }
    return {};
}

// A complete copy of the file as it is now: beside it, or in the user's cache folder
// where its folder takes no new file. Never more readable than the file. Empty when
// no copy could be made.
fs::path WriteBackup(const fs::path& file, const FileFacts& old) {
    FileFacts facts;
    const FileHandle in = OpenRegularFile(file, FileAccess::Read, facts);
    std::vector<std::uint8_t> bytes;
    if (!in || !ReadAll(in, facts, bytes)) return {};
    const std::uint32_t mode = old.mode & 0666;
    fs::path backup = WriteBackupIn(file.parent_path(), file, mode, bytes);
    if (backup.empty()) {
        if (const fs::path cache = CacheFolder(); !cache.empty()) backup = WriteBackupIn(cache, file, mode, bytes);
    }
    return backup;
}

// For a file that cannot be replaced by a new one. Nothing makes a write in place
// whole or nothing, so a complete copy of the old file is made first and removed only
// once the new content is on the disk: a save killed in between leaves that copy.
// What grows the file is written first: when the disk is full that fails while every
// old byte is still in place, and the file is cut back to its old size.
WriteOutcome WriteInPlace(const FileHandle& file, const fs::path& path, const FileFacts& old,
                          std::initializer_list<ByteView> pieces) {
    const fs::path backup = WriteBackup(path, old);
    if (backup.empty()) return WriteOutcome::CannotCreate;
    if (Observer()) Observer()(backup);
    const std::uint64_t total = TotalSize(pieces);
    if (total > old.size && !WriteRange(file, pieces, old.size, total)) {
        file.Resize(old.size);
        RemoveFile(backup);  // not one old byte was overwritten
        return WriteOutcome::WriteFailed;
    }
    // From here a failure may leave the file half old, half new: the copy stays.
    if (!WriteRange(file, pieces, 0, std::min(total, old.size))) return WriteOutcome::WriteFailed;
    if (total < old.size && !file.Resize(total)) return WriteOutcome::WriteFailed;
    if (!file.Flush()) return WriteOutcome::WriteFailed;
    RemoveFile(backup);
    return WriteOutcome::Written;
}

// A fixed set of names, each held by the save that writes it. A save that was killed
// leaves its file unheld, and the next save in that folder removes it. As many saves
// as there are names can run in one folder at once.
constexpr int kTemporaryNames = 64;

fs::path TemporaryName(const fs::path& file, int slot) {
    return file.parent_path() / (".korvane-" + std::to_string(slot) + ".tmp");
}

// A temporary file beside the target, removed again unless it took the target's place.
struct TemporaryFile {
    fs::path path;
    FileHandle file;
    bool placed = false;
    ~TemporaryFile() {
        if (path.empty() || placed) return;
        file.Close();
        RemoveFile(path);
    }
};

// Created with the target's permissions at most (the umask may narrow them), so the
// new content is never readable by more users than the old.
bool CreateTemporaryBeside(const fs::path& file, std::uint32_t mode, TemporaryFile& temporary) {
    for (int slot = 0; slot < kTemporaryNames; ++slot) RemoveIfAbandoned(TemporaryName(file, slot));
    for (int slot = 0; slot < kTemporaryNames; ++slot) {
        const fs::path path = TemporaryName(file, slot);
        bool taken = false;
        FileHandle created = CreateTemporaryFile(path, mode, taken);
        if (taken) continue;
        if (!created) return false;
        temporary.path = path;
        temporary.file = std::move(created);
        return true;
    }
    return false;
}

}  // namespace

void SetInPlaceWriteObserver(InPlaceWriteObserver observer) { Observer() = std::move(observer); }

fs::path FileBehindLinks(const fs::path& path) {
    // As many links as the system itself follows before it gives up on a loop.
    constexpr int kMostLinks = 40;
    fs::path current = path;
    for (int hop = 0; hop < kMostLinks; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error)) || error) return current;
        const fs::path next = fs::read_symlink(current, error);
        if (error) return current;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current;
}

bool CanReadRegularFile(const fs::path& path) {
    FileFacts facts;
    return static_cast<bool>(OpenRegularFile(path, FileAccess::Read, facts));
}

ReadOutcome ReadWholeFile(const fs::path& path, std::uintmax_t minSize, std::uintmax_t maxSize,
                          const std::function<std::uint8_t*(std::size_t)>& allocate) {
    FileFacts facts;
    const FileHandle file = OpenRegularFile(path, FileAccess::Read, facts);
    if (!file) return ReadOutcome::CannotOpen;
    if (facts.size < minSize || facts.size > maxSize) return ReadOutcome::BadSize;
    const auto size = static_cast<std::size_t>(facts.size);
    std::uint8_t* bytes = size ? allocate(size) : nullptr;
    if (size && !bytes) return ReadOutcome::NoMemory;
    return file.ReadAt(bytes, size, 0) ? ReadOutcome::Read : ReadOutcome::ShortRead;
}

ReadOutcome ReadWholeFile(const fs::path& path, std::vector<std::uint8_t>& bytes, std::uintmax_t minSize,
                          std::uintmax_t maxSize) {
    return ReadWholeFile(path, minSize, maxSize, [&bytes](std::size_t size) -> std::uint8_t* {
        try {
            bytes.assign(size, 0);
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
        return bytes.data();
    });
}

WriteOutcome WriteFileSafely(const fs::path& target, std::initializer_list<ByteView> pieces) {
    const fs::path file = FileBehindLinks(target);
    FileFacts old;
    FileHandle existing;
    switch (ProbeName(file)) {
        case Presence::Present:
            // Whether this user may write the file is the system's to say (owner, mode,
            // access lists, a read-only attribute or mount), so it is asked by opening it.
            existing = OpenRegularFile(file, FileAccess::Write, old);
            if (!existing) return WriteOutcome::CannotCreate;
            break;
        case Presence::Missing: break;
        case Presence::Unknown: return WriteOutcome::CannotCreate;
    }

    // Putting a new file in place of one with several names would split them.
    if (existing && old.links > 1) return WriteInPlace(existing, file, old, pieces);
    TemporaryFile temporary;
    if (!CreateTemporaryBeside(file, existing ? (old.mode & 0777) : 0666, temporary)) {
        if (existing) return WriteInPlace(existing, file, old, pieces);
        return WriteOutcome::CannotCreate;
    }
    // A file that would change hands is written in place instead.
    if (existing && !TakeOwnerAndMode(temporary.file, old)) return WriteInPlace(existing, file, old, pieces);
    existing.Close();
    if (!WriteRange(temporary.file, pieces, 0, TotalSize(pieces)) || !temporary.file.Flush()) {
        return WriteOutcome::WriteFailed;
    }
    temporary.placed = ReplaceFileWith(file, temporary.path, temporary.file);
    return temporary.placed ? WriteOutcome::Written : WriteOutcome::WriteFailed;
}
