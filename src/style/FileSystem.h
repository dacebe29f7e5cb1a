// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The few things the safe reads and writes need of the operating system, with one
// implementation for POSIX systems (FileSystemPosix.cpp) and one for Windows
// (FileSystemWindows.cpp), where every name goes to the system as UTF-16.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <utility>

// What the writes keep of a file.
struct FileFacts {
    std::uint64_t size = 0;
    std::uint32_t links = 1;
    std::uint32_t mode = 0;  // permission bits (POSIX systems)
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
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

    // Whole reads and writes at an offset: false unless every byte went.
    bool ReadAt(std::uint8_t* data, std::size_t size, std::uint64_t offset) const;
    bool WriteAt(const std::uint8_t* data, std::size_t size, std::uint64_t offset) const;
    bool Resize(std::uint64_t size) const;
    // Through to the disk itself, past the drive's cache where the system allows.
    bool Flush() const;

private:
    Native m_native = kNone;
};

// Moves size bytes in parts: part(done, offset) moves some of what is left from done,
// at offset, and gives how many it moved, 0 to be asked again (an interrupted call),
// or a negative number on failure. False unless every byte moved.
template <typename Part>
bool MoveWhole(std::size_t size, std::uint64_t offset, Part part) {
    for (std::size_t done = 0; done < size;) {
        const std::ptrdiff_t moved = part(done, offset + done);
        if (moved < 0) return false;
        done += static_cast<std::size_t>(moved);
    }
    return true;
}

enum class FileAccess { Read, Write };

// Opens a regular file (through links) that this user may open as asked, without
// waiting: a FIFO, device or folder is never opened. Empty otherwise.
FileHandle OpenRegularFile(const std::filesystem::path& path, FileAccess access, FileFacts& facts);

enum class Presence { Missing, Present, Unknown };
// Whether a name is taken in its folder, the name itself and not what a link names.
Presence ProbeName(const std::filesystem::path& path);

// Creates a file under a name nobody has taken, no more readable than mode allows,
// never through a link. Empty when the name is taken (taken is then true) or nothing
// can be made there.
FileHandle CreateNewFile(const std::filesystem::path& path, std::uint32_t mode, bool& taken);

// A temporary file under one of a fixed set of names, held by the save that writes it
// so that no other save takes it for abandoned. Empty as CreateNewFile.
FileHandle CreateTemporaryFile(const std::filesystem::path& path, std::uint32_t mode, bool& taken);
// Removes a temporary file that no live save holds: one left by a save that was killed.
void RemoveIfAbandoned(const std::filesystem::path& path);

// Gives the new file the old one's owner, group and permissions (POSIX systems; on
// Windows the replacement keeps them). False when the process may not.
bool TakeOwnerAndMode(const FileHandle& file, const FileFacts& old);

// Puts the complete temporary file, open in handle, in place of file, which may exist.
// Where the system moves no open file, the handle is closed first.
bool ReplaceFileWith(const std::filesystem::path& file, const std::filesystem::path& temporary, FileHandle& handle);

bool RemoveFile(const std::filesystem::path& path);

// The user's cache folder for Korvane, made if need be; empty when there is none.
std::filesystem::path CacheFolder();
