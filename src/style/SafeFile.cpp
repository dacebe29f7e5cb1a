#include "style/SafeFile.h"

#include <algorithm>
#include <functional>
#include <new>
#include <string>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <io.h>

#include <cstdio>
#include <fstream>
#include <random>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#endif

namespace fs = std::filesystem;

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

namespace {

InPlaceWriteObserver& Observer() {
    static InPlaceWriteObserver observer;
    return observer;
}

}  // namespace

void SetInPlaceWriteObserver(InPlaceWriteObserver observer) { Observer() = std::move(observer); }

#ifndef _WIN32

namespace {

class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    ~FileDescriptor() {
        if (m_fd >= 0) close(m_fd);
    }
    explicit operator bool() const { return m_fd >= 0; }
    int get() const { return m_fd; }

private:
    int m_fd = -1;
};

// Opens only a regular file: a FIFO or device is never opened at all when the path
// names one, and one swapped in between the look and the open is caught by fstat;
// O_NONBLOCK keeps even that open from waiting.
FileDescriptor OpenRegularFile(const fs::path& path, int flags, struct stat& info) {
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
    FileDescriptor fd(open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd || fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
    return fd;
}

// Flushed through to the disk itself: on Apple systems fsync stops at the drive's cache.
bool FlushToDisk(int fd) {
#ifdef __APPLE__
    if (fcntl(fd, F_FULLFSYNC) == 0) return true;
#endif
    return fsync(fd) == 0;
}

bool WriteAt(int fd, const std::uint8_t* data, std::size_t size, off_t offset) {
    while (size > 0) {
        const ssize_t written = pwrite(fd, data, size, offset);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        size -= static_cast<std::size_t>(written);
        offset += written;
    }
    return true;
}

// Writes the part of the pieces, taken as one run of bytes, that lies in [from, to).
bool WriteRange(int fd, std::initializer_list<ByteView> pieces, std::uintmax_t from, std::uintmax_t to) {
    std::uintmax_t offset = 0;
    for (const ByteView piece : pieces) {
        const std::uintmax_t begin = std::max(from, offset);
        const std::uintmax_t end = std::min(to, offset + piece.size());
        if (begin < end && !WriteAt(fd, piece.data() + (begin - offset), static_cast<std::size_t>(end - begin),
                                    static_cast<off_t>(begin))) {
            return false;
        }
        offset += piece.size();
    }
    return true;
}

std::uintmax_t TotalSize(std::initializer_list<ByteView> pieces) {
    std::uintmax_t total = 0;
    for (const ByteView piece : pieces) total += piece.size();
    return total;
}

// Where a backup goes when the style's own folder takes no new file.
fs::path CacheFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache && *cache == '/') return fs::path(cache) / "korvane";
    const char* home = std::getenv("HOME");
    if (home && *home == '/') return fs::path(home) / ".cache" / "korvane";
    return {};
}

// Writes bytes to a new file "NAME.korvane-backup" (or "-2", "-3", ... where one is
// left from before, which is never overwritten) in folder, flushed. Empty on failure.
fs::path WriteBackupIn(const fs::path& folder, const fs::path& file, mode_t mode, ByteView bytes) {
    constexpr int kMostBackups = 100;
    for (int n = 1; n <= kMostBackups; ++n) {
        const std::string suffix = n == 1 ? ".korvane-backup" : ".korvane-backup-" + std::to_string(n);
        const fs::path path = folder / (file.filename().native() + suffix);
        FileDescriptor fd(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (!fd && errno == EEXIST) continue;
        if (!fd) return {};
        if (WriteAt(fd.get(), bytes.data(), bytes.size(), 0) && FlushToDisk(fd.get())) return path;
        unlink(path.c_str());
        return {};
    }
    return {};
}

// A complete copy of the file as it is now: beside it, or in the user's cache folder
// where its folder takes no new file. Never more readable than the file. Empty when
// no copy could be made.
fs::path WriteBackup(const fs::path& file, const struct stat& old) {
    struct stat info {};
    const FileDescriptor in = OpenRegularFile(file, O_RDONLY, info);
    if (!in) return {};
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(info.st_size));
    } catch (const std::bad_alloc&) {
        return {};
    }
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t got = pread(in.get(), bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return {};
        done += static_cast<std::size_t>(got);
    }
    const mode_t mode = old.st_mode & 0666;
    fs::path backup = WriteBackupIn(file.parent_path(), file, mode, bytes);
    if (backup.empty() && !CacheFolder().empty()) {
        std::error_code error;
        fs::create_directories(CacheFolder().parent_path(), error);
        mkdir(CacheFolder().c_str(), 0700);
        backup = WriteBackupIn(CacheFolder(), file, mode, bytes);
    }
    return backup;
}

// For a file that cannot be replaced by a new one. Nothing makes a write in place
// whole or nothing, so a complete copy of the old file is made first and removed only
// once the new content is on the disk: a save killed in between leaves that copy.
// What grows the file is written first: when the disk is full that fails while every
// old byte is still in place, and the file is cut back to its old size.
WriteOutcome WriteInPlace(int fd, const fs::path& file, const struct stat& old,
                          std::initializer_list<ByteView> pieces) {
    const fs::path backup = WriteBackup(file, old);
    if (backup.empty()) return WriteOutcome::CannotCreate;
    if (Observer()) Observer()(backup);
    const auto oldSize = static_cast<std::uintmax_t>(old.st_size);
    const std::uintmax_t total = TotalSize(pieces);
    if (total > oldSize && !WriteRange(fd, pieces, oldSize, total)) {
        [[maybe_unused]] const int ignored = ftruncate(fd, static_cast<off_t>(oldSize));
        unlink(backup.c_str());  // not one old byte was overwritten
        return WriteOutcome::WriteFailed;
    }
    // From here a failure may leave the file half old, half new: the copy stays.
    if (!WriteRange(fd, pieces, 0, std::min(total, oldSize))) return WriteOutcome::WriteFailed;
    if (total < oldSize && ftruncate(fd, static_cast<off_t>(total)) != 0) return WriteOutcome::WriteFailed;
    if (!FlushToDisk(fd)) return WriteOutcome::WriteFailed;
    unlink(backup.c_str());
    return WriteOutcome::Written;
}

// A temporary file beside the target, removed again unless it was renamed.
struct TemporaryFile {
    fs::path path;
    FileDescriptor fd;
    bool renamed = false;
    ~TemporaryFile() {
        if (fd && !renamed) unlink(path.c_str());
    }
};

// A fixed set of names, each locked by the save that writes it. A save that was
// killed leaves its file unlocked, and the next save in that folder removes it. As
// many saves as there are names can run in one folder at once.
constexpr int kTemporaryNames = 64;

fs::path TemporaryName(const fs::path& file, int slot) {
    return file.parent_path() / (".korvane-" + std::to_string(slot) + ".tmp");
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

void RemoveIfAbandoned(const fs::path& path) {
    struct stat named {};
    if (lstat(path.c_str(), &named) != 0) return;
    FileDescriptor fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    struct stat opened {};
    if (!fd || fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode)) return;
    if (flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return;  // a save is writing it, or nothing can be locked here
    if (lstat(path.c_str(), &named) == 0 && SameFile(opened, named)) unlink(path.c_str());
}

// Created with the target's permissions at most (the umask may narrow them), so the
// new content is never readable by more users than the old.
bool CreateTemporaryBeside(const fs::path& file, mode_t mode, TemporaryFile& temporary) {
    for (int slot = 0; slot < kTemporaryNames; ++slot) RemoveIfAbandoned(TemporaryName(file, slot));
    for (int slot = 0; slot < kTemporaryNames; ++slot) {
        const fs::path path = TemporaryName(file, slot);
        FileDescriptor fd(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (!fd) {
            if (errno == EEXIST) continue;
            return false;
        }
        // Held by another save's clean-up, which took the new file for abandoned and
        // removes it: this name is not ours. A file system that locks nothing still
        // serves, without the clean-up.
        if (flock(fd.get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) continue;
        struct stat opened {};
        struct stat named {};
        if (fstat(fd.get(), &opened) != 0 || lstat(path.c_str(), &named) != 0 || !SameFile(opened, named)) continue;
        temporary.path = path;
        temporary.fd = std::move(fd);
        return true;
    }
    return false;
}

// The new file takes the old one's owner, group and permissions. False when the
// process may not give it the old owner or group.
bool TakeOwnerAndMode(int fd, const struct stat& old) {
    struct stat now {};
    if (fstat(fd, &now) != 0) return false;
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && fchown(fd, old.st_uid, old.st_gid) != 0) {
        return false;
    }
    // After the owner: changing it clears the set-user-id and set-group-id bits.
    return fchmod(fd, old.st_mode & 07777) == 0;
}

}  // namespace

bool CanReadRegularFile(const fs::path& path) {
    struct stat info {};
    return static_cast<bool>(OpenRegularFile(path, O_RDONLY, info));
}

ReadOutcome ReadWholeFile(const fs::path& path, std::uintmax_t minSize, std::uintmax_t maxSize,
                          const std::function<std::uint8_t*(std::size_t)>& allocate) {
    struct stat info {};
    const FileDescriptor fd = OpenRegularFile(path, O_RDONLY, info);
    if (!fd) return ReadOutcome::CannotOpen;
    const auto size = static_cast<std::size_t>(info.st_size);
    if (size < minSize || size > maxSize) return ReadOutcome::BadSize;
    std::uint8_t* bytes = size ? allocate(size) : nullptr;
    if (size && !bytes) return ReadOutcome::NoMemory;
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = read(fd.get(), bytes + done, size - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return ReadOutcome::ShortRead;
        done += static_cast<std::size_t>(got);
    }
    return ReadOutcome::Read;
}

WriteOutcome WriteFileSafely(const fs::path& target, std::initializer_list<ByteView> pieces) {
    const fs::path file = FileBehindLinks(target);
    struct stat old {};
    FileDescriptor existing;
    if (lstat(file.c_str(), &old) == 0) {
        // Whether this user may write the file is the system's to say (owner, mode,
        // access lists, a read-only mount), so it is asked by opening the file.
        existing = OpenRegularFile(file, O_WRONLY, old);
        if (!existing) return WriteOutcome::CannotCreate;
    } else if (errno != ENOENT) {
        return WriteOutcome::CannotCreate;
    }

    // Renaming a new file over one with several names would split them.
    if (existing && old.st_nlink > 1) return WriteInPlace(existing.get(), file, old, pieces);
    TemporaryFile temporary;
    if (!CreateTemporaryBeside(file, existing ? (old.st_mode & 0777) : 0666, temporary)) {
        if (existing) return WriteInPlace(existing.get(), file, old, pieces);
        return WriteOutcome::CannotCreate;
    }
    // A file that would change hands is written in place instead.
    if (existing && !TakeOwnerAndMode(temporary.fd.get(), old)) {
        return WriteInPlace(existing.get(), file, old, pieces);
    }
    const bool written = WriteRange(temporary.fd.get(), pieces, 0, TotalSize(pieces)) &&
                         FlushToDisk(temporary.fd.get()) && rename(temporary.path.c_str(), file.c_str()) == 0;
    temporary.renamed = written;
    return written ? WriteOutcome::Written : WriteOutcome::WriteFailed;
}

#else  // Windows: no owners to keep and no FIFOs; a file is replaced through a temporary one.

bool CanReadRegularFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error) && std::ifstream(path, std::ios::binary).is_open();
}

ReadOutcome ReadWholeFile(const fs::path& path, std::uintmax_t minSize, std::uintmax_t maxSize,
                          const std::function<std::uint8_t*(std::size_t)>& allocate) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return ReadOutcome::CannotOpen;
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) return ReadOutcome::CannotOpen;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error || size < minSize || size > maxSize) return ReadOutcome::BadSize;
    std::uint8_t* bytes = size ? allocate(static_cast<std::size_t>(size)) : nullptr;
    if (size && !bytes) return ReadOutcome::NoMemory;
    file.read(reinterpret_cast<char*>(bytes), static_cast<std::streamsize>(size));
    return file.gcount() == static_cast<std::streamsize>(size) ? ReadOutcome::Read : ReadOutcome::ShortRead;
}

WriteOutcome WriteFileSafely(const fs::path& target, std::initializer_list<ByteView> pieces) {
    const fs::path file = FileBehindLinks(target);
    std::error_code error;
    if (fs::exists(file, error)) {
        if (!fs::is_regular_file(file, error) || _waccess(file.c_str(), 2) != 0) return WriteOutcome::CannotCreate;
    }
    std::random_device random;
    fs::path temporary;
    std::FILE* out = nullptr;
    for (int attempt = 0; attempt < 16 && !out; ++attempt) {
        temporary = file.parent_path() / (".korvane-" + std::to_string(random()) + ".tmp");
        out = _wfopen(temporary.c_str(), L"wbx");
    }
    if (!out) return WriteOutcome::CannotCreate;
    bool ok = true;
    for (const ByteView piece : pieces) {
        if (!piece.empty() && std::fwrite(piece.data(), 1, piece.size(), out) != piece.size()) ok = false;
    }
    ok = std::fflush(out) == 0 && _commit(_fileno(out)) == 0 && ok;
    ok = std::fclose(out) == 0 && ok;
    if (ok) fs::rename(temporary, file, error);
    if (!ok || error) {
        fs::remove(temporary, error);
        return WriteOutcome::WriteFailed;
    }
    return WriteOutcome::Written;
}

#endif
