// SPDX-License-Identifier: GPL-3.0-or-later
// A file written in blocks (a long render) keeps every promise of a whole write: it
// takes its name only when complete, a hard-linked file is written in place from the
// temporary file, and whatever fails, the file is the old one or the new one, whole, or
// the copies the result names remain; nothing else is left in the folder.

#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "FailingFileSystem.h"
#include "TempDir.h"
#include "storage/FileNames.h"
#include "storage/SafeFile.h"

namespace fs = std::filesystem;

namespace {

using Call = FailingFileSystem::Call;
using Fault = FailingFileSystem::Fault;

const std::string kOld = "the old content";
// Written as two blocks, the first byte then written anew (a header counted at the end).
const std::string kFirstBlock = "new content, ";
const std::string kSecondBlock = "longer than the old";
const std::string kNew = "New content, longer than the old";

ByteView View(const std::string& text) { return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}; }

WriteResult WriteInBlocks(FileSystem& files, const fs::path& path) {
    SafeFileWriter out(files, path);
    if (out.Append(View(kFirstBlock)) && out.Append(View(kSecondBlock))) out.Overwrite(0, View("N"));
    return out.Commit();
}

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

TEST(SafeFileWriter, BlocksMakeTheFileAndNothingElse) {
    TempDir dir;
    EXPECT_EQ(WriteInBlocks(SystemFileSystem(), dir / "New.wav").outcome, WriteOutcome::Written);
    EXPECT_EQ(ReadFileBytes(dir / "New.wav").str(), kNew);
    dir.Write("Old.wav", Bytes::Text(kOld));
    EXPECT_EQ(WriteInBlocks(SystemFileSystem(), dir / "Old.wav").outcome, WriteOutcome::Written);
    EXPECT_EQ(ReadFileBytes(dir / "Old.wav").str(), kNew);
    EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"New.wav", "Old.wav"}));
}

// Until Commit the file keeps its old content, and a writer that goes without it (a
// render that failed) leaves no trace.
TEST(SafeFileWriter, NothingIsInPlaceBeforeCommit) {
    TempDir dir;
    const fs::path path = dir.Write("Old.wav", Bytes::Text(kOld));
    {
        SafeFileWriter out(SystemFileSystem(), path);
        ASSERT_TRUE(out.Append(View(kNew)));
        EXPECT_EQ(ReadFileBytes(path).str(), kOld);
    }
    EXPECT_EQ(ReadFileBytes(path).str(), kOld);
    EXPECT_EQ(Names(dir.path()), std::set<std::string>{"Old.wav"});
}

TEST(SafeFileWriter, OverwritePastWhatWasAppendedFails) {
    TempDir dir;
    const fs::path path = dir.Write("Old.wav", Bytes::Text(kOld));
    SafeFileWriter out(SystemFileSystem(), path);
    ASSERT_TRUE(out.Append(View("1234")));
    EXPECT_FALSE(out.Overwrite(2, View("345")));
    EXPECT_FALSE(out.Append(View("5")));
    EXPECT_EQ(out.Commit().outcome, WriteOutcome::WriteFailed);
    EXPECT_EQ(ReadFileBytes(path).str(), kOld);
}

// A folder where the name is taken by a folder: refused before anything is written.
TEST(SafeFileWriter, TargetThatIsNoFileIsRefused) {
    TempDir dir;
    fs::create_directory(dir / "Out.wav");
    SafeFileWriter out(SystemFileSystem(), dir / "Out.wav");
    EXPECT_FALSE(out.Append(View(kNew)));
    EXPECT_EQ(out.Commit().outcome, WriteOutcome::CannotCreate);
    EXPECT_EQ(Names(dir.path()), std::set<std::string>{"Out.wav"});
}

enum class OnDisk { New, Old, Copies };

struct Injection {
    Call call;
    int nth;
    Fault fault;
};

struct FaultCase {
    const char* what;
    bool hardLinked;
    std::vector<Injection> faults;
    OnDisk expected;
    bool oldCopy = false;  // "Out.wav.korvane-backup" holds the old content and the result names it
    bool newCopy = false;  // "Out.wav.korvane-new" holds the new content and the result names it
};

// The target is opened (Open 1) and a temporary file made (CreateTemporary 1); the two
// blocks are written (Write 1, 2) and the first byte anew (Write 3). A plain write then
// flushes (Flush 1) and replaces (Replace 1). A write in place copies the old file (Open
// 2, CreateNew 1, Read 1, Write 4, Flush 1), then from the temporary file the part that
// grows the file (Read 2, Write 5) and the rest (Read 3, Write 6), and flushes (Flush 2).
// clang-format off
const FaultCase kCases[] = {
    {"a block is refused (a full disk)", false, {{Call::Write, 1, Fault::Refuse}}, OnDisk::Old},
    {"a block fails after part of its bytes", false, {{Call::Write, 2, Fault::FailAfterPart}}, OnDisk::Old},
    {"a short write is carried on", false, {{Call::Write, 2, Fault::ShortWrite}}, OnDisk::New},
    {"the header written anew fails", false, {{Call::Write, 3, Fault::Refuse}}, OnDisk::Old},
    {"the flush fails", false, {{Call::Flush, 1, Fault::Refuse}}, OnDisk::Old},
    {"the file no longer opens for writing", false, {{Call::Open, 1, Fault::Refuse}}, OnDisk::Old},
    {"no temporary file and no cache folder", false, {{Call::CreateTemporary, 1, Fault::Refuse}}, OnDisk::Old},
    {"the replace loses the old file: the new one takes its name", false,
     {{Call::Replace, 1, Fault::ReplaceLosesOld}}, OnDisk::New},
    {"the replace moves the old file aside and nothing renames: the new content is copied from the temporary file",
     false,
     {{Call::Replace, 1, Fault::ReplaceMovesOldAside},
      {Call::Rename, 1, Fault::Refuse},
      {Call::Rename, 2, Fault::Refuse},
      {Call::Rename, 3, Fault::Refuse}},
     OnDisk::Copies, true, true},
    {"a hard-linked file is written in place from the temporary file", true, {}, OnDisk::New},
    {"the temporary file cannot be read back as the file grows", true, {{Call::Read, 2, Fault::Refuse}}, OnDisk::Old},
    {"a write fails after part of the bytes while the file is overwritten", true,
     {{Call::Write, 6, Fault::FailAfterPart}}, OnDisk::Copies, true},
};
// clang-format on

class SafeFileWriterFaults : public testing::TestWithParam<FaultCase> {};

TEST_P(SafeFileWriterFaults, FileIsOldOrNewWholeOrTheCopiesAreNamed) {
    const FaultCase& c = GetParam();
    TempDir dir;
    const fs::path path = dir.Write("Out.wav", Bytes::Text(kOld));
    if (c.hardLinked) fs::create_hard_link(path, dir / "Second name.wav");
    FailingFileSystem files;
    for (const Injection& injection : c.faults) files.FailAt(injection.call, injection.nth, injection.fault);

    const WriteResult result = WriteInBlocks(files, path);

    EXPECT_EQ(result.outcome == WriteOutcome::Written, c.expected == OnDisk::New);
    std::set<std::string> expectedNames{"Out.wav"};
    if (c.hardLinked) {
        expectedNames.insert("Second name.wav");
        EXPECT_EQ(ReadFileBytes(dir / "Second name.wav").data, ReadFileBytes(path).data);
    }
    switch (c.expected) {
        case OnDisk::New: EXPECT_EQ(ReadFileBytes(path).str(), kNew); break;
        case OnDisk::Old: EXPECT_EQ(ReadFileBytes(path).str(), kOld); break;
        case OnDisk::Copies:
            if (!fs::exists(path)) expectedNames.erase("Out.wav");
            break;
    }
    const fs::path oldCopy = dir / "Out.wav.korvane-backup";
    const fs::path newCopy = dir / "Out.wav.korvane-new";
    EXPECT_EQ(result.oldCopy, c.oldCopy ? oldCopy : fs::path());
    EXPECT_EQ(result.newCopy, c.newCopy ? newCopy : fs::path());
    if (c.oldCopy) {
        expectedNames.insert("Out.wav.korvane-backup");
        EXPECT_EQ(ReadFileBytes(oldCopy).str(), kOld);
    }
    if (c.newCopy) {
        expectedNames.insert("Out.wav.korvane-new");
        EXPECT_EQ(ReadFileBytes(newCopy).str(), kNew);
    }
    // No temporary file or stray copy is left behind.
    EXPECT_EQ(Names(dir.path()), expectedNames);
}

std::string CaseName(const testing::TestParamInfo<FaultCase>& info) {
    std::string name;
    for (const char* p = info.param.what; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(EachWayADiskFails, SafeFileWriterFaults, testing::ValuesIn(kCases), CaseName);

// A folder that takes no new file: the blocks wait in the user's cache folder, and the
// file is written in place from there.
class WithCacheFolder : public FailingFileSystem {
public:
    explicit WithCacheFolder(fs::path cache) : m_cache(std::move(cache)) {}
    fs::path CacheFolder() override { return m_cache; }

private:
    fs::path m_cache;
};

TEST(SafeFileWriter, BlocksWaitInTheCacheFolderWhereTheFolderTakesNoNewFile) {
    TempDir dir;
    TempDir cache;
    const fs::path path = dir.Write("Out.wav", Bytes::Text(kOld));
    WithCacheFolder files(cache.path());
    files.FailAt(Call::CreateTemporary, 1, Fault::Refuse);
    files.FailAt(Call::CreateNew, 1, Fault::Refuse);  // nor a copy of the old file beside it
    EXPECT_EQ(WriteInBlocks(files, path).outcome, WriteOutcome::Written);
    EXPECT_EQ(ReadFileBytes(path).str(), kNew);
    EXPECT_EQ(Names(dir.path()), std::set<std::string>{"Out.wav"});
    EXPECT_TRUE(Names(cache.path()).empty());
}

// --stems names a folder that is there or can be made, never a file.
TEST(FileNames, CanHoldFolderOnlyWhereNoFileIsInTheWay) {
    TempDir dir;
    dir.Write("File", Bytes::Text("x"));
    FailingFileSystem files;
    EXPECT_TRUE(CanHoldFolder(files, dir.path()));
    EXPECT_TRUE(CanHoldFolder(files, dir / "Missing"));
    EXPECT_TRUE(CanHoldFolder(files, dir / "Missing" / "Deeper"));
    EXPECT_FALSE(CanHoldFolder(files, dir / "File"));
    EXPECT_FALSE(CanHoldFolder(files, dir / "File" / "Below"));
}

}  // namespace
