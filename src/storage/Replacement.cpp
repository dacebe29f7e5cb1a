// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/Replacement.h"

#include <optional>
#include <string>
#include <utility>

namespace fs = std::filesystem;

namespace {

// A fixed set of names, each held by the save that writes it. A save that was killed
// leaves its file unheld, and the next save in that folder removes it. As many saves
// as there are names can run in one folder at once.
constexpr int kTemporaryNames = 64;

fs::path TemporaryName(const fs::path& file, int slot) {
    return file.parent_path() / (".korvane-" + std::to_string(slot) + ".tmp");
}

// The new content, left under the temporary name, gets a name that says what it is;
// the next save's clean-up would take the temporary name for abandoned. Where the
// folder renames nothing, the content is written to such a name once more.
fs::path KeepNewContent(FileSystem& system, const fs::path& file, TemporaryFile& temporary, const Content& content) {
    const fs::path folder = file.parent_path();
    if (const fs::path name = FreeCopyName(system, folder, file, kNewCopySuffix);
        !name.empty() && !temporary.m_path.empty() && system.Rename(temporary.m_path, name)) {
        system.FlushFolder(folder);
        temporary.m_path.clear();
        return name;
    }
    if (fs::path copy = WriteCopyIn(system, folder, file, kNewCopySuffix, 0666, content); !copy.empty()) return copy;
    temporary.m_kept = true;
    return temporary.m_path;
}

}  // namespace

TemporaryFile::~TemporaryFile() {
    if (m_path.empty() || m_kept) return;
    m_file.Close();
    m_system.Remove(m_path);
}

bool TemporaryFile::CreateBeside(const fs::path& file, std::uint32_t mode) {
    for (int slot = 0; slot < kTemporaryNames; ++slot) m_system.RemoveIfAbandoned(TemporaryName(file, slot));
    for (int slot = 0; slot < kTemporaryNames; ++slot) {
        const fs::path path = TemporaryName(file, slot);
        bool taken = false;
        FileHandle created = m_system.CreateTemporaryFile(path, mode, taken);
        if (taken) continue;
        if (!created) return false;
        m_path = path;
        m_file = std::move(created);
        return true;
    }
    return false;
}

WriteResult PutInPlace(FileSystem& system, const fs::path& file, TemporaryFile& temporary, const Content& content) {
    const fs::path folder = file.parent_path();
    // Named only where the system moves the old file aside: a rename leaves nothing there,
    // and needs no free name among the copies left from before.
    fs::path aside;
    const AsideNamer nameAside = [&] { return aside = FreeCopyName(system, folder, file, kOldCopySuffix); };
    // The new content's file, to be told from the old one by more than its names.
    const std::optional<FileIdentity> newFile = system.IdentityOf(temporary.m_path);
    const bool replaced = system.Replace(file, temporary.m_path, nameAside, temporary.m_file);
    temporary.m_file.Close();
    // A name the system cannot look up counts as still holding the new content, and as
    // not holding the old.
    const bool newUnderTemporary = system.ProbeName(temporary.m_path) != Presence::Missing;
    const bool fileThere = system.ProbeName(file) == Presence::Present;
    const bool oldAside = !aside.empty() && system.ProbeName(aside) == Presence::Present;
    // A temporary name that is gone says only that: the file under the name is the
    // new one only when it is the file that was written (a temporary file removed by
    // somebody else leaves the old one there, and the save failed).
    const auto newInPlace = [&] {
        const std::optional<FileIdentity> now = system.IdentityOf(file);
        return newFile && now && now->SameFileAs(*newFile);
    };
    if (replaced || (!newUnderTemporary && fileThere && newInPlace())) {
        if (oldAside) system.Remove(aside);
        system.FlushFolder(folder);
        temporary.m_path.clear();
        return {WriteOutcome::Written};
    }
    // A file that comes under a temporary name that was gone is another save's: it is
    // neither moved nor removed.
    if (!newUnderTemporary) temporary.m_path.clear();
    if (fileThere) {
        // Nothing moved: the old file keeps its name. A copy of it that the replace made
        // under aside goes with the temporary file.
        if (oldAside) system.Remove(aside);
        return {WriteOutcome::WriteFailed};
    }
    // The old file left its name (moved aside, or gone) and the new content is still
    // under the temporary name: it may be the only copy of the style.
    if (!temporary.m_path.empty() && system.Rename(temporary.m_path, file)) {
        temporary.m_path.clear();
        if (oldAside) system.Remove(aside);
        system.FlushFolder(folder);
        return {WriteOutcome::Written};
    }
    if (oldAside && system.Rename(aside, file)) {
        system.FlushFolder(folder);
        return {WriteOutcome::WriteFailed};  // the old style is back; the temporary file goes
    }
    WriteResult left{WriteOutcome::WriteFailed, oldAside ? aside : fs::path(), {}};
    left.newCopy = KeepNewContent(system, file, temporary, content);
    system.FlushFolder(folder);
    return left;
}
