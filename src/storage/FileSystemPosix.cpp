// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "storage/FileSystem.h"

namespace fs = std::filesystem;

namespace {

FileFacts FactsOf(const struct stat& info) {
    return FileFacts{static_cast<std::uint64_t>(info.st_size), static_cast<std::uint32_t>(info.st_nlink),
                     static_cast<std::uint32_t>(info.st_mode & 07777), info.st_uid, info.st_gid};
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// What a pread or pwrite moved, as ReadAt and WriteAt count it.
std::ptrdiff_t Moved(ssize_t result) {
    if (result < 0 && errno == EINTR) return 0;
    return result > 0 ? result : -1;
}

}  // namespace

void FileHandle::Close() {
    if (m_native != kNone) close(std::exchange(m_native, kNone));
}

namespace {

class PosixFileSystem final : public FileSystem {
public:
    // A FIFO or device is never opened when the path names one, and one swapped in
    // between the look and the open is caught by fstat; O_NONBLOCK keeps even that open
    // from waiting.
    FileHandle OpenRegularFile(const fs::path& path, FileAccess access, FileFacts& facts) override {
        struct stat info {};
        if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
        const int flags = access == FileAccess::Write ? O_WRONLY : O_RDONLY;
        FileHandle file(open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (!file || fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
        facts = FactsOf(info);
        return file;
    }

    FileHandle CreateNewFile(const fs::path& path, std::uint32_t mode, bool& taken) override {
        FileHandle file(open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        taken = !file && errno == EEXIST;
        return file;
    }

    // Each temporary file is locked (flock) by the save that writes it; a killed save's
    // lock goes with it.
    FileHandle CreateTemporaryFile(const fs::path& path, std::uint32_t mode, bool& taken) override {
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

    void RemoveIfAbandoned(const fs::path& path) override {
        struct stat named {};
        if (lstat(path.c_str(), &named) != 0) return;
        FileHandle file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
        struct stat opened {};
        if (!file || fstat(file.get(), &opened) != 0 || !S_ISREG(opened.st_mode)) return;
        if (flock(file.get(), LOCK_EX | LOCK_NB) != 0) return;  // a save is writing it, or nothing can be locked here
        if (lstat(path.c_str(), &named) == 0 && SameFile(opened, named)) unlink(path.c_str());
    }

    OpenRefusal WhyNotOpened(const fs::path& path, FileAccess access) override {
        struct stat info {};
        if (stat(path.c_str(), &info) != 0) {
            if (errno == ENOENT || errno == ENOTDIR) return OpenRefusal::Missing;
            return errno == EACCES ? OpenRefusal::Denied : OpenRefusal::Other;
        }
        if (S_ISDIR(info.st_mode)) return OpenRefusal::Folder;
        if (!S_ISREG(info.st_mode)) return OpenRefusal::Other;
        const int flags = access == FileAccess::Write ? O_WRONLY : O_RDONLY;
        const FileHandle file(open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (file) return OpenRefusal::Other;
        return errno == EACCES || errno == EPERM ? OpenRefusal::Denied : OpenRefusal::Other;
    }

    std::ptrdiff_t ReadPart(const FileHandle& file, std::uint8_t* data, std::size_t size,
                            std::uint64_t offset) override {
        return Moved(pread(file.get(), data, size, static_cast<off_t>(offset)));
    }

    std::ptrdiff_t WritePart(const FileHandle& file, const std::uint8_t* data, std::size_t size,
                             std::uint64_t offset) override {
        return Moved(pwrite(file.get(), data, size, static_cast<off_t>(offset)));
    }

    bool Resize(const FileHandle& file, std::uint64_t size) override {
        return ftruncate(file.get(), static_cast<off_t>(size)) == 0;
    }

    // On Apple systems fsync stops at the drive's cache.
    bool Flush(const FileHandle& file) override {
#ifdef __APPLE__
        if (fcntl(file.get(), F_FULLFSYNC) == 0) return true;
#endif
        return fsync(file.get()) == 0;
    }

    bool TakeOwnerAndMode(const FileHandle& file, const FileFacts& old) override {
        struct stat now {};
        if (fstat(file.get(), &now) != 0) return false;
        if ((now.st_uid != old.owner || now.st_gid != old.group) && fchown(file.get(), old.owner, old.group) != 0) {
            return false;
        }
        // After the owner: changing it clears the set-user-id and set-group-id bits.
        return fchmod(file.get(), old.mode) == 0;
    }

    Presence ProbeName(const fs::path& path) override {
        struct stat info {};
        if (lstat(path.c_str(), &info) == 0) return Presence::Present;
        return errno == ENOENT ? Presence::Missing : Presence::Unknown;
    }

    std::optional<fs::path> LinkTarget(const fs::path& path) override {
        std::error_code error;
        fs::path target = fs::read_symlink(path, error);
        if (error) return std::nullopt;
        return target;
    }

    std::optional<FileIdentity> IdentityOf(const fs::path& path) override {
        struct stat info {};
        if (stat(path.c_str(), &info) != 0) return std::nullopt;
        FileIdentity identity;
        identity.size = static_cast<std::uint64_t>(info.st_size);
#ifdef __APPLE__
        const timespec& modified = info.st_mtimespec;
#else
        const timespec& modified = info.st_mtim;
#endif
        identity.modified = static_cast<std::int64_t>(modified.tv_sec) * 1000000000 + modified.tv_nsec;
        identity.volume = static_cast<std::uint64_t>(info.st_dev);
        identity.index = static_cast<std::uint64_t>(info.st_ino);
        return identity;
    }

    // Renamed while still locked, so that no other save's clean-up takes it meanwhile.
    // A rename leaves nothing aside.
    bool Replace(const fs::path& file, const fs::path& temporary, const AsideNamer&, FileHandle&) override {
        return Rename(temporary, file);
    }

    bool Rename(const fs::path& from, const fs::path& to) override { return rename(from.c_str(), to.c_str()) == 0; }

    bool Remove(const fs::path& path) override { return unlink(path.c_str()) == 0; }

    // A file system that cannot flush a folder (EINVAL) orders its names itself.
    void FlushFolder(const fs::path& folder) override {
        const FileHandle handle(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (handle) fsync(handle.get());
    }

    bool MakeFolders(const fs::path& folder) override {
        std::error_code error;
        fs::create_directories(folder, error);
        return fs::is_directory(folder, error);
    }

    bool IsFolder(const fs::path& path) override {
        struct stat info {};
        return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }

    fs::path CacheFolder() override {
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
};

}  // namespace

FileSystem& SystemFileSystem() {
    static PosixFileSystem system;
    return system;
}
