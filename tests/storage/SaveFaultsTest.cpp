// SPDX-License-Identifier: GPL-3.0-or-later
// Saves through a file system that fails on purpose, one way a disk fails per case. On
// Linux the file system below is the POSIX one, under Wine the Windows one: the same
// table holds for both. Whatever fails, the style on disk is the old one or the new
// one, whole, or the copies the message names remain, and the user is told.

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <tuple>

#include "FailingFileSystem.h"
#include "SaveFixture.h"
#include "StyleBytes.h"

namespace fs = std::filesystem;

namespace {

using Call = FailingFileSystem::Call;
using Fault = FailingFileSystem::Fault;

const std::string kWriteError = "Error creating/writing style file!\n\n(Please check if file is write protected.)";

Bytes Style(const char* title) {
    return StyleFile(BasicEvents(title) + VolumeEvent(9, 100) + NoteOn(9, 36, 90) + NoteOn(9, 38, 90) + EndOfTrack());
}
const Bytes kOld = Style("Pop");
const Bytes kNew = Style("A Much Longer Title");

enum class OnDisk { New, Old, Copies };

struct Injection {
    Call call;
    int nth;
    Fault fault;
};

struct FaultCase {
    const char* what;
    bool hardLinked;  // written in place, with a copy of the old file meanwhile
    std::vector<Injection> faults;
    OnDisk expected;
    bool oldCopy = false;  // "Pop.sty.korvane-backup" holds the old style and the message names it
    bool newCopy = false;  // "Pop.sty.korvane-new" holds the new style and the message names it
};

// Every save first reads the file back (Open 1, Read 1) to see that it is still the
// one loaded. In a plain save the temporary file is then written in one call (Write
// 1), flushed (Flush 1) and put in place (Replace 1). In a write in place the copy of
// the old file is read (Read 2), made (CreateNew 1) and written (Write 1, Flush 1);
// then the part that grows the file is written (Write 2), the rest (Write 3) and the
// file flushed (Flush 2).
// clang-format off
const FaultCase kCases[] = {
    {"a write is refused (a full disk)", false, {{Call::Write, 1, Fault::Refuse}}, OnDisk::Old},
    {"a short write is carried on", false, {{Call::Write, 1, Fault::ShortWrite}}, OnDisk::New},
    {"a write fails after part of the bytes (a stick pulled out)", false, {{Call::Write, 1, Fault::FailAfterPart}},
     OnDisk::Old},
    {"the flush fails", false, {{Call::Flush, 1, Fault::Refuse}}, OnDisk::Old},
    {"the file no longer opens for writing", false, {{Call::Open, 2, Fault::Refuse}}, OnDisk::Old},
    {"the replace moves nothing (or a rename fails)", false, {{Call::Replace, 1, Fault::ReplaceMovesNothing}},
     OnDisk::Old},
    {"the replace loses the old file: the new one takes its name", false,
     {{Call::Replace, 1, Fault::ReplaceLosesOld}}, OnDisk::New},
    {"the replace moves the old file aside: the new one takes its name", false,
     {{Call::Replace, 1, Fault::ReplaceMovesOldAside}}, OnDisk::New},
    {"the replace moves the old file aside, the new one cannot follow: the old one goes back", false,
     {{Call::Replace, 1, Fault::ReplaceMovesOldAside}, {Call::Rename, 1, Fault::Refuse}}, OnDisk::Old},
    {"the replace moves the old file aside and nothing renames: both are kept under their names", false,
     {{Call::Replace, 1, Fault::ReplaceMovesOldAside},
      {Call::Rename, 1, Fault::Refuse},
      {Call::Rename, 2, Fault::Refuse},
      {Call::Rename, 3, Fault::Refuse}},
     OnDisk::Copies, true, true},
    {"the replace loses the old file and nothing renames: the new one is kept under its name", false,
     {{Call::Replace, 1, Fault::ReplaceLosesOld}, {Call::Rename, 1, Fault::Refuse}, {Call::Rename, 2, Fault::Refuse}},
     OnDisk::Copies, false, true},
    {"the replace did its work and still failed", false, {{Call::Replace, 1, Fault::ReplaceMovesNew}}, OnDisk::New},
    // Once taken for a save: the old file was still there and the temporary name gone.
    {"the temporary file vanishes before the replace", false, {{Call::Replace, 1, Fault::TemporaryVanishes}},
     OnDisk::Old},
    // On Windows the clean-up once removed the file the save had just closed for its replace.
    {"another save cleans up just before the replace", false, {{Call::Replace, 1, Fault::CleanUpBeforeReplace}},
     OnDisk::New},
    {"no temporary file can be made: the file is written in place", false,
     {{Call::CreateTemporary, 1, Fault::Refuse}}, OnDisk::New},
    {"no copy of the old file can be made", true, {{Call::CreateNew, 1, Fault::Refuse}}, OnDisk::Old},
    {"the old file cannot be read for its copy", true, {{Call::Read, 2, Fault::Refuse}}, OnDisk::Old},
    {"the disk is full when the file grows", true, {{Call::Write, 2, Fault::Refuse}}, OnDisk::Old},
    {"a write fails after part of the bytes while the file is overwritten", true,
     {{Call::Write, 3, Fault::FailAfterPart}}, OnDisk::Copies, true},
    {"the file's flush fails after it was overwritten", true, {{Call::Flush, 2, Fault::Refuse}}, OnDisk::Copies, true},
};
// clang-format on

class SaveFaults : public SaveFixture, public testing::WithParamInterface<FaultCase> {
protected:
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            const std::u8string name = entry.path().filename().u8string();
            names.emplace(name.begin(), name.end());
        }
        return names;
    }
};

TEST_P(SaveFaults, StyleIsOldOrNewWholeOrTheCopiesAreNamed) {
    const FaultCase& c = GetParam();
    const fs::path path = dir.Write("Pop.sty", kOld);
    if (c.hardLinked) fs::create_hard_link(path, dir / "Second name.sty");
    auto doc = Open(path);
    doc->m_strStyleTitle = "A Much Longer Title";
    FailingFileSystem files;
    for (const Injection& injection : c.faults) files.FailAt(injection.call, injection.nth, injection.fault);
    doc->UseFileSystem(files);

    const bool saved = doc->OnSaveDocument(path);

    EXPECT_EQ(saved, c.expected == OnDisk::New);
    std::set<std::string> expectedNames{"Pop.sty"};
    if (c.hardLinked) expectedNames.insert("Second name.sty");
    switch (c.expected) {
        case OnDisk::New:
            EXPECT_TRUE(Texts().empty());
            EXPECT_EQ(ReadFileBytes(path).data, kNew.data);
            break;
        case OnDisk::Old:
            EXPECT_EQ(Texts(), std::vector<std::string>{kWriteError});
            EXPECT_EQ(ReadFileBytes(path).data, kOld.data);
            break;
        case OnDisk::Copies:
            ASSERT_EQ(presenter.boxes.size(), 1u);
            EXPECT_EQ(presenter.boxes[0].text.rfind(kWriteError, 0), 0u) << presenter.boxes[0].text;
            if (!fs::exists(path)) expectedNames.erase("Pop.sty");
            break;
    }
    for (const auto& [wanted, suffix, bytes, phrase] :
         {std::tuple{c.oldCopy, ".korvane-backup", &kOld, "The old file was kept as \""},
          std::tuple{c.newCopy, ".korvane-new", &kNew, "The new file was kept as \""}}) {
        if (!wanted) continue;
        const fs::path copy = dir / (std::string("Pop.sty") + suffix);
        expectedNames.insert(std::string("Pop.sty") + suffix);
        EXPECT_EQ(ReadFileBytes(copy).data, bytes->data) << suffix;
        if (!presenter.boxes.empty()) {
            const std::u8string name = copy.u8string();
            EXPECT_NE(presenter.boxes[0].text.find(phrase + std::string(name.begin(), name.end())), std::string::npos)
                << presenter.boxes[0].text;
        }
    }
    // No temporary file or stray copy is left behind.
    EXPECT_EQ(Names(), expectedNames);
}

std::string CaseName(const testing::TestParamInfo<FaultCase>& info) {
    std::string name;
    for (const char* p = info.param.what; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(EachWayADiskFails, SaveFaults, testing::ValuesIn(kCases), CaseName);

// After a power cut the folder's names may be older than its files: a style renamed
// into place, or a copy made or removed, needs its folder flushed to stay so.
using SaveDurability = SaveFixture;

TEST_F(SaveDurability, FolderIsFlushedAfterEveryNameChange) {
    const fs::path path = dir.Write("Pop.sty", kOld);
    auto doc = Open(path);
    doc->m_strStyleTitle = "New";
    FailingFileSystem files;
    doc->UseFileSystem(files);
    ASSERT_TRUE(doc->OnSaveDocument(path));
    const fs::path folder = path.parent_path();
    EXPECT_TRUE(files.FolderFlushedAfter(Call::Replace, folder));

    fs::create_hard_link(path, dir / "Second name.sty");
    FailingFileSystem inPlace;
    doc->UseFileSystem(inPlace);
    doc->m_strStyleTitle = "Newer";
    ASSERT_TRUE(doc->OnSaveDocument(path));
    EXPECT_TRUE(inPlace.FolderFlushedAfter(Call::CreateNew, folder));
    EXPECT_TRUE(inPlace.FolderFlushedAfter(Call::Remove, folder));
}

}  // namespace
