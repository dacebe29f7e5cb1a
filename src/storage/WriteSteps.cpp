// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/WriteSteps.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path CopyName(const fs::path& folder, const fs::path& file, std::string_view suffix, int n) {
    fs::path name = file.filename();
    name += std::string(suffix);
    if (n > 1) name += "-" + std::to_string(n);
    return folder / name;
}

constexpr int kMostCopies = 100;

// How much of a file's content one step of a copy holds in memory.
constexpr std::size_t kCopyBlock = 1 << 16;

}  // namespace

std::uint64_t PiecesContent::Size() const {
    std::uint64_t total = 0;
    for (const ByteView piece : m_pieces) total += piece.size();
    return total;
}

bool PiecesContent::WriteRange(FileSystem& system, const FileHandle& file, std::uint64_t from, std::uint64_t to) const {
    std::uint64_t offset = 0;
    for (const ByteView piece : m_pieces) {
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

bool FileContent::WriteRange(FileSystem& system, const FileHandle& file, std::uint64_t from, std::uint64_t to) const {
    to = std::min(to, m_size);
    if (from >= to) return true;
    FileHandle opened;
    if (!m_file) {
        FileFacts facts;
        opened = system.OpenRegularFile(m_path, FileAccess::Read, facts);
        if (!opened || facts.size < to) return false;
    }
    const FileHandle& source = m_file ? m_file : opened;
    std::vector<std::uint8_t> block;
    try {
        block.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kCopyBlock, to - from)));
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (std::uint64_t at = from; at < to;) {
        const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), to - at));
        if (!ReadAt(system, source, block.data(), size, at) || !WriteAt(system, file, block.data(), size, at)) {
            return false;
        }
        at += size;
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
                     std::uint32_t mode, const Content& content) {
    for (int n = 1; n <= kMostCopies; ++n) {
        const fs::path path = CopyName(folder, file, suffix, n);
        bool taken = false;
        FileHandle copy = system.CreateNewFile(path, mode, taken);
        if (taken) continue;
        if (!copy) return {};
        if (content.WriteRange(system, copy, 0, content.Size()) && system.Flush(copy)) {
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
