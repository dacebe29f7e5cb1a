// SPDX-License-Identifier: GPL-3.0-or-later
// Saves on real file systems: links, other files in the way, permissions, owners,
// special files. Each case is a way a save once lost or exposed a file.

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <chrono>
#include <csignal>

#include "SaveFixture.h"
#include "StyleBytes.h"
#include "TempDir.h"
#include "Unprivileged.h"
#include "document/KorvaneDoc.h"
#include "msg/MessageBoxStyle.h"
#include "storage/SafeFile.h"

namespace fs = std::filesystem;

namespace {

const std::string kWriteError = "Error creating/writing style file!\n\n(Please check if file is write protected.)";
const std::string kOpenError = "Error opening style file!\n\n(Please check if file is in use by another application.)";

// Notes after the volume make even a style with a one-letter title long enough.
Bytes Style(const char* title, std::uint8_t volume = 100) {
    return StyleFile(BasicEvents(title) + VolumeEvent(9, volume) + NoteOn(9, 36, 90) + NoteOn(9, 38, 90) +
                     EndOfTrack());
}

// What a write in place showed at the moment its backup was complete.
struct Seen {
    fs::path backup;
    Bytes backupBytes;
    Bytes fileBytes;
};

void Watch(const fs::path& file, Seen& seen) {
    SetInPlaceWriteObserver([&seen, file](const fs::path& backup) {
        seen = {backup, ReadFileBytes(backup), ReadFileBytes(file)};
    });
}

// Holds a temporary file open as a save that is writing it does.
class LiveSave {
public:
#ifdef _WIN32
    explicit LiveSave(const fs::path& path)
        : m_handle(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~LiveSave() { CloseHandle(m_handle); }
    bool Holds() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
#else
    explicit LiveSave(const fs::path& path) : m_fd(open(path.c_str(), O_RDONLY)) {}
    ~LiveSave() { close(m_fd); }
    bool Holds() const { return m_fd >= 0 && flock(m_fd, LOCK_EX) == 0; }

private:
    int m_fd;
#endif
};

class SafeSave : public SaveFixture {
protected:
#ifndef _WIN32
    struct stat Stat(const fs::path& path) const {
        struct stat info {};
        EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
        return info;
    }
#endif
};

TEST_F(SafeSave, NamingRulesNeverReplaceAnotherStyle) {
    const auto a = dir.Write("a.sty", Style("A"));
    const auto b = dir.Write("B.sty", Style("B"));
    auto doc = Open(a);
    doc->m_bAdaptFilename = doc->m_bDeleteOldFile = true;
    doc->m_strStyleTitle = "B";
    doc->m_nAllChannelsPercent = 50;
    EXPECT_FALSE(doc->OnSaveDocument(a));
    EXPECT_EQ(Texts(), std::vector<std::string>{"The file \"B.sty\" already exists!\n\n(Saving would replace another "
                                                "file; nothing was saved.)"});
    EXPECT_EQ(ReadFileBytes(a).data, Style("A").data);
    EXPECT_EQ(ReadFileBytes(b).data, Style("B").data);
    EXPECT_EQ(doc->m_strStylePath, a);

    // The editor asks; No saves nothing and says nothing more.
    doc->m_existingFile = CKorvaneDoc::ExistingFile::Ask;
    presenter.boxes.clear();
    presenter.answer = msgbox::IdNo;
    EXPECT_FALSE(doc->OnSaveDocument(a));
    EXPECT_EQ(Texts(), std::vector<std::string>{"The file \"B.sty\" already exists!\n\nDo you want to replace it "
                                                "with this style?"});
    EXPECT_EQ(ReadFileBytes(b).data, Style("B").data);

    // Allowed: Yes in the editor, or --overwrite in the companion.
    presenter.answer = msgbox::IdYes;
    ASSERT_TRUE(doc->OnSaveDocument(a));
    const Bytes saved = Style("B", 50);
    EXPECT_EQ(ReadFileBytes(b).data, saved.data);
    EXPECT_FALSE(fs::exists(a));

    // A path given exactly, naming off, is replaced as the user asked.
    const auto c = dir.Write("c.sty", Style("C"));
    auto other = Open(b);
    ASSERT_TRUE(other->OnSaveDocument(c));
    EXPECT_EQ(ReadFileBytes(c).data, saved.data);
}

// Nothing makes a write in place whole or nothing: a save killed in the middle once
// left a broken style. A complete copy of the old file is on the disk for as long as
// the file is being overwritten, and gone once the new content is.
TEST_F(SafeSave, HardLinkedFileIsWrittenInPlaceWithABackupMeanwhile) {
    const auto path = dir.Write("Pop.sty", Style("Pop"));
    fs::create_hard_link(path, dir / "Second name.sty");
    // A copy left by an earlier save that was killed is never overwritten or removed.
    const auto leftOver = dir.Write("Pop.sty.korvane-backup", Style("Older"));
    auto doc = Open(path);
    doc->m_strStyleTitle = "Longer Title";
    Seen seen;
    Watch(path, seen);
    ASSERT_TRUE(doc->OnSaveDocument(path));
    EXPECT_EQ(seen.backup, dir / "Pop.sty.korvane-backup-2");
    EXPECT_EQ(seen.backupBytes.data, Style("Pop").data);
    EXPECT_EQ(seen.fileBytes.data, Style("Pop").data);
    EXPECT_FALSE(fs::exists(seen.backup));
    EXPECT_EQ(ReadFileBytes(leftOver).data, Style("Older").data);
    EXPECT_EQ(ReadFileBytes(dir / "Second name.sty").data, Style("Longer Title").data);
    SetInPlaceWriteObserver(nullptr);
}

TEST_F(SafeSave, AbandonedTemporaryFileIsRemovedByTheNextSaveButALiveOneIsNot) {
    const auto path = dir.Write("Pop.sty", Style("Pop"));
    dir.Write(".korvane-0.tmp", Bytes::Text("left by a save that was killed"));
    dir.Write(".korvane-5.tmp", Bytes::Text("left by another"));
    const auto live = dir.Write(".korvane-1.tmp", Bytes::Text("a save under way"));
    // A killed save's file is long unwritten (Windows goes by that alone); the live one
    // is too here, so that only its being held keeps it.
    for (const char* name : {".korvane-0.tmp", ".korvane-5.tmp", ".korvane-1.tmp"})
        fs::last_write_time(dir / name, fs::file_time_type::clock::now() - std::chrono::hours(2));
    {
        const LiveSave underWay(live);
        ASSERT_TRUE(underWay.Holds());
        auto doc = Open(path);
        doc->m_strStyleTitle = "New";
        ASSERT_TRUE(doc->OnSaveDocument(path));
    }
    EXPECT_FALSE(fs::exists(dir / ".korvane-0.tmp"));
    EXPECT_FALSE(fs::exists(dir / ".korvane-5.tmp"));
    EXPECT_TRUE(fs::exists(live));
    EXPECT_EQ(ReadFileBytes(path).data, Style("New").data);
}

TEST_F(SafeSave, TitleOfBlanksIsRefusedInsteadOfNamingAHiddenFile) {
    const auto path = dir.Write("Pop.sty", Style("Pop"));
    auto doc = Open(path);
    doc->m_bAdaptFilename = true;
    for (const bool format : {false, true}) {
        doc->m_bFormatFilename = format;
        doc->m_strStyleTitle = "   ";
        presenter.boxes.clear();
        EXPECT_FALSE(doc->OnSaveDocument(path));
        EXPECT_EQ(Texts(), std::vector<std::string>{"File title may not be empty!"});
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST_F(SafeSave, SideFileMessageComesBeforeTheStyleIsWritten) {
    const auto path = dir.Write("Pop.sty", StyleFile(BasicEvents() + EndOfTrack(), Ots()));
    fs::create_directory(dir / "Pop.ots");
    auto doc = Open(path);
    doc->m_bExportOTS = true;
    doc->m_strStyleTitle = "New";
    Bytes styleWhenShown;
    presenter.throwers.push_back([&] { styleWhenShown = ReadFileBytes(path); });
    ASSERT_TRUE(doc->OnSaveDocument(path));
    EXPECT_EQ(styleWhenShown.data, StyleFile(BasicEvents() + EndOfTrack(), Ots()).data);
    EXPECT_EQ(ReadFileBytes(path).data, StyleFile(BasicEvents("New") + EndOfTrack(), Ots()).data);
}

#ifdef _WIN32
// What Windows, and Wine that runs these tests there, cannot show: each is skipped
// by name, saying why.
TEST_F(SafeSave, SymlinkWithDeleteOldFileKeepsTheStyle) {
    GTEST_SKIP() << "symbolic links need a privilege on Windows";
}
TEST_F(SafeSave, FileTheUserMayNotWriteIsRefusedWhoeverOwnsIt) {
    GTEST_SKIP() << "Windows has no root to save as another user; ReadOnlyFileIsRefused shows the refusal";
}
TEST_F(SafeSave, RootSaveKeepsTheOwnerGroupAndPermissions) {
    GTEST_SKIP() << "Windows keeps owners in access lists, which the replacement keeps; Wine has none";
}
TEST_F(SafeSave, FolderThatTakesNoNewFileIsWrittenInPlaceWithTheBackupInTheCache) {
    GTEST_SKIP() << "a folder that refuses new files needs POSIX permissions and a user other than root";
}
TEST_F(SafeSave, FullDiskLeavesTheStyleUntouched) {
    GTEST_SKIP() << "Windows has no file-size limit to stand in for a full disk; RealFullDiskLeavesTheStyleWhole "
                    "saves on a real one where the tests run as root";
}
TEST_F(SafeSave, FifoIsRefusedWithoutWaiting) { GTEST_SKIP() << "Windows has no FIFOs"; }

// The read-only attribute, Windows' own write protection, is honoured.
TEST_F(SafeSave, ReadOnlyFileIsRefused) {
    const auto path = dir.Write("Pop.sty", Style("Pop"));
    auto doc = Open(path);
    doc->m_strStyleTitle = "Changed";
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(doc->OnSaveDocument(path));
    EXPECT_EQ(Texts(), std::vector<std::string>{kWriteError});
    EXPECT_EQ(ReadFileBytes(path).data, Style("Pop").data);
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
}
#else
TEST_F(SafeSave, SymlinkWithDeleteOldFileKeepsTheStyle) {
    const struct {
        const char* what;
        const char* link;
        const char* linkTo;
        bool adapt;
        const char* title;
        const char* written;  // the regular file that holds the new style afterwards
        bool linkStays;
    } cases[] = {
        {"same name writes through the link", "Link.sty", "real/Pop.sty", false, "Pop", "real/Pop.sty", true},
        {"new name is made beside the link, which alone goes", "Link.sty", "real/Pop.sty", true, "New", "New.sty",
         false},
        {"new name is the file behind the link", "pop.sty", "Pop.sty", true, "Pop", "Pop.sty", false},
    };
    for (const auto& c : cases) {
        TempDir scratch;
        fs::create_directories(scratch / "real");
        const fs::path behind = scratch.Write(c.linkTo, Style("Pop"));
        fs::create_symlink(c.linkTo, scratch / c.link);
        auto doc = Open(scratch / c.link);
        doc->m_bAdaptFilename = c.adapt;
        doc->m_bDeleteOldFile = true;
        doc->m_strStyleTitle = c.title;
        doc->m_nAllChannelsPercent = 50;
        ASSERT_TRUE(doc->OnSaveDocument(scratch / c.link)) << c.what;
        const fs::path written = scratch / c.written;
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(written))) << c.what;
        EXPECT_EQ(ReadFileBytes(written).data, Style(c.title, 50).data) << c.what;
        EXPECT_EQ(fs::is_symlink(fs::symlink_status(scratch / c.link)), c.linkStays) << c.what;
        EXPECT_TRUE(fs::exists(behind)) << c.what;
    }
}

TEST_F(SafeSave, FileTheUserMayNotWriteIsRefusedWhoeverOwnsIt) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to save as another user";
    // Root's file, writable by root alone, in a folder everyone may write: its mode
    // has a write bit, but "nobody" may not open it for writing, so may not take it over.
    fs::permissions(dir.path(), fs::perms::all);
    const auto path = dir.Write("Pop.sty", Style("Pop"));
    fs::permissions(path,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
    auto doc = Open(path);
    doc->m_strStyleTitle = "Taken";
    EXPECT_TRUE(AsUnprivilegedUser([&] {
        presenter.boxes.clear();
        return !doc->OnSaveDocument(path) && Texts() == std::vector<std::string>{kWriteError};
    }));
    EXPECT_EQ(ReadFileBytes(path).data, Style("Pop").data);
    EXPECT_EQ(Stat(path).st_uid, 0u);

    // Without any write bit, root may still open it for writing, so root may save it.
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    ASSERT_TRUE(doc->OnSaveDocument(path));
    EXPECT_EQ(ReadFileBytes(path).data, Style("Taken").data);
}

TEST_F(SafeSave, RootSaveKeepsTheOwnerGroupAndPermissions) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to hand a file to another user";
    const auto path = dir.Write("Pop.sty", Style("Pop"));
    ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    auto doc = Open(path);
    doc->m_strStyleTitle = "Mine";
    ASSERT_TRUE(doc->OnSaveDocument(path));
    const struct stat info = Stat(path);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadFileBytes(path).data, Style("Mine").data);
}

TEST_F(SafeSave, FolderThatTakesNoNewFileIsWrittenInPlaceWithTheBackupInTheCache) {
    // The copy goes to the user's cache folder. Shorter content leaves no old bytes behind.
    fs::create_directory(dir / "locked");
    fs::create_directory(dir / "cache");
    const auto locked = dir.Write("locked/Pop.sty", Style("Pop Pop Pop"));
    fs::permissions(dir.path(), fs::perms::all);
    fs::permissions(dir / "cache", fs::perms::all);
    fs::permissions(locked, fs::perms::all);
    fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                        fs::perms::others_exec | fs::perms::group_read | fs::perms::group_exec);
    setenv("XDG_CACHE_HOME", (dir / "cache").c_str(), 1);
    auto inLocked = Open(locked);
    inLocked->m_strStyleTitle = "Pop";
    EXPECT_TRUE(AsUnprivilegedUser([&] {
        Seen cached;
        Watch(locked, cached);
        return inLocked->OnSaveDocument(locked) && cached.backup == dir / "cache/korvane/Pop.sty.korvane-backup" &&
               cached.backupBytes.data == Style("Pop Pop Pop").data && !fs::exists(cached.backup);
    }));
    unsetenv("XDG_CACHE_HOME");
    SetInPlaceWriteObserver(nullptr);
    EXPECT_EQ(ReadFileBytes(locked).data, Style("Pop").data);
    fs::permissions(dir / "locked", fs::perms::all);
}

TEST_F(SafeSave, FullDiskLeavesTheStyleUntouched) {
    // A limit on file size stands in for a full disk: writing past it fails.
    for (const bool hardLinked : {false, true}) {
        TempDir scratch;
        const auto path = scratch.Write("Pop.sty", Style("Pop"));
        if (hardLinked) fs::create_hard_link(path, scratch / "Other name.sty");
        auto doc = Open(path);
        doc->m_strStyleTitle = "A Much Longer Title Than Before";
        const pid_t child = fork();
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{Style("Pop").size() + 4, Style("Pop").size() + 4};
            _exit(setrlimit(RLIMIT_FSIZE, &limit) == 0 && !doc->OnSaveDocument(path) ? 0 : 1);
        }
        int status = 1;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << hardLinked;
        EXPECT_EQ(ReadFileBytes(path).data, Style("Pop").data) << hardLinked;
        EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path()), fs::directory_iterator()), hardLinked ? 2 : 1);
    }
}

TEST_F(SafeSave, FifoIsRefusedWithoutWaiting) {
    const auto fifo = dir / "Pipe.sty";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    CKorvaneDoc doc;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(doc.OnOpenDocument(fifo));
    EXPECT_EQ(Texts(), std::vector<std::string>{kOpenError});

    // Under a side file's name a FIFO is no side file; as a target it is refused.
    const auto path = dir.Write("Pop.sty", StyleFile(BasicEvents() + EndOfTrack(), Ots()));
    ASSERT_EQ(mkfifo((dir / "Pop.csm").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo((dir / "Pop.ots").c_str(), 0600), 0);
    auto style = Open(path);
    EXPECT_FALSE(style->m_bCASMFileExists);
    EXPECT_FALSE(style->m_bOTSFileExists);
    presenter.boxes.clear();
    style->m_bExportOTS = true;
    EXPECT_TRUE(style->OnSaveDocument(path));
    EXPECT_EQ(Texts(), std::vector<std::string>{
                           "Error creating/writing OTS file!\n\n(Please check if file is write protected.)"});
    EXPECT_TRUE(fs::is_fifo(dir / "Pop.ots"));
    presenter.boxes.clear();
    style->m_bExportOTS = false;
    EXPECT_FALSE(style->OnSaveDocument(fifo));
    EXPECT_EQ(Texts(), std::vector<std::string>{kWriteError});
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}
#endif

}  // namespace
