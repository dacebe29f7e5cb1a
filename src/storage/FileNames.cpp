// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/FileNames.h"

#include <system_error>

namespace fs = std::filesystem;

fs::path AbsolutePath(const fs::path& path) {
    std::error_code error;
    fs::path absolute = fs::absolute(path, error);
    return error ? path : absolute;
}

fs::path FileBehindLinks(FileSystem& system, const fs::path& path) {
    // As many links as the system itself follows before it gives up on a loop.
    constexpr int kMostLinks = 40;
    fs::path current = AbsolutePath(path);
    for (int hop = 0; hop < kMostLinks; ++hop) {
        const std::optional<fs::path> next = system.LinkTarget(current);
        if (!next) return current;
        current = next->is_absolute() ? *next : current.parent_path() / *next;
    }
    return current;
}

bool IsSymbolicLink(FileSystem& system, const fs::path& path) {
    return system.LinkTarget(AbsolutePath(path)).has_value();
}

bool CanHoldFolder(FileSystem& system, const fs::path& path) {
    // A name that cannot be looked up (a folder this user may not list) is not known to
    // be a file: the folder above it decides.
    for (fs::path at = AbsolutePath(path);; at = at.parent_path()) {
        if (system.IsFolder(at)) return true;
        if (system.ProbeName(at) == Presence::Present || at == at.parent_path()) return false;
    }
}

bool IsNameTaken(FileSystem& system, const fs::path& path) {
    return system.ProbeName(AbsolutePath(path)) == Presence::Present;
}

bool IsSameFile(FileSystem& system, const fs::path& a, const fs::path& b) {
    const std::optional<FileIdentity> first = system.IdentityOf(AbsolutePath(a));
    const std::optional<FileIdentity> second = first ? system.IdentityOf(AbsolutePath(b)) : std::nullopt;
    return second && first->SameFileAs(*second);
}

fs::path FolderOfFile(FileSystem& system, const fs::path& path) { return FileBehindLinks(system, path).parent_path(); }

bool IsFolderMissing(FileSystem& system, const fs::path& path) {
    return system.ProbeName(FolderOfFile(system, path)) == Presence::Missing;
}

std::optional<FileIdentity> IdentityOfFile(FileSystem& system, const fs::path& path) {
    return system.IdentityOf(AbsolutePath(path));
}

bool RemoveName(FileSystem& system, const fs::path& path) {
    const fs::path absolute = AbsolutePath(path);
    if (!system.Remove(absolute)) return false;
    system.FlushFolder(absolute.parent_path());
    return true;
}

bool RenameFile(FileSystem& system, const fs::path& from, const fs::path& to) {
    const fs::path source = AbsolutePath(from);
    const fs::path target = AbsolutePath(to);
    if (!system.Rename(source, target)) return false;
    system.FlushFolder(target.parent_path());
    return true;
}
