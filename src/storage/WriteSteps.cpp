// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/WriteSteps.h"

#include <algorithm>
#include <string>

namespace fs = std::filesystem;

namespace {

fs::path CopyName(const fs::path& folder, const fs::path& file, std::string_view suffix, int n) {
    fs::path name = file.filename();
    name += std::string(suffix);
    if (n > 1) name += "-" + std::to_string(n);
    return folder / name;
}

constexpr int kMostCopies = 100;

}  // namespace

std::uint64_t TotalSize(Pieces pieces) {
    std::uint64_t total = 0;
    for (const ByteView piece : pieces) total += piece.size();
    return total;
}

bool WriteRange(FileSystem& system, const FileHandle& file, Pieces pieces, std::uint64_t from, std::uint64_t to) {
    std::uint64_t offset = 0;
    for (const ByteView piece : pieces) {
        const std::uint64_t begin = std::max(from, offset);
        const std::uint64_t end = std::min(to, offset + piece.size());
        if (begin < end &&
            !WriteAt(system, file, piece.data() + (begin - offset), static_cast<std::size_t>(end - begin), begin)) {
            return false;
        }
        offset += piece.size();
    }
    return true;
}

fs::path FreeCopyName(FileSystem& system, const fs::path& folder, const fs::path& file, std::string_view suffix) {
    for (int n = 1; n <= kMostCopies; ++n) {
        fs::path path = CopyName(folder, file, suffix, n);
        if (system.ProbeName(path) == Presence::Missing) return path;
    }
    return {};
}

fs::path WriteCopyIn(FileSystem& system, const fs::path& folder, const fs::path& file, std::string_view suffix,
                     std::uint32_t mode, Pieces pieces) {
    for (int n = 1; n <= kMostCopies; ++n) {
        const fs::path path = CopyName(folder, file, suffix, n);
        bool taken = false;
        FileHandle copy = system.CreateNewFile(path, mode, taken);
        if (taken) continue;
        if (!copy) return {};
        if (WriteRange(system, copy, pieces, 0, TotalSize(pieces)) && system.Flush(copy)) {
            system.FlushFolder(folder);
            return path;
        }
        // Windows removes no file that is open without sharing.
        copy.Close();
        system.Remove(path);
        return {};
    }
    return {};
}
