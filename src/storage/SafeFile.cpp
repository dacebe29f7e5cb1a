// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/SafeFile.h"

#include <new>
#include <optional>

#include "storage/FileNames.h"
#include "storage/InPlaceWrite.h"
#include "storage/Replacement.h"

namespace fs = std::filesystem;

namespace {

bool CanOpenRegularFile(FileSystem& system, const fs::path& path, FileAccess access) {
    FileFacts facts;
    return static_cast<bool>(system.OpenRegularFile(AbsolutePath(path), access, facts));
}

// The file a write gives new content: the one behind any links, and where it exists
// already, what it is now, open for writing.
struct Target {
    fs::path file;
    FileFacts old;
    FileHandle existing;
};

// Why the target may not be written, nothing when it may: CannotCreate for one that
// exists but that this user could not open for writing (whether he may is the system's
// to say: owner, mode, access lists, a read-only attribute or mount, so it is asked by
// opening it) and for a name that cannot be looked up; NoFolder for a new file in a
// folder that is not there.
std::optional<WriteOutcome> OpenTarget(FileSystem& system, const fs::path& path, Target& target) {
    target.file = FileBehindLinks(system, path);
    switch (system.ProbeName(target.file)) {
        case Presence::Present:
            target.existing = system.OpenRegularFile(target.file, FileAccess::Write, target.old);
            if (!target.existing) return WriteOutcome::CannotCreate;
            return std::nullopt;
        case Presence::Missing:
            if (IsFolderMissing(system, target.file)) return WriteOutcome::NoFolder;
            return std::nullopt;
        case Presence::Unknown: return WriteOutcome::CannotCreate;
    }
    return WriteOutcome::CannotCreate;
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
    const PiecesContent content(pieces);
    Target opened;
    if (const std::optional<WriteOutcome> refused = OpenTarget(system, target, opened)) return {*refused};
    auto& [file, old, existing] = opened;

    // Putting a new file in place of one with several names would split them.
    if (existing && old.links > 1) return WriteInPlace(system, existing, file, old, content);
    TemporaryFile temporary(system);
    if (!temporary.CreateBeside(file, existing ? (old.mode & 0777) : 0666)) {
        if (existing) return WriteInPlace(system, existing, file, old, content);
        return {WriteOutcome::CannotCreate};
    }
    // A file that would change hands is written in place instead.
    if (existing && !system.TakeOwnerAndMode(temporary.m_file, old)) {
        return WriteInPlace(system, existing, file, old, content);
    }
    existing.Close();
    if (!content.WriteRange(system, temporary.m_file, 0, content.Size()) || !system.Flush(temporary.m_file)) {
        return {WriteOutcome::WriteFailed};
    }
    return PutInPlace(system, file, temporary, content);
}

// The blocks always go to a temporary file. Where the file is to be written in place,
// that file is only a store of the new content, copied over the file at the end (in
// the user's cache folder where the file's own folder takes no new file).
struct SafeFileWriter::Write {
    explicit Write(FileSystem& system) : system(system), temporary(system) {}

    FileSystem& system;
    Target target;
    TemporaryFile temporary;
    bool inPlace = false;
    std::uint64_t size = 0;
    std::optional<WriteOutcome> failed;
};

SafeFileWriter::SafeFileWriter(FileSystem& system, const fs::path& target) : m_write(std::make_unique<Write>(system)) {
    Write& write = *m_write;
    write.failed = OpenTarget(system, target, write.target);
    if (write.failed) return;
    write.failed = WriteOutcome::CannotCreate;
    auto& [file, old, existing] = write.target;
    const std::uint32_t mode = existing ? (old.mode & 0777) : 0666;
    write.inPlace = existing && old.links > 1;
    if (!write.temporary.CreateBeside(file, mode)) {
        if (!existing) return;
        const fs::path cache = system.CacheFolder();
        if (cache.empty() || !write.temporary.CreateBeside(cache / file.filename(), mode)) return;
        write.inPlace = true;
    } else if (existing && !write.inPlace && !system.TakeOwnerAndMode(write.temporary.m_file, old)) {
        write.inPlace = true;
    }
    if (!write.inPlace) existing.Close();
    write.failed.reset();
}

SafeFileWriter::~SafeFileWriter() = default;

bool SafeFileWriter::Append(ByteView bytes) {
    if (!m_write || m_write->failed) return false;
    Write& write = *m_write;
    if (!WriteAt(write.system, write.temporary.m_file, bytes.data(), bytes.size(), write.size)) {
        write.failed = WriteOutcome::WriteFailed;
        return false;
    }
    write.size += bytes.size();
    return true;
}

bool SafeFileWriter::Overwrite(std::uint64_t offset, ByteView bytes) {
    if (!m_write || m_write->failed) return false;
    Write& write = *m_write;
    if (offset > write.size || bytes.size() > write.size - offset ||
        !WriteAt(write.system, write.temporary.m_file, bytes.data(), bytes.size(), offset)) {
        write.failed = WriteOutcome::WriteFailed;
        return false;
    }
    return true;
}

// The write ends here, whatever its outcome: the temporary file goes with it.
WriteResult SafeFileWriter::Commit() {
    if (!m_write) return {WriteOutcome::WriteFailed};
    const std::unique_ptr<Write> ending = std::move(m_write);
    Write& write = *ending;
    if (write.failed) return {*write.failed};
    auto& [file, old, existing] = write.target;
    const FileContent content(write.temporary.m_file, write.temporary.m_path, write.size);
    if (write.inPlace) return WriteInPlace(write.system, existing, file, old, content);
    if (!write.system.Flush(write.temporary.m_file)) return {WriteOutcome::WriteFailed};
    return PutInPlace(write.system, file, write.temporary, content);
}
