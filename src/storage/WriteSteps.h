// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The steps the ways of writing a file share (SafeFile.cpp, InPlaceWrite.cpp,
// Replacement.cpp).

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "framework/ByteView.h"
#include "storage/FileSystem.h"

// The pieces' bytes are one run, written one piece after the other.
using Pieces = std::initializer_list<ByteView>;

// Names that say what a copy left beside a file holds: its old content, kept while
// it is overwritten, or new content that could not be put in its place.
inline constexpr std::string_view kOldCopySuffix = ".korvane-backup";
inline constexpr std::string_view kNewCopySuffix = ".korvane-new";

// The new content of a file as the ways of writing copy it: whole, or a part at a time
// (a write in place writes the part that grows the file first).
class Content {
public:
    virtual ~Content() = default;
    virtual std::uint64_t Size() const = 0;
    // Writes the part of the content that lies in [from, to) to file, at the same offsets.
    virtual bool WriteRange(FileSystem& system, const FileHandle& file, std::uint64_t from, std::uint64_t to) const = 0;
};

// Content held in memory: the pieces' bytes, one after the other.
class PiecesContent final : public Content {
public:
    explicit PiecesContent(Pieces pieces) : m_pieces(pieces) {}
    std::uint64_t Size() const override;
    bool WriteRange(FileSystem& system, const FileHandle& file, std::uint64_t from, std::uint64_t to) const override;

private:
    Pieces m_pieces;
};

// Content that lies in a file on the disk (the temporary file of a write in blocks, or
// a file copied before it is overwritten), read back in blocks, so that its copy needs
// no memory that grows with its size. Read through file while that is open, else
// through a handle opened on path for each copy.
class FileContent final : public Content {
public:
    FileContent(const FileHandle& file, std::filesystem::path path, std::uint64_t size)
        : m_file(file), m_path(std::move(path)), m_size(size) {}
    std::uint64_t Size() const override { return m_size; }
    bool WriteRange(FileSystem& system, const FileHandle& file, std::uint64_t from, std::uint64_t to) const override;

private:
    const FileHandle& m_file;
    std::filesystem::path m_path;
    std::uint64_t m_size;
};

// "NAME<suffix>" in folder, or "NAME<suffix>-2", "-3", ... where that is taken: a copy
// left from before is never overwritten. Empty when all are taken.
std::filesystem::path FreeCopyName(FileSystem& system, const std::filesystem::path& folder,
                                   const std::filesystem::path& file, std::string_view suffix);

// Writes the content to a new file under a free copy name in folder, no more readable
// than mode allows, flushed with its folder. Empty on failure, when nothing is left.
std::filesystem::path WriteCopyIn(FileSystem& system, const std::filesystem::path& folder,
                                  const std::filesystem::path& file, std::string_view suffix, std::uint32_t mode,
                                  const Content& content);
