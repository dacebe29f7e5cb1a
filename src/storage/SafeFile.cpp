// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/SafeFile.h"

#include <new>

#include "storage/FileNames.h"
#include "storage/InPlaceWrite.h"
#include "storage/Replacement.h"

namespace fs = std::filesystem;

namespace {

bool CanOpenRegularFile(FileSystem& system, const fs::path& path, FileAccess access) {
    FileFacts facts;
    return static_cast<bool>(system.OpenRegularFile(AbsolutePath(path), access, facts));
}

}  // namespace

bool CanReadRegularFile(FileSystem& system, const fs::path& path) {
    return CanOpenRegularFile(system, path, FileAccess::Read);
}

bool CanWriteRegularFile(FileSystem& system, const fs::path& path) {
    return CanOpenRegularFile(system, path, FileAccess::Write);
}

bool ReadFileStart(FileSystem& system, const fs::path& path, std::size_t size, std::vector<std::uint8_t>& bytes) {
    FileFacts facts;
    const FileHandle file = system.OpenRegularFile(AbsolutePath(path), FileAccess::Read, facts);
    if (!file || facts.size < size) return false;
    bytes.resize(size);
    return ReadAt(system, file, bytes.data(), size, 0);
}

ReadOutcome ReadWholeFile(FileSystem& system, const fs::path& path, std::uintmax_t minSize, std::uintmax_t maxSize,
                          const std::function<std::uint8_t*(std::size_t)>& allocate) {
    FileFacts facts;
    const FileHandle file = system.OpenRegularFile(AbsolutePath(path), FileAccess::Read, facts);
    if (!file) return ReadOutcome::CannotOpen;
    if (facts.size < minSize || facts.size > maxSize) return ReadOutcome::BadSize;
    const auto size = static_cast<std::size_t>(facts.size);
    std::uint8_t* bytes = size ? allocate(size) : nullptr;
    if (size && !bytes) return ReadOutcome::NoMemory;
    return ReadAt(system, file, bytes, size, 0) ? ReadOutcome::Read : ReadOutcome::ShortRead;
}

ReadOutcome ReadWholeFile(FileSystem& system, const fs::path& path, std::vector<std::uint8_t>& bytes,
                          std::uintmax_t minSize, std::uintmax_t maxSize) {
    return ReadWholeFile(system, path, minSize, maxSize, [&bytes](std::size_t size) -> std::uint8_t* {
        try {
            bytes.assign(size, 0);
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
        return bytes.data();
    });
}

WriteResult WriteFileSafely(FileSystem& system, const fs::path& target, std::initializer_list<ByteView> pieces) {
    const fs::path file = FileBehindLinks(system, target);
    FileFacts old;
    FileHandle existing;
    switch (system.ProbeName(file)) {
        case Presence::Present:
            // Whether this user may write the file is the system's to say (owner, mode,
            // access lists, a read-only attribute or mount), so it is asked by opening it.
            existing = system.OpenRegularFile(file, FileAccess::Write, old);
            if (!existing) return {WriteOutcome::CannotCreate};
            break;
        case Presence::Missing:
            if (IsFolderMissing(system, file)) return {WriteOutcome::NoFolder};
            break;
        case Presence::Unknown: return {WriteOutcome::CannotCreate};
    }

    // Putting a new file in place of one with several names would split them.
    if (existing && old.links > 1) return WriteInPlace(system, existing, file, old, pieces);
    TemporaryFile temporary(system);
    if (!temporary.CreateBeside(file, existing ? (old.mode & 0777) : 0666)) {
        if (existing) return WriteInPlace(system, existing, file, old, pieces);
        return {WriteOutcome::CannotCreate};
    }
    // A file that would change hands is written in place instead.
    if (existing && !system.TakeOwnerAndMode(temporary.m_file, old)) {
        return WriteInPlace(system, existing, file, old, pieces);
    }
    existing.Close();
    if (!WriteRange(system, temporary.m_file, pieces, 0, TotalSize(pieces)) || !system.Flush(temporary.m_file)) {
        return {WriteOutcome::WriteFailed};
    }
    return PutInPlace(system, file, temporary, pieces);
}
