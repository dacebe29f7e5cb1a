// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "style/FileSystem.h"

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

bool IsMissing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

}  // namespace

void FileHandle::Close() {
    if (m_native != kNone) CloseHandle(std::exchange(m_native, kNone));
}

bool FileHandle::ReadAt(std::uint8_t* data, std::size_t size, std::uint64_t offset) const {
    return MoveWhole(size, offset, [&](std::size_t done, std::uint64_t at) -> std::ptrdiff_t {
        OVERLAPPED overlapped = At(at);
        DWORD got = 0;
        const auto part = static_cast<DWORD>(std::min(size - done, kLargestCall));
        return ReadFile(m_native, data + done, part, &got, &overlapped) && got > 0 ? got : -1;
    });
}

bool FileHandle::WriteAt(const std::uint8_t* data, std::size_t size, std::uint64_t offset) const {
    return MoveWhole(size, offset, [&](std::size_t done, std::uint64_t at) -> std::ptrdiff_t {
        OVERLAPPED overlapped = At(at);
        DWORD written = 0;
        const auto part = static_cast<DWORD>(std::min(size - done, kLargestCall));
        return WriteFile(m_native, data + done, part, &written, &overlapped) && written > 0 ? written : -1;
    });
}

bool FileHandle::Resize(std::uint64_t size) const {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    return SetFileInformationByHandle(m_native, FileEndOfFileInfo, &end, sizeof end) != 0;
}

bool FileHandle::Flush() const { return FlushFileBuffers(m_native) != 0; }

// Other programs may read and write the file meanwhile, but not remove it. A device
// or pipe under the name is never waited on: only disk files are taken.
FileHandle OpenRegularFile(const fs::path& path, FileAccess access, FileFacts& facts) {
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

Presence ProbeName(const fs::path& path) {
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return Presence::Present;
    return IsMissing(GetLastError()) ? Presence::Missing : Presence::Unknown;
}

FileHandle CreateNewFile(const fs::path& path, std::uint32_t, bool& taken) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD error = file ? ERROR_SUCCESS : GetLastError();
    taken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
    return file;
}

// The save that writes a temporary file holds it open without sharing, so no other
// save can remove it; a killed save's handle is closed by the system.
FileHandle CreateTemporaryFile(const fs::path& path, std::uint32_t mode, bool& taken) {
    return CreateNewFile(path, mode, taken);
}

void RemoveIfAbandoned(const fs::path& path) { DeleteFileW(path.c_str()); }

bool TakeOwnerAndMode(const FileHandle&, const FileFacts&) { return true; }

// The replacement keeps the old file's attributes and access lists. Windows moves no
// file that is open, so the handle is closed first.
bool ReplaceFileWith(const fs::path& file, const fs::path& temporary, FileHandle& handle) {
    handle.Close();
    if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return MoveFileExW(temporary.c_str(), file.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    }
    return ReplaceFileW(file.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) !=
           0;
}

bool RemoveFile(const fs::path& path) { return DeleteFileW(path.c_str()) != 0; }

fs::path CacheFolder() {
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    if (!local || !*local) return {};
    const fs::path folder = fs::path(local) / "korvane";
    std::error_code error;
    fs::create_directories(folder, error);
    return folder;
}
