// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <vector>

#include "style/ByteOrder.h"

// Every file the program reads or writes goes through here. Only regular files (or
// links to them) are read, so a FIFO or a device never makes the program wait, and
// files are written whole or not at all.

// A regular file, or a link to one, that this user may open for reading.
bool CanReadRegularFile(const std::filesystem::path& path);

enum class ReadOutcome { Read, CannotOpen, BadSize, NoMemory, ShortRead };

// Reads a whole regular file. CannotOpen: missing, not a regular file, or no
// permission; BadSize: its size lies outside minSize to maxSize.
ReadOutcome ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes, std::uintmax_t minSize,
                          std::uintmax_t maxSize);
// The same into the memory that allocate(size) gives for the file's size (nullptr:
// none to be had).
ReadOutcome ReadWholeFile(const std::filesystem::path& path, std::uintmax_t minSize, std::uintmax_t maxSize,
                          const std::function<std::uint8_t*(std::size_t)>& allocate);

enum class WriteOutcome { Written, CannotCreate, WriteFailed };

// Writes the pieces one after the other as the new content of target.
// - Through a symbolic link, the file behind the link is written and the link kept.
// - An existing target that this user could not open for writing, or that is no
//   regular file, is refused (CannotCreate) before anything is written.
// - Normally a temporary file beside the file, never more readable than it, takes
//   the content, is flushed to disk, gets the old file's owner, group and permissions
//   where the process may set them, and is renamed over it.
// - A file with several hard links, or in a folder where no new file can be made, is
//   written in place. A complete copy of the old file, "NAME.korvane-backup", is made
//   first beside it (or in the user's cache folder, "~/.cache/korvane", where the
//   folder takes no new file) and removed once the new content is on the disk, so a
//   save killed in between leaves the copy; nothing ever removes one that was left.
//   Without a copy nothing is written (CannotCreate). The part that grows the file is
//   written first, so a full disk fails before any old byte is overwritten.
// CannotCreate: nothing could be started; WriteFailed: writing failed. Either way no
// temporary file is left and the target is as it was, but for a write in place that
// failed after it began to overwrite the file: then the backup copy stays beside it.
WriteOutcome WriteFileSafely(const std::filesystem::path& target, std::initializer_list<ByteView> pieces);

// Called during each write in place once the backup copy is complete, before the file
// itself is touched; for tests that look at that moment.
using InPlaceWriteObserver = std::function<void(const std::filesystem::path& backup)>;
void SetInPlaceWriteObserver(InPlaceWriteObserver observer);

// The file a path names once every symbolic link on it is followed (a link to a
// missing file gives the missing file's path).
std::filesystem::path FileBehindLinks(const std::filesystem::path& path);
