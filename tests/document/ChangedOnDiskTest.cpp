// SPDX-License-Identifier: GPL-3.0-or-later
// A style that somebody else changes on disk while it is open is never written over or
// removed unasked: the editor asks, the companion refuses unless --overwrite. One
// table of changes, on Linux and, under Wine, on Windows.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <vector>

#include "SaveFixture.h"
#include "StyleBytes.h"
#include "document/LoadedFileRecord.h"
#include "msg/MessageBoxStyle.h"
#include "storage/FileNames.h"

namespace fs = std::filesystem;

namespace {

using ExistingFile = CKorvaneDoc::ExistingFile;

Bytes Style(std::string_view title, std::uint8_t volume = 100) {
    return StyleFile(BasicEvents(title) + TempoEvent(500000) + VolumeEvent(9, volume) + EndOfTrack(), Ots());
}
const Bytes kLoaded = Style("Work");
const Bytes kSaved = Style("Work", 50);         // kLoaded with every volume at 50 %
const Bytes kOther = Style("Somebody Else's");  // another program's style
const Bytes kSameSize = Style("Mine");          // as long as kLoaded, other bytes

std::optional<FileIdentity> IdentityOn(const fs::path& path) { return IdentityOfFile(SystemFileSystem(), path); }

void WriteOver(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data.data()), static_cast<std::streamsize>(bytes.size()));
}

// What somebody else does to the file between the load and the save, and what the
// file then holds (nothing: it is gone).
struct Change {
    const char* what;
    void (*make)(const fs::path& path);
    std::optional<Bytes> left;
    bool counts;  // the save must not simply write over it
};

const Change kChanges[] = {
    {"nothing", [](const fs::path&) {}, kLoaded, false},
    {"new content", [](const fs::path& path) { WriteOver(path, kOther); }, kOther, true},
    // A file system with coarse times, or a tool that restores them: only the content tells.
    {"new content of the same size and time",
     [](const fs::path& path) {
         const auto time = fs::last_write_time(path);
         WriteOver(path, kSameSize);
         fs::last_write_time(path, time);
         EXPECT_EQ(fs::file_size(path), kLoaded.size());
         EXPECT_EQ(fs::last_write_time(path), time);
     },
     kSameSize, true},
    // Another file under the name, even one with the same bytes and time, as a sync
    // tool or a second editor leaves it.
    {"replaced by another file with the same bytes and time",
     [](const fs::path& path) {
         fs::path other = path;
         other += ".new";
         WriteOver(other, kLoaded);
         const auto time = fs::last_write_time(path);
         fs::last_write_time(other, time);
         fs::rename(other, path);
         EXPECT_EQ(fs::last_write_time(path), time);
     },
     kLoaded, true},
    {"deleted", [](const fs::path& path) { fs::remove(path); }, std::nullopt, false},
};

class ChangedOnDisk : public SaveFixture {
protected:
    // Work.sty, loaded with its volumes set to 50 % and "Export OTS settings" on, so
    // that a save that writes anything at all leaves Work.ots; then changed.
    std::unique_ptr<CKorvaneDoc> LoadThenChange(const TempDir& folder, const Change& change) {
        const fs::path path = folder.Write("Work.sty", kLoaded);
        // Whole seconds: Windows' C library sets no finer time, and the change that
        // keeps the time must keep it exactly.
        fs::last_write_time(
            path, std::chrono::floor<std::chrono::seconds>(fs::last_write_time(path)) - std::chrono::hours(1));
        auto doc = Open(path);
        doc->m_nAllChannelsPercent = 50;
        doc->m_bExportOTS = true;
        doc->SetModifiedFlag(true);
        change.make(path);
        return doc;
    }
};

// What a save over the changed file does, in each way a caller can take it: the
// companion without and with --overwrite, the editor's question answered both ways.
TEST_F(ChangedOnDisk, SaveOverItWritesOnlyWhenAllowedAndTheNextSaveDoesNotAsk) {
    const struct {
        const char* how;
        ExistingFile mode;
        int answer;
        bool writes;  // over a file that changed
    } callers[] = {
        {"companion", ExistingFile::Refuse, 0, false},
        {"companion --overwrite", ExistingFile::Replace, 0, true},
        {"editor, answered Yes", ExistingFile::Ask, msgbox::IdYes, true},
        {"editor, answered No", ExistingFile::Ask, msgbox::IdNo, false},
    };
    const std::string question =
        "The file \"Work.sty\" has been changed or replaced since it was opened!\n\nDo you want to overwrite it with "
        "this style?";
    const std::string refusal =
        "The file \"Work.sty\" has been changed or replaced since it was opened!\n\n(Saving would overwrite it; "
        "nothing was saved.)";
    for (const Change& change : kChanges) {
        for (const auto& caller : callers) {
            SCOPED_TRACE(std::string(change.what) + ", " + caller.how);
            TempDir folder;
            auto doc = LoadThenChange(folder, change);
            const fs::path path = folder / "Work.sty";
            const std::optional<FileIdentity> changed = IdentityOn(path);
            doc->m_existingFile = caller.mode;
            presenter.answer = caller.answer;
            presenter.boxes.clear();

            const bool writes = !change.counts || caller.writes;
            EXPECT_EQ(doc->OnSaveDocument(path), writes);

            std::vector<std::string> boxes;
            if (change.counts && caller.mode == ExistingFile::Ask) boxes = {question};
            if (change.counts && caller.mode == ExistingFile::Refuse) boxes = {refusal};
            EXPECT_EQ(Texts(), boxes);
            if (!boxes.empty() && caller.mode == ExistingFile::Ask) {
                EXPECT_EQ(presenter.boxes[0].style, msgbox::YesNo | msgbox::DefaultButton2 | msgbox::IconQuestion);
            }
            if (!writes) {
                // Untouched: the same file with the other content, and no side file.
                EXPECT_EQ(ReadFileBytes(path).data, change.left->data);
                EXPECT_EQ(IdentityOn(path), changed);
                EXPECT_FALSE(fs::exists(folder / "Work.ots"));
                EXPECT_TRUE(doc->IsModified());
                continue;
            }
            EXPECT_EQ(ReadFileBytes(path).data, kSaved.data);
            EXPECT_TRUE(fs::exists(folder / "Work.ots"));
            // The file written is the one the document knows now: saving again asks nothing.
            presenter.boxes.clear();
            doc->m_nAllChannelsPercent = 25;
            EXPECT_TRUE(doc->OnSaveDocument(path));
            EXPECT_TRUE(presenter.boxes.empty());
            EXPECT_EQ(ReadFileBytes(path).data, Style("Work", 25).data);
        }
    }
}

// "Delete old style file" with a new title: the new file is written, and the old one
// goes only while it holds what was loaded (once it took somebody else's style with it).
TEST_F(ChangedOnDisk, OldFileStepKeepsAFileThatChanged) {
    for (const Change& change : kChanges) {
        SCOPED_TRACE(change.what);
        TempDir folder;
        auto doc = LoadThenChange(folder, change);
        const fs::path old = folder / "Work.sty";
        doc->m_bAdaptFilename = doc->m_bDeleteOldFile = true;
        doc->m_strStyleTitle = "Renamed";
        presenter.boxes.clear();

        ASSERT_TRUE(doc->OnSaveDocument(old));

        EXPECT_EQ(ReadFileBytes(folder / "Renamed.sty").data, Style("Renamed", 50).data);
        EXPECT_EQ(doc->m_strStylePath, folder / "Renamed.sty");
        if (change.counts) {
            EXPECT_EQ(Texts(), std::vector<std::string>{"The style was saved, but the old style file \"Work.sty\" was "
                                                        "kept: it has been changed or replaced since it was opened."});
            EXPECT_EQ(ReadFileBytes(old).data, change.left->data);
        } else {
            EXPECT_TRUE(presenter.boxes.empty());
            EXPECT_FALSE(fs::exists(old));
        }
    }
}

}  // namespace

namespace {

// A save hashes what it writes in pieces and compares it later with the file read
// whole: however the bytes are cut, the hash is the same, and one byte changed anywhere
// (in a whole block of four words, in the unfinished block or in its unfinished last
// word) changes it.
TEST(ContentHashTest, PiecesDoNotMatterAndEveryByteDoes) {
    Bytes content;
    for (int i = 0; i < 93; ++i) content.data.push_back(static_cast<std::uint8_t>(i * 37 + 1));
    const ByteView whole = content.view();
    ContentHash once;
    once.Add(whole);
    for (const std::vector<std::size_t>& cuts : std::vector<std::vector<std::size_t>>{
             {0}, {1}, {7}, {8}, {9}, {31}, {32}, {33}, {3, 5}, {8, 16, 24}, {1, 2, 3, 4, 28, 29}, {30, 70, 92, 93}}) {
        ContentHash pieces;
        std::size_t from = 0;
        for (const std::size_t cut : cuts) {
            pieces.Add(whole.subspan(from, cut - from));
            from = cut;
        }
        pieces.Add(whole.subspan(from));
        EXPECT_EQ(pieces.Value(), once.Value()) << "cut at " << cuts.front() << " (" << cuts.size() << " cuts)";
    }
    for (std::size_t changed = 0; changed < content.data.size(); ++changed) {
        Bytes other = content;
        other.data[changed] ^= 0x01;
        ContentHash hash;
        hash.Add(other.view());
        EXPECT_NE(hash.Value(), once.Value()) << "byte " << changed;
    }
    ContentHash shorter;
    shorter.Add(whole.first(92));
    EXPECT_NE(shorter.Value(), once.Value());
    // Two words of a block that trade places: each lies in another lane then.
    Bytes traded = content;
    std::swap_ranges(traded.data.begin(), traded.data.begin() + 8, traded.data.begin() + 8);
    ContentHash tradedHash;
    tradedHash.Add(traded.view());
    EXPECT_NE(tradedHash.Value(), once.Value());
}

}  // namespace
