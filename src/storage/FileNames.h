// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the engine and the editor ask of names on the disk, and the few changes they
// make to them besides writing files (SafeFile.h). Each takes a path as the user or
// a caller gave it, relative or not.

#include <filesystem>
#include <optional>

#include "storage/FileSystem.h"

// The path made absolute against the current folder. Windows makes a name of its own
// in the folder part of the name it replaces, which a bare "Pop.sty" does not have.
std::filesystem::path AbsolutePath(const std::filesystem::path& path);

// The file a path names once every symbolic link on it is followed (a link to a
// missing file gives the missing file's path).
std::filesystem::path FileBehindLinks(FileSystem& system, const std::filesystem::path& path);

bool IsSymbolicLink(FileSystem& system, const std::filesystem::path& path);
// Whether a folder is at path, or may be made there: the path leads to a folder, or
// nothing is under it and the names above it, up to one that is a folder. False
// when it, or a name above it, is a file (or a link to none).
bool CanHoldFolder(FileSystem& system, const std::filesystem::path& path);
// Whether the name itself is taken, by a file, a folder or a link, even a broken one.
bool IsNameTaken(FileSystem& system, const std::filesystem::path& path);
// Whether two paths lead to one existing file: the same name spelled otherwise where
// the file system ignores letter case, a link and its file, or two hard links.
bool IsSameFile(FileSystem& system, const std::filesystem::path& a, const std::filesystem::path& b);
// Whether the folder that would hold the file behind path is not there at all.
bool IsFolderMissing(FileSystem& system, const std::filesystem::path& path);
// The folder that holds the file behind path.
std::filesystem::path FolderOfFile(FileSystem& system, const std::filesystem::path& path);
// Which file the path leads to, its size and when it was last written; nothing when
// it leads to none.
std::optional<FileIdentity> IdentityOfFile(FileSystem& system, const std::filesystem::path& path);

// A name removed, or given to its file anew; the folder flushed afterwards.
bool RemoveName(FileSystem& system, const std::filesystem::path& path);
bool RenameFile(FileSystem& system, const std::filesystem::path& from, const std::filesystem::path& to);
