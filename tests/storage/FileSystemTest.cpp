// SPDX-License-Identifier: GPL-3.0-or-later
// The system's own file system, on Linux and under Wine: what its calls say when they
// fail, which file a name leads to, names relative to the current folder, and a disk
// that is really full.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/mount.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdlib>
#include <fstream>

#include "FailingFileSystem.h"
#include "SaveFixture.h"
#include "StyleBytes.h"
#include "storage/FileNames.h"
#include "storage/SafeFile.h"

namespace fs = std::filesystem;

namespace {

const std::string kWriteError = "Error creating/writing style file!\n\n(Please check if file is write protected.)";

Bytes Style(const char* title) {
    return StyleFile(BasicEvents(title) + VolumeEvent(9, 100) + NoteOn(9, 36, 90) + NoteOn(9, 38, 90) + EndOfTrack());
}

// On Windows the result of a failed ReadFile or WriteFile once became four thousand
// million bytes moved: a full disk passed for a whole write, and the cut-off file
// replaced the style.
TEST(SystemFileSystem, FailedCallIsNeverAWholeReadOrWrite) {
    TempDir dir;
    const fs::path path = dir.Write("Pop.sty", Style("Pop"));
    FileSystem& files = SystemFileSystem();
    FileFacts facts;
    const FileHandle file = files.OpenRegularFile(path, FileAccess::Read, facts);
    ASSERT_TRUE(file);
    const std::uint8_t byte = 0;
    EXPECT_LT(files.WritePart(file, &byte, 1, 0), 0);
    EXPECT_FALSE(WriteAt(files, file, &byte, 1, 0));
    std::uint8_t buffer[16] = {};
    EXPECT_LT(files.ReadPart(file, buffer, sizeof buffer, facts.size), 0);
    EXPECT_FALSE(ReadAt(files, file, buffer, sizeof buffer, facts.size - 4));
    EXPECT_TRUE(ReadAt(files, file, buffer, 4, 0));
    EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + 4), Bytes::Text("MThd").data);
}

TEST(SystemFileSystem, IdentityTellsWhichFileAndWhetherItChanged) {
    TempDir dir;
    const fs::path path = dir.Write("Pop.sty", Style("Pop"));
    const fs::path other = dir.Write("Other.sty", Style("Pop"));
    fs::create_hard_link(path, dir / "Second name.sty");
    FileSystem& files = SystemFileSystem();
    const auto then = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(path, then);

    const std::optional<FileIdentity> first = IdentityOfFile(files, path);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->size, Style("Pop").size());
    EXPECT_EQ(IdentityOfFile(files, path), first);
    EXPECT_TRUE(IdentityOfFile(files, dir / "Second name.sty")->SameFileAs(*first));
    EXPECT_FALSE(IdentityOfFile(files, other)->SameFileAs(*first));
    EXPECT_FALSE(IdentityOfFile(files, dir / "Missing.sty"));

    dir.Write("Pop.sty", Style("Longer"));
    fs::last_write_time(path, then + std::chrono::seconds(10));
    const std::optional<FileIdentity> changed = IdentityOfFile(files, path);
    ASSERT_TRUE(changed);
    EXPECT_TRUE(changed->SameFileAs(*first));
    EXPECT_EQ(changed->size, Style("Longer").size());
    EXPECT_EQ(changed->modified - first->modified, 10'000'000'000);
}

// A clean-up removes only what a killed save left. A POSIX save keeps its temporary
// file locked until the rename, so an unlocked one is abandoned; a Windows save must
// close it for the replace, so there only a file long unwritten and open nowhere is.
TEST(SystemFileSystem, CleanUpRemovesOnlyAbandonedTemporaryFiles) {
#ifdef _WIN32
    constexpr bool kWindows = true;
#else
    constexpr bool kWindows = false;
#endif
    struct Case {
        const char* what;
        bool old;
        enum { Closed, HeldBySave, OpenElsewhere } state;
        bool removed;
    };
    const Case cases[] = {
        {"written long ago, open nowhere", true, Case::Closed, true},
        {"written just now and closed, as a save leaves it for its replace", false, Case::Closed, !kWindows},
        {"held by a live save", false, Case::HeldBySave, false},
        {"written long ago, open in another program", true, Case::OpenElsewhere, !kWindows},
    };
    FileSystem& files = SystemFileSystem();
    for (const Case& c : cases) {
        TempDir dir;
        const fs::path path = dir / ".korvane-0.tmp";
        FileHandle handle;
        if (c.state == Case::HeldBySave) {
            bool taken = false;
            handle = files.CreateTemporaryFile(path, 0600, taken);
            ASSERT_TRUE(handle) << c.what;
        } else {
            dir.Write(".korvane-0.tmp", Style("Pop"));
            if (c.old) fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(2));
            FileFacts facts;
            if (c.state == Case::OpenElsewhere) handle = files.OpenRegularFile(path, FileAccess::Read, facts);
        }
        files.RemoveIfAbandoned(path);
        handle.Close();
        EXPECT_EQ(!fs::exists(path), c.removed) << c.what;
    }
}

using SystemSave = SaveFixture;

// A rename moves nothing aside, yet a save once asked for a free backup name first: a
// hundred copies left beside the style made every save fail as write protected. Windows'
// replace does move the old file aside and needs the name: there the save is refused whole.
TEST_F(SystemSave, LeftOverBackupCopiesDoNotStopASave) {
    const fs::path path = dir.Write("Pop.sty", Style("Pop"));
    for (int n = 1; n <= 100; ++n) {
        dir.Write("Pop.sty.korvane-backup" + (n > 1 ? "-" + std::to_string(n) : std::string()),
                  Bytes::Text("left over"));
    }
    auto doc = Open(path);
    doc->m_strStyleTitle = "Rock";
    const bool saved = doc->OnSaveDocument(path);
#ifdef _WIN32
    EXPECT_FALSE(saved);
    EXPECT_EQ(Texts(), std::vector<std::string>{kWriteError});
    EXPECT_EQ(ReadFileBytes(path).data, Style("Pop").data);
#else
    EXPECT_TRUE(saved);
    EXPECT_TRUE(Texts().empty());
    EXPECT_EQ(ReadFileBytes(path).data, Style("Rock").data);
#endif
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 101);
    EXPECT_EQ(ReadFileBytes(dir / "Pop.sty.korvane-backup-100").data, Bytes::Text("left over").data);
}

// Windows makes a name of its own in the folder part of the name it replaces: a save
// by a bare file name, in the style's folder, once wrote nothing.
TEST_F(SystemSave, SaveByARelativeNameWritesTheStyle) {
    const fs::path path = dir.Write("Two.sty", Style("Two"));
    const fs::path before = fs::current_path();
    fs::current_path(dir.path());
    for (const bool recorded : {false, true}) {
        auto doc = Open("Two.sty");
        FailingFileSystem files;  // fails nothing, and checks each path is absolute
        if (recorded) doc->UseFileSystem(files);
        doc->m_strStyleTitle = recorded ? "Saved Twice" : "Saved Once";
        EXPECT_TRUE(doc->OnSaveDocument("Two.sty")) << recorded;
        // Under a new name, the old file deleted: the old name is relative too.
        doc->m_bAdaptFilename = doc->m_bDeleteOldFile = true;
        EXPECT_TRUE(doc->OnSaveDocument("Two.sty")) << recorded;
        EXPECT_EQ(ReadFileBytes(dir / (doc->m_strStyleTitle + ".sty")).data, Style(doc->m_strStyleTitle.c_str()).data);
        EXPECT_FALSE(fs::exists(path));
        fs::rename(dir / (doc->m_strStyleTitle + ".sty"), path);
    }
    fs::current_path(before);
    EXPECT_TRUE(Texts().empty());
}

// A small file system, full: a tmpfs of 64 KB mounted for the test (as root), or
// under Wine the one the test run mounted (tests/support/full-disk.sh). Empty when
// there is none, with the reason.
class FullDisk {
public:
    FullDisk() {
        if (const char* given = std::getenv("KORVANE_FULL_DISK"); given && *given) {
#ifdef _WIN32
            m_path = fs::path("Z:" + std::string(given));
#else
            m_path = given;
#endif
            if (!fs::exists(m_path / "korvane-full-disk")) {
                why = "the test run mounted no small file system (it needs root and a system that allows it)";
                m_path.clear();
            }
            return;
        }
#ifdef _WIN32
        why = "Wine mounts nothing; the test run mounts the full disk where it runs as root";
#else
        if (geteuid() != 0) {
            why = "mounting a small file system needs root";
            return;
        }
        m_mounted = m_scratch.path() / "disk";
        fs::create_directory(m_mounted);
        if (mount("tmpfs", m_mounted.c_str(), "tmpfs", 0, "size=64k") != 0) {
            why = "this system lets no tmpfs be mounted here";
            m_mounted.clear();
            return;
        }
        m_path = m_mounted;
        // A write in place keeps its copy of the old file in the user's cache folder
        // when the disk takes none: this test's own.
        setenv("XDG_CACHE_HOME", (m_scratch.path() / "cache").c_str(), 1);
#endif
    }
    ~FullDisk() {
        std::error_code ignored;
        if (!m_path.empty()) fs::remove(m_path / "filler", ignored);
#ifndef _WIN32
        if (!m_mounted.empty()) {
            umount2(m_mounted.c_str(), MNT_DETACH);
            unsetenv("XDG_CACHE_HOME");
        }
#endif
    }
    explicit operator bool() const { return !m_path.empty(); }
    const fs::path& path() const { return m_path; }

    // Takes every block that is left.
    void Fill() const {
        std::ofstream filler(m_path / "filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {
        }
    }

    std::string why;

private:
    TempDir m_scratch;
    fs::path m_mounted;
    fs::path m_path;
};

// A style of exactly one 4 KB block: a file that grows needs another block, which a
// full disk does not have.
Bytes BlockStyle() {
    const auto build = [](std::size_t padding) {
        return StyleFile(BasicEvents("Pop") + Meta(0x7F, Bytes::Repeat(0, padding)) + VolumeEvent(9, 100) +
                         EndOfTrack());
    };
    const std::size_t padding = 200 + 4096 - build(200).size();
    return build(padding);
}

// Also the fault of a failed write taken for a whole one: on Windows a full disk once
// left a cut-off style that no longer opened, and reported success.
TEST_F(SystemSave, RealFullDiskLeavesTheStyleWhole) {
    const FullDisk disk;
    if (!disk) GTEST_SKIP() << disk.why;
    for (const bool hardLinked : {false, true}) {
        const fs::path folder = disk.path() / (hardLinked ? "linked" : "plain");
        fs::create_directory(folder);
        const fs::path path = folder / "Pop.sty";
        const Bytes old = BlockStyle();
        ASSERT_EQ(old.size(), 4096u);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(old.data.data()), static_cast<std::streamsize>(old.size()));
        if (hardLinked) fs::create_hard_link(path, folder / "Second name.sty");
        auto doc = Open(path);
        doc->m_strStyleTitle = "A Much Longer Title Than Before";
        disk.Fill();
        presenter.boxes.clear();
        EXPECT_FALSE(doc->OnSaveDocument(path)) << hardLinked;
        EXPECT_EQ(Texts(), std::vector<std::string>{kWriteError}) << hardLinked;
        EXPECT_EQ(ReadFileBytes(path).data, old.data) << hardLinked;
        std::vector<fs::path> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
        EXPECT_EQ(names.size(), hardLinked ? 2u : 1u) << testing::PrintToString(names);
        fs::remove(disk.path() / "filler");
        fs::remove_all(folder);
    }
}

}  // namespace
