// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "storage/FileSystem.h"

namespace fs = std::filesystem;

// Every name goes to the system as UTF-16 (path::c_str() is wide here), so names
// outside the system's code page work.

namespace {

// One read or write call takes at most this much.
constexpr std::size_t kLargestCall = 1 << 30;

OVERLAPPED At(std::uint64_t offset) {
    OVERLAPPED overlapped{};
    overlapped.Offset = static_cast<DWORD>(offset);
    overlapped.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return overlapped;
}

// What a ReadFile or WriteFile call moved, as ReadAt and WriteAt count it. Spelled
// out: in "ok && moved > 0 ? moved : -1" the -1 takes the type of the DWORD and
// becomes four thousand million bytes moved, so a full disk passed for a whole write.
std::ptrdiff_t Moved(BOOL ok, DWORD moved) {
    if (!ok || moved == 0) return -1;
    return static_cast<std::ptrdiff_t>(moved);
}

bool IsMissing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// 100-nanosecond steps from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kUnixEpochInFileTime = 116444736000000000;

std::int64_t NanosecondsSince1970(FILETIME time) {
    const std::int64_t steps =
        static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime);
    return (steps - kUnixEpochInFileTime) * 100;
}

// A temporary file unwritten for an hour (here in nanoseconds) was left by a save that
// was killed. ReplaceFileW takes the temporary file only when no other handle is open
// on it, so the save closes it just before the call and no handle can guard it across:
// a clean-up that went by "nobody holds it open" removed a live save's file in that
// moment, and the save lost its content. A live save wrote its file moments before;
// the hour leaves room for a slow disk and a file server's clock.
constexpr std::int64_t kAbandonedAfter = std::int64_t{3600} * 1'000'000'000;

bool LongUnwritten(FILETIME written) {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return NanosecondsSince1970(now) - NanosecondsSince1970(written) > kAbandonedAfter;
}

}  // namespace

void FileHandle::Close() {
    if (m_native != kNone) CloseHandle(std::exchange(m_native, kNone));
}

namespace {

class WindowsFileSystem final : public FileSystem {
public:
    // Other programs may read and write the file meanwhile, but not remove it. A device
    // or pipe under the name is never waited on: only disk files are taken.
    FileHandle OpenRegularFile(const fs::path& path, FileAccess access, FileFacts& facts) override {
        const DWORD rights = access == FileAccess::Write ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
        FileHandle file(CreateFileW(path.c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        BY_HANDLE_FILE_INFORMATION info{};
        if (!file || GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileInformationByHandle(file.get(), &info) ||
            (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return {};
        }
        facts = FileFacts{};
        facts.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
        facts.links = info.nNumberOfLinks;
        facts.mode = 0666;
        return file;
    }

    FileHandle CreateNewFile(const fs::path& path, std::uint32_t, bool& taken) override {
        FileHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        const DWORD error = file ? ERROR_SUCCESS : GetLastError();
        taken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
        return file;
    }

    // The save that writes a temporary file holds it open without sharing, so no other
    // save can remove it while it writes; between the close and the replace its age
    // guards it (RemoveIfAbandoned).
    FileHandle CreateTemporaryFile(const fs::path& path, std::uint32_t mode, bool& taken) override {
        return CreateNewFile(path, mode, taken);
    }

    // Looked at once by name, so that a live save's file is not even opened, and again
    // through a handle that shares nothing: a save still holding the file keeps it, and
    // a name that went to a new save in between is seen as new.
    void RemoveIfAbandoned(const fs::path& path) override {
        WIN32_FILE_ATTRIBUTE_DATA named{};
        if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &named) ||
            !LongUnwritten(named.ftLastWriteTime)) {
            return;
        }
        const FileHandle file(CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        BY_HANDLE_FILE_INFORMATION info{};
        if (!file || !GetFileInformationByHandle(file.get(), &info) ||
            (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
            !LongUnwritten(info.ftLastWriteTime)) {
            return;
        }
        FILE_DISPOSITION_INFO disposition{TRUE};
        SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition, sizeof disposition);
    }

    OpenRefusal WhyNotOpened(const fs::path& path, FileAccess access) override {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            const DWORD error = GetLastError();
            if (IsMissing(error)) return OpenRefusal::Missing;
            return error == ERROR_ACCESS_DENIED ? OpenRefusal::Denied : OpenRefusal::Other;
        }
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return OpenRefusal::Folder;
        const DWORD rights = access == FileAccess::Write ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
        const FileHandle file(CreateFileW(path.c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) return OpenRefusal::Other;
        switch (GetLastError()) {
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND: return OpenRefusal::Missing;  // a link that leads nowhere
            case ERROR_ACCESS_DENIED: return OpenRefusal::Denied;
            case ERROR_SHARING_VIOLATION:
            case ERROR_LOCK_VIOLATION: return OpenRefusal::InUse;
            default: return OpenRefusal::Other;
        }
    }

    std::ptrdiff_t ReadPart(const FileHandle& file, std::uint8_t* data, std::size_t size,
                            std::uint64_t offset) override {
        OVERLAPPED overlapped = At(offset);
        DWORD got = 0;
        const BOOL ok = ReadFile(file.get(), data, static_cast<DWORD>(std::min(size, kLargestCall)), &got, &overlapped);
        return Moved(ok, got);
    }

    std::ptrdiff_t WritePart(const FileHandle& file, const std::uint8_t* data, std::size_t size,
                             std::uint64_t offset) override {
        OVERLAPPED overlapped = At(offset);
        DWORD written = 0;
        const BOOL ok =
            WriteFile(file.get(), data, static_cast<DWORD>(std::min(size, kLargestCall)), &written, &overlapped);
        return Moved(ok, written);
    }

    bool Resize(const FileHandle& file, std::uint64_t size) override {
        FILE_END_OF_FILE_INFO end{};
        end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
        return SetFileInformationByHandle(file.get(), FileEndOfFileInfo, &end, sizeof end) != 0;
    }

    bool Flush(const FileHandle& file) override { return FlushFileBuffers(file.get()) != 0; }

    bool TakeOwnerAndMode(const FileHandle&, const FileFacts&) override { return true; }

    Presence ProbeName(const fs::path& path) override {
        if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return Presence::Present;
        return IsMissing(GetLastError()) ? Presence::Missing : Presence::Unknown;
    }

    std::optional<fs::path> LinkTarget(const fs::path& path) override {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error)) || error) return std::nullopt;
        fs::path target = fs::read_symlink(path, error);
        if (error) return std::nullopt;
        return target;
    }

    // Opened for no access at all, which even a file open elsewhere without sharing allows.
    std::optional<FileIdentity> IdentityOf(const fs::path& path) override {
        const FileHandle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        BY_HANDLE_FILE_INFORMATION info{};
        if (!file || !GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
        FileIdentity identity;
        identity.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
        identity.modified = NanosecondsSince1970(info.ftLastWriteTime);
        identity.volume = info.dwVolumeSerialNumber;
        identity.index = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
        return identity;
    }

    // The replacement keeps the old file's attributes and access lists. Windows moves
    // no file that is open, so the handle is closed first. With a name for the old file
    // the documented failures leave each file under a name the caller knows: both
    // under their own, or the old one under aside and the new one still under its
    // temporary name (ERROR_UNABLE_TO_MOVE_REPLACEMENT_2). Without one the old file
    // may be left under a name nobody knows, so there is no replace without one.
    bool Replace(const fs::path& file, const fs::path& temporary, const AsideNamer& nameAside,
                 FileHandle& handle) override {
        handle.Close();
        if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return MoveFileExW(temporary.c_str(), file.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
        }
        const fs::path aside = nameAside();
        if (aside.empty()) return false;
        if (!ReplaceFileW(file.c_str(), temporary.c_str(), aside.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                          nullptr)) {
            return false;
        }
        DeleteFileW(aside.c_str());
        return true;
    }

    bool Rename(const fs::path& from, const fs::path& to) override {
        return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    }

    bool Remove(const fs::path& path) override { return DeleteFileW(path.c_str()) != 0; }

    // Renames are written through (MOVEFILE_WRITE_THROUGH); a folder itself cannot be
    // flushed by a program here.
    void FlushFolder(const fs::path&) override {}

    bool MakeFolders(const fs::path& folder) override {
        std::error_code error;
        fs::create_directories(folder, error);
        return fs::is_directory(folder, error);
    }

    bool IsFolder(const fs::path& path) override {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    fs::path CacheFolder() override {
        const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
        if (!local || !*local) return {};
        const fs::path folder = fs::path(local) / "korvane";
        std::error_code error;
        fs::create_directories(folder, error);
        return folder;
    }
};

}  // namespace

FileSystem& SystemFileSystem() {
    static WindowsFileSystem system;
    return system;
}
