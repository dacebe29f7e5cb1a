#include "style/SafeFile.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <new>
#include <random>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// A name beside the target that no one else uses, created exclusively.
std::FILE* CreateTemporaryBeside(const fs::path& target, fs::path& temporary) {
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        // Short, so that it fits wherever the target's own name fits.
        temporary = target.parent_path() / (".korvane-" + std::to_string(random()) + ".tmp");
#ifdef _WIN32
        std::FILE* file = _wfopen(temporary.c_str(), L"wbx");
#else
        std::FILE* file = std::fopen(temporary.c_str(), "wbx");
#endif
        if (file) return file;
        if (errno != EEXIST) return nullptr;
    }
    return nullptr;
}

bool FlushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

}  // namespace

bool IsWriteProtected(const fs::path& target) {
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    if (error || !fs::exists(status)) return false;
    if (fs::is_directory(status)) return true;
    return (status.permissions() & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write)) ==
           fs::perms::none;
}

WriteOutcome WriteFileAtomically(const fs::path& target, std::initializer_list<ByteView> pieces) {
    if (IsWriteProtected(target)) return WriteOutcome::CannotCreate;
    fs::path temporary;
    std::FILE* file = CreateTemporaryBeside(target, temporary);
    if (!file) return WriteOutcome::CannotCreate;

    bool ok = true;
    for (const ByteView piece : pieces) {
        if (!piece.empty() && std::fwrite(piece.data(), 1, piece.size(), file) != piece.size()) ok = false;
    }
    ok = FlushToDisk(file) && ok;
    ok = std::fclose(file) == 0 && ok;

    std::error_code error;
    if (ok) {
        // A replaced file keeps its permissions.
        const fs::file_status old = fs::status(target, error);
        if (!error && fs::exists(old)) fs::permissions(temporary, old.permissions(), error);
        error.clear();
        fs::rename(temporary, target, error);
        ok = !error;
    }
    if (!ok) fs::remove(temporary, error);
    return ok ? WriteOutcome::Written : WriteOutcome::WriteFailed;
}

ReadOutcome ReadWholeFile(const fs::path& path, std::vector<std::uint8_t>& bytes, std::uintmax_t maxSize) {
    std::error_code error;
    if (fs::is_directory(path, error)) return ReadOutcome::CannotOpen;
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) return ReadOutcome::CannotOpen;
    file.seekg(0, std::ios::end);
    const std::streamoff length = file.tellg();
    file.seekg(0, std::ios::beg);
    if (length < 0) return ReadOutcome::ShortRead;
    if (static_cast<std::uintmax_t>(length) > maxSize) return ReadOutcome::NoMemory;
    try {
        bytes.assign(static_cast<std::size_t>(length), 0);
    } catch (const std::bad_alloc&) {
        return ReadOutcome::NoMemory;
    }
    file.read(reinterpret_cast<char*>(bytes.data()), length);
    if (file.gcount() < length) return ReadOutcome::ShortRead;
    return ReadOutcome::Read;
}
