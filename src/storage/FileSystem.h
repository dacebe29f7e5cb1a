// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The few things the safe reads and writes need of the operating system, behind one
// interface: SystemFileSystem() is the real one (FileSystemPosix.cpp, or
// FileSystemWindows.cpp, where every name goes to the system as UTF-16), and tests
// hand in one that fails on purpose. Every path it is given is absolute: the callers
// in this folder make it so.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <utility>

// What the writes keep of a file.
struct FileFacts {
    std::uint64_t size = 0;
    std::uint32_t links = 1;
    std::uint32_t mode = 0;  // permission bits (POSIX systems)
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
};

// Which file a name leads to and how it stands, so that a file changed on disk since
// it was read can be told apart: device and inode on POSIX systems, volume serial
// number and file index on Windows.
struct FileIdentity {
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // nanoseconds since 1970-01-01 UTC
    std::uint64_t volume = 0;
    std::uint64_t index = 0;

    bool SameFileAs(const FileIdentity& other) const { return volume == other.volume && index == other.index; }
    bool operator==(const FileIdentity&) const = default;
};

// An open file, closed when it goes.
class FileHandle {
public:
#ifdef _WIN32
    using Native = void*;
    inline static const Native kNone = reinterpret_cast<Native>(-1);  // INVALID_HANDLE_VALUE
#else
    using Native = int;
    static constexpr Native kNone = -1;
#endif

    FileHandle() = default;
    explicit FileHandle(Native native) : m_native(native) {}
    FileHandle(FileHandle&& other) noexcept : m_native(std::exchange(other.m_native, kNone)) {}
    FileHandle& operator=(FileHandle&& other) noexcept {
        std::swap(m_native, other.m_native);
        return *this;
    }
    ~FileHandle() { Close(); }

    explicit operator bool() const { return m_native != kNone; }
    Native get() const { return m_native; }
    void Close();

private:
    Native m_native = kNone;
};

enum class FileAccess { Read, Write };
enum class Presence { Missing, Present, Unknown };
// Why a file could not be opened, as far as the system tells: Other where it tells
// nothing more, or the name is no regular file (a FIFO, a device).
enum class OpenRefusal { Missing, Folder, Denied, InUse, Other };

// Gives a free name beside a file, for a replace that moves the old file aside
// meanwhile; empty when none is free. Called only by a system that does so.
using AsideNamer = std::function<std::filesystem::path()>;

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Opens a regular file (through links) that this user may open as asked, without
    // waiting: a FIFO, device or folder is never opened. Empty otherwise.
    virtual FileHandle OpenRegularFile(const std::filesystem::path& path, FileAccess access, FileFacts& facts) = 0;
    // Creates a file under a name nobody has taken, no more readable than mode allows,
    // never through a link, open for writing and reading back. Empty when the name is
    // taken (taken is then true) or nothing can be made there.
    virtual FileHandle CreateNewFile(const std::filesystem::path& path, std::uint32_t mode, bool& taken) = 0;
    // A temporary file under one of a fixed set of names, held by the save that writes
    // it so that no other save takes it for abandoned. Empty as CreateNewFile.
    virtual FileHandle CreateTemporaryFile(const std::filesystem::path& path, std::uint32_t mode, bool& taken) = 0;
    // Removes a temporary file that no live save holds: one left by a save that was killed.
    virtual void RemoveIfAbandoned(const std::filesystem::path& path) = 0;
    // Why OpenRegularFile fails for path, asked after it failed.
    virtual OpenRefusal WhyNotOpened(const std::filesystem::path& path, FileAccess access) = 0;

    // One read or write of the system at an offset: how many bytes it moved (perhaps
    // fewer than asked), 0 to be asked again (an interrupted call), or a negative
    // number on failure. ReadAt and WriteAt below move whole runs.
    virtual std::ptrdiff_t ReadPart(const FileHandle& file, std::uint8_t* data, std::size_t size,
                                    std::uint64_t offset) = 0;
    virtual std::ptrdiff_t WritePart(const FileHandle& file, const std::uint8_t* data, std::size_t size,
                                     std::uint64_t offset) = 0;
    virtual bool Resize(const FileHandle& file, std::uint64_t size) = 0;
    // Through to the disk itself, past the drive's cache where the system allows.
    virtual bool Flush(const FileHandle& file) = 0;
    // Gives the new file the old one's owner, group and permissions (POSIX systems; on
    // Windows the replacement keeps them). False when the process may not.
    virtual bool TakeOwnerAndMode(const FileHandle& file, const FileFacts& old) = 0;

    // Whether a name is taken in its folder, the name itself and not what a link names.
    virtual Presence ProbeName(const std::filesystem::path& path) = 0;
    // What a symbolic link names as written in it; nothing when path is no link.
    virtual std::optional<std::filesystem::path> LinkTarget(const std::filesystem::path& path) = 0;
    // The identity of the file a name leads to (through links); nothing when none.
    virtual std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) = 0;

    // Puts the complete temporary file, open in handle, in place of file, which may
    // exist; where the system moves no open file, the handle is closed first. A system
    // that moves the old file aside meanwhile asks nameAside for a free name, and fails
    // without one. False on failure: which file is then under which name is for the
    // caller to look at (Replacement.cpp).
    virtual bool Replace(const std::filesystem::path& file, const std::filesystem::path& temporary,
                         const AsideNamer& nameAside, FileHandle& handle) = 0;
    // Gives a file another name in the same folder.
    virtual bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    virtual bool Remove(const std::filesystem::path& path) = 0;
    // Makes the folder's names as they are now (a file put in place, made or removed)
    // survive a power cut, where the system allows it.
    virtual void FlushFolder(const std::filesystem::path& folder) = 0;
    // Makes a folder and those above it that are missing; true when it is there.
    virtual bool MakeFolders(const std::filesystem::path& folder) = 0;
    // Whether the path leads to a folder (through links).
    virtual bool IsFolder(const std::filesystem::path& path) = 0;

    // The user's cache folder for Korvane, made if need be; empty when there is none.
    virtual std::filesystem::path CacheFolder() = 0;
};

// The operating system's own.
FileSystem& SystemFileSystem();

// Whole reads and writes at an offset: false unless every byte went.
bool ReadAt(FileSystem& system, const FileHandle& file, std::uint8_t* data, std::size_t size, std::uint64_t offset);
bool WriteAt(FileSystem& system, const FileHandle& file, const std::uint8_t* data, std::size_t size,
             std::uint64_t offset);
