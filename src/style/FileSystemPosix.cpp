// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "style/FileSystem.h"

namespace fs = std::filesystem;

namespace {

FileFacts FactsOf(const struct stat& info) {
    return FileFacts{static_cast<std::uint64_t>(info.st_size), static_cast<std::uint32_t>(info.st_nlink),
                     static_cast<std::uint32_t>(info.st_mode & 07777), info.st_uid, info.st_gid};
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

void FileHandle::Close() {
    if (m_native != kNone) close(std::exchange(m_native, kNone));
}

namespace {

// What a pread or pwrite moved, as MoveWhole counts it.
std::ptrdiff_t Moved(ssize_t result) {
    if (result < 0 && errno == EINTR) return 0;
    return result > 0 ? result : -1;
}

}  // namespace

bool FileHandle::ReadAt(std::uint8_t* data, std::size_t size, std::uint64_t offset) const {
    return MoveWhole(size, offset, [&](std::size_t done, std::uint64_t at) {
        return Moved(pread(m_native, data + done, size - done, static_cast<off_t>(at)));
    });
}

bool FileHandle::WriteAt(const std::uint8_t* data, std::size_t size, std::uint64_t offset) const {
    return MoveWhole(size, offset, [&](std::size_t done, std::uint64_t at) {
        return Moved(pwrite(m_native, data + done, size - done, static_cast<off_t>(at)));
    });
}

bool FileHandle::Resize(std::uint64_t size) const { return ftruncate(m_native, static_cast<off_t>(size)) == 0; }

// On Apple systems fsync stops at the drive's cache.
bool FileHandle::Flush() const {
#ifdef __APPLE__
    if (fcntl(m_native, F_FULLFSYNC) == 0) return true;
#endif
    return fsync(m_native) == 0;
}

// A FIFO or device is never opened when the path names one, and one swapped in
// between the look and the open is caught by fstat; O_NONBLOCK keeps even that open
// from waiting.
FileHandle OpenRegularFile(const fs::path& path, FileAccess access, FileFacts& facts) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
    const int flags = access == FileAccess::Write ? O_WRONLY : O_RDONLY;
    FileHandle file(open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file || fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
    facts = FactsOf(info);
    return file;
}

Presence ProbeName(const fs::path& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0) return Presence::Present;
    return errno == ENOENT ? Presence::Missing : Presence::Unknown;
}

FileHandle CreateNewFile(const fs::path& path, std::uint32_t mode, bool& taken) {
    FileHandle file(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
    taken = !file && errno == EEXIST;
    return file;
}

// Each temporary file is locked (flock) by the save that writes it; a killed save's
// lock goes with it.
FileHandle CreateTemporaryFile(const fs::path& path, std::uint32_t mode, bool& taken) {
    FileHandle file = CreateNewFile(path, mode, taken);
    if (!file) return file;
    // Held by another save's clean-up, which took the new file for abandoned and
    // removes it: this name is not ours. A file system that locks nothing still
    // serves, without the clean-up.
    struct stat opened {};
    struct stat named {};
    if ((flock(file.get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) || fstat(file.get(), &opened) != 0 ||
        lstat(path.c_str(), &named) != 0 || !SameFile(opened, named)) {
        taken = true;
        return {};
    }
    return file;
}

void RemoveIfAbandoned(const fs::path& path) {
    struct stat named {};
    if (lstat(path.c_str(), &named) != 0) return;
    FileHandle file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    struct stat opened {};
    if (!file || fstat(file.get(), &opened) != 0 || !S_ISREG(opened.st_mode)) return;
    if (flock(file.get(), LOCK_EX | LOCK_NB) != 0) return;  // a save is writing it, or nothing can be locked here
    if (lstat(path.c_str(), &named) == 0 && SameFile(opened, named)) unlink(path.c_str());
}

bool TakeOwnerAndMode(const FileHandle& file, const FileFacts& old) {
    struct stat now {};
    if (fstat(file.get(), &now) != 0) return false;
    if ((now.st_uid != old.owner || now.st_gid != old.group) && fchown(file.get(), old.owner, old.group) != 0) {
        return false;
    }
    // After the owner: changing it clears the set-user-id and set-group-id bits.
    return fchmod(file.get(), old.mode) == 0;
}

// Renamed while still locked, so that no other save's clean-up takes it meanwhile.
bool ReplaceFileWith(const fs::path& file, const fs::path& temporary, FileHandle&) {
    return rename(temporary.c_str(), file.c_str()) == 0;
}

bool RemoveFile(const fs::path& path) { return unlink(path.c_str()) == 0; }

fs::path CacheFolder() {
    fs::path folder;
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    if (cache && *cache == '/') {
        folder = fs::path(cache) / "korvane";
    } else if (home && *home == '/') {
        folder = fs::path(home) / ".cache" / "korvane";
    } else {
        return {};
    }
    std::error_code error;
    fs::create_directories(folder.parent_path(), error);
    mkdir(folder.c_str(), 0700);
    return folder;
}
