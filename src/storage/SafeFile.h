// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "framework/ByteView.h"
#include "storage/FileSystem.h"

// Every file the program reads or writes goes through here, over the file system it
// is given (SystemFileSystem() but in tests). Only regular files (or links to them)
// are read, so a FIFO or a device never makes the program wait, and files are written
// whole or not at all. Paths may be relative: they are made absolute first.

// A regular file, or a link to one, that this user may open for reading, or writing.
bool CanReadRegularFile(FileSystem& system, const std::filesystem::path& path);
bool CanWriteRegularFile(FileSystem& system, const std::filesystem::path& path);

// The first size bytes of a regular file, or false when it has fewer or cannot be read.
bool ReadFileStart(FileSystem& system, const std::filesystem::path& path, std::size_t size,
                   std::vector<std::uint8_t>& bytes);

enum class ReadOutcome { Read, CannotOpen, BadSize, NoMemory, ShortRead };

// Reads a whole regular file. CannotOpen: missing, not a regular file, or no
// permission; BadSize: its size lies outside minSize to maxSize.
ReadOutcome ReadWholeFile(FileSystem& system, const std::filesystem::path& path, std::vector<std::uint8_t>& bytes,
                          std::uintmax_t minSize, std::uintmax_t maxSize);
// The same into the memory that allocate(size) gives for the file's size (nullptr:
// none to be had).
ReadOutcome ReadWholeFile(FileSystem& system, const std::filesystem::path& path, std::uintmax_t minSize,
                          std::uintmax_t maxSize, const std::function<std::uint8_t*(std::size_t)>& allocate);

enum class WriteOutcome { Written, CannotCreate, WriteFailed, NoFolder };

// What a write did. Where it failed after the old content had begun to leave its
// place, the copies it left under names that say what they hold: "NAME.korvane-backup"
// (the old content) and "NAME.korvane-new" (the new content that could not be put
// in place). Nothing removes them; the user is told.
struct WriteResult {
    WriteResult(WriteOutcome outcome, std::filesystem::path oldCopy = {}, std::filesystem::path newCopy = {})
        : outcome(outcome), oldCopy(std::move(oldCopy)), newCopy(std::move(newCopy)) {}

    WriteOutcome outcome;
    std::filesystem::path oldCopy;
    std::filesystem::path newCopy;
};

// Writes the pieces one after the other as the new content of target.
// - Through a symbolic link, the file behind the link is written and the link kept.
// - An existing target that this user could not open for writing, or that is no
//   regular file, is refused (CannotCreate) before anything is written.
// - Normally a temporary file beside the file, never more readable than it, takes
//   the content, is flushed to disk, gets the old file's owner, group and permissions
//   where the process may set them, and takes the file's place; the folder is flushed
//   after, so that a power cut does not bring the old file back.
// - A file with several hard links, or in a folder where no new file can be made, is
//   written in place. A complete copy of the old file, "NAME.korvane-backup", is made
//   first beside it (or in the user's cache folder, "~/.cache/korvane", where the
//   folder takes no new file) and removed once the new content is on the disk, so a
//   save killed in between leaves the copy; nothing ever removes one that was left.
//   Without a copy nothing is written (CannotCreate). The part that grows the file is
//   written first, so a full disk fails before any old byte is overwritten.
// CannotCreate: nothing could be started; NoFolder: neither, for the folder that would
// hold the file is not there; WriteFailed: writing failed. Either way the
// target holds its old content, whole, and no temporary file is left, unless the
// result names the copies that were left instead.
WriteResult WriteFileSafely(FileSystem& system, const std::filesystem::path& target,
                            std::initializer_list<ByteView> pieces);

// A file written in blocks, for content too long to hold in memory (a long render),
// with every promise of WriteFileSafely: the blocks go to a temporary file beside the
// target, and only Commit puts the complete content in its place (where the file is to
// be written in place, the temporary file, or one in the user's cache folder where its
// folder takes no new file, is copied over it then, in blocks). A target that may not
// be written is refused before anything is written. A writer that ends without Commit,
// or whose write failed, leaves the target as it was and no temporary file.
//
//   SafeFileWriter out(SystemFileSystem(), path);
//   while (...) if (!out.Append(block)) break;  // false once anything failed
//   out.Overwrite(0, header);                   // bytes already appended, written anew
//   WriteResult result = out.Commit();          // the first failure, or the write's outcome
class SafeFileWriter {
public:
    SafeFileWriter(FileSystem& system, const std::filesystem::path& target);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Adds bytes after those appended; false when the target was refused or a write failed.
    bool Append(ByteView bytes);
    // Writes bytes over part of those appended, from offset (a header that counts what
    // follows it); false as Append, or when they would reach past what was appended.
    bool Overwrite(std::uint64_t offset, ByteView bytes);
    // Makes what was appended the target's content, as WriteFileSafely does, and ends
    // the write: no temporary file stays but one the result names. CannotCreate: the
    // target was refused; WriteFailed: an Append or Overwrite failed, or Commit came twice.
    WriteResult Commit();

private:
    struct Write;
    std::unique_ptr<Write> m_write;
};

// Called during each write in place once the backup copy is complete, before the file
// itself is touched; for tests that look at that moment.
using InPlaceWriteObserver = std::function<void(const std::filesystem::path& backup)>;
void SetInPlaceWriteObserver(InPlaceWriteObserver observer);
