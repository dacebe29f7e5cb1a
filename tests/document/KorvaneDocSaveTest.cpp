// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "SaveFixture.h"
#include "StyleBytes.h"
#include "TempDir.h"
#include "Unprivileged.h"
#include "document/KorvaneDoc.h"

namespace fs = std::filesystem;

namespace {

const Bytes kTrackEvents = BasicEvents("Pop") + TempoEvent(500000) + TimeSignatureEvent(4, 2) + VolumeEvent(9, 100) +
                           MarkerEvent("Main A") + VolumeEvent(9, 64) + EndOfTrack();
const Bytes kCasm = Casm(Cseg(Sdec() + Ctab(9, 8) + Cntt()) + Cseg(Sdec("Main B") + Cntt() + Ctab(2, 10)));
const Bytes kCasmWithoutCntt = Casm(Cseg(Sdec() + Ctab(9, 8)) + Cseg(Sdec("Main B") + Ctab(2, 10)));
const Bytes kOts = Ots(Bytes::Text("own OTS data"));
const Bytes kFnrc = Chunk("FNRc", Bytes::Text("chunk after OTSc"));
const Bytes kImportedCasm = Casm(Cseg(Sdec("Main C") + Ctab(3, 12)));
const Bytes kImportedOts = Ots(Bytes::Text("imported OTS"));

Bytes Track() { return StyleFile(kTrackEvents); }
Bytes FullStyle() { return StyleFile(kTrackEvents, kCasm + kOts + kFnrc); }

class KorvaneDocSave : public SaveFixture {
protected:
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path())) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(KorvaneDocSave, PlainSaveWritesTheSameFileWithEveryChunkAfterTheTrack) {
    const auto path = dir.Write("Pop.sty", FullStyle());
    auto doc = Open(path);
    ASSERT_TRUE(doc->OnSaveDocument(path));
    EXPECT_TRUE(presenter.boxes.empty());
    EXPECT_EQ(ReadFileBytes(path).data, FullStyle().data);
    EXPECT_EQ(Files(), std::vector<std::string>{"Pop.sty"});
}

TEST_F(KorvaneDocSave, LongerTitleMovesTheChunksBehindTheTrack) {
    const auto path = dir.Write("Pop.sty", FullStyle());
    auto doc = Open(path);
    doc->m_strStyleTitle = "Pop Extended";
    ASSERT_TRUE(doc->OnSaveDocument(path));
    const Bytes expected =
        StyleFile(BasicEvents("Pop Extended") + TempoEvent(500000) + TimeSignatureEvent(4, 2) + VolumeEvent(9, 100) +
                      MarkerEvent("Main A") + VolumeEvent(9, 64) + EndOfTrack(),
                  kCasm + kOts + kFnrc);
    EXPECT_EQ(ReadFileBytes(path).data, expected.data);
}

TEST_F(KorvaneDocSave, FortyCharacterTitleIsCutInTheFileButNamesTheFileWhole) {
    const auto path = dir.Write("Pop.sty", Track());
    auto doc = Open(path);
    doc->m_bAdaptFilename = true;
    const std::string title = "A Title That Runs To Forty Characters Ok";
    ASSERT_EQ(title.size(), 40u);
    doc->m_strStyleTitle = title;
    ASSERT_TRUE(doc->OnSaveDocument(path));
    EXPECT_EQ(doc->m_strStyleTitle, title.substr(0, 32));
    const fs::path target = dir / (title + ".sty");
    EXPECT_EQ(doc->m_strStylePath, target);
    CKorvaneDoc reloaded;
    ASSERT_TRUE(reloaded.OnOpenDocument(target));
    EXPECT_EQ(reloaded.m_strStyleTitle, title.substr(0, 32));
    EXPECT_TRUE(fs::exists(path));  // delete old is off
}

// ---- CASM options: one row per combination ----

enum class CasmInFile { Kept, Stripped, Imported, None };

struct CasmCase {
    const char* name;
    bool exportCasm, deleteCasm, importCasm, deleteCntt, fileAtLoad;
    CasmInFile saved;
    bool csmWritten;
};

void PrintTo(const CasmCase& c, std::ostream* os) { *os << c.name; }

class CasmOptions : public KorvaneDocSave, public testing::WithParamInterface<CasmCase> {};

TEST_P(CasmOptions, SavedStyleAndSideFile) {
    const CasmCase& c = GetParam();
    const auto path = dir.Write("Pop.sty", FullStyle());
    if (c.fileAtLoad) dir.Write("Pop.csm", kImportedCasm);
    auto doc = Open(path);
    if (!c.fileAtLoad) dir.Write("Pop.csm", kImportedCasm);  // appears only after the load
    doc->m_bExportCASM = c.exportCasm;
    doc->m_bDeleteCASM = c.deleteCasm;
    doc->m_bImportCASM = c.importCasm;
    doc->m_bDeleteAllCntt = c.deleteCntt;
    ASSERT_TRUE(doc->OnSaveDocument(path));
    EXPECT_TRUE(presenter.boxes.empty());

    Bytes casm;
    switch (c.saved) {
        case CasmInFile::Kept: casm = kCasm; break;
        case CasmInFile::Stripped: casm = kCasmWithoutCntt; break;
        case CasmInFile::Imported: casm = c.exportCasm ? kCasm : kImportedCasm; break;
        case CasmInFile::None: break;
    }
    EXPECT_EQ(ReadFileBytes(path).data, (Track() + casm + kOts + kFnrc).data);
    EXPECT_EQ(ReadFileBytes(dir / "Pop.csm").data, (c.csmWritten ? kCasm : kImportedCasm).data);
    EXPECT_EQ(Files(), (std::vector<std::string>{"Pop.csm", "Pop.sty"}));
}

INSTANTIATE_TEST_SUITE_P(
    Combinations, CasmOptions,
    testing::Values(CasmCase{"none", false, false, false, false, true, CasmInFile::Kept, false},
                    CasmCase{"export", true, false, false, false, true, CasmInFile::Kept, true},
                    CasmCase{"delete", false, true, false, false, true, CasmInFile::None, false},
                    CasmCase{"export_delete", true, true, false, false, true, CasmInFile::None, true},
                    CasmCase{"cntt", false, false, false, true, true, CasmInFile::Stripped, false},
                    CasmCase{"export_cntt", true, false, false, true, true, CasmInFile::Stripped, true},
                    CasmCase{"delete_cntt", false, true, false, true, true, CasmInFile::None, false},
                    CasmCase{"import", false, false, true, false, true, CasmInFile::Imported, false},
                    CasmCase{"export_import", true, false, true, false, true, CasmInFile::Imported, true},
                    CasmCase{"import_cntt", false, false, true, true, true, CasmInFile::Imported, false},
                    CasmCase{"import_missing_at_load", false, false, true, false, false, CasmInFile::Kept, false}));

TEST_F(KorvaneDocSave, CasmImportIntoAStyleWithoutCasmGoesBeforeItsOts) {
    const auto path = dir.Write("Pop.sty", StyleFile(kTrackEvents, kOts));
    dir.Write("Pop.csm", kImportedCasm);
    auto doc = Open(path);
    doc->m_bImportCASM = true;
    ASSERT_TRUE(doc->OnSaveDocument(path));
    EXPECT_EQ(ReadFileBytes(path).data, (Track() + kImportedCasm + kOts).data);
}

// ---- OTS options ----

enum class OtsInFile { Kept, Imported, None };

struct OtsCase {
    const char* name;
    bool exportOts, deleteOts, importOts, fileAtLoad;
    OtsInFile saved;
    bool otsWritten;
};

void PrintTo(const OtsCase& c, std::ostream* os) { *os << c.name; }

class OtsOptions : public KorvaneDocSave, public testing::WithParamInterface<OtsCase> {};

TEST_P(OtsOptions, SavedStyleAndSideFile) {
    const OtsCase& c = GetParam();
    const auto path = dir.Write("Pop.sty", FullStyle());
    if (c.fileAtLoad) dir.Write("Pop.ots", kImportedOts);
    auto doc = Open(path);
    if (!c.fileAtLoad) dir.Write("Pop.ots", kImportedOts);
    doc->m_bExportOTS = c.exportOts;
    doc->m_bDeleteOTS = c.deleteOts;
    doc->m_bImportOTS = c.importOts;
    ASSERT_TRUE(doc->OnSaveDocument(path));

    Bytes ots;
    if (c.saved == OtsInFile::Kept) ots = kOts;
    if (c.saved == OtsInFile::Imported) ots = c.exportOts ? kOts : kImportedOts;
    EXPECT_EQ(ReadFileBytes(path).data, (Track() + kCasm + ots + kFnrc).data);
    EXPECT_EQ(ReadFileBytes(dir / "Pop.ots").data, (c.otsWritten ? kOts : kImportedOts).data);
}

INSTANTIATE_TEST_SUITE_P(Combinations, OtsOptions,
                         testing::Values(OtsCase{"none", false, false, false, true, OtsInFile::Kept, false},
                                         OtsCase{"export", true, false, false, true, OtsInFile::Kept, true},
                                         OtsCase{"delete", false, true, false, true, OtsInFile::None, false},
                                         OtsCase{"export_delete", true, true, false, true, OtsInFile::None, true},
                                         OtsCase{"import", false, false, true, true, OtsInFile::Imported, false},
                                         OtsCase{"export_import", true, false, true, true, OtsInFile::Imported, true},
                                         OtsCase{"delete_import", false, true, true, true, OtsInFile::Imported, false},
                                         OtsCase{"import_missing_at_load", false, false, true, false, OtsInFile::Kept,
                                                 false}));

TEST_F(KorvaneDocSave, ImportOfBothReplacesBothChunksAndKeepsWhatFollows) {
    const auto path = dir.Write("Pop.sty", FullStyle());
    dir.Write("Pop.csm", kImportedCasm);
    dir.Write("Pop.ots", kImportedOts);
    auto doc = Open(path);
    doc->m_bImportCASM = doc->m_bImportOTS = true;
    ASSERT_TRUE(doc->OnSaveDocument(path));
    EXPECT_EQ(ReadFileBytes(path).data, (Track() + kImportedCasm + kImportedOts + kFnrc).data);
}

TEST_F(KorvaneDocSave, OtsImportIntoAStyleWithoutOts) {
    const auto path = dir.Write("Pop.sty", StyleFile(kTrackEvents, kCasm));
    dir.Write("Pop.ots", kImportedOts);
    auto doc = Open(path);
    doc->m_bImportOTS = true;
    ASSERT_TRUE(doc->OnSaveDocument(path));
    EXPECT_EQ(ReadFileBytes(path).data, (Track() + kCasm + kImportedOts).data);
}

// A side file is imported only when it is one whole chunk that a loaded style could
// hold: a damaged one once turned a working style into one that no longer loads.
TEST_F(KorvaneDocSave, DamagedSideFilesAreNeverImported) {
    const Bytes sff2Style =
        StyleFile(BasicSff2Events("Pop") + VolumeEvent(9, 100) + EndOfTrack(), Casm(Cseg(Sdec() + Ctb2(9, 8))) + kOts);
    const std::string casmText = "The CASM file doesn't contain valid CASM section!\n\n";
    const std::string otsText = "The OTS file doesn't contain valid OTS settings!\n\n";
    const std::string lengthText = "(Its length field does not match the file's size.)";
    struct Case {
        const char* name;
        Bytes style;
        const char* sideFile;
        Bytes contents;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"too short for a tag", FullStyle(), "Pop.csm", Bytes::Text("CAS"), casmText + "(Invalid header.)"},
        {"not a CASM chunk", FullStyle(), "Pop.csm", kOts, casmText + "(Invalid header.)"},
        {"header cut short", FullStyle(), "Pop.csm", Bytes::Text("CASM") + Bytes{0, 0}, casmText + lengthText},
        {"length past the file", FullStyle(), "Pop.csm", Bytes::Text("CASM") + Bytes::U32BE(999) + Cseg(Sdec()),
         casmText + lengthText},
        {"bytes after the chunk", FullStyle(), "Pop.csm", kImportedCasm + Bytes{0}, casmText + lengthText},
        {"member that is no CSEG", FullStyle(), "Pop.csm", Casm(Chunk("CSEX", Sdec())),
         casmText + "(Missing CSEG header at: 0x8.)"},
        {"unknown record", FullStyle(), "Pop.csm", Casm(Cseg(Sdec() + Chunk("Ctb3", {9}))),
         casmText + "(Missing Sdec/Ctab header at: 0x25.)"},
        {"Ctb2 into SFF1", FullStyle(), "Pop.csm", Casm(Cseg(Sdec() + Ctb2(9, 8))),
         casmText + "(Its Ctb2 records belong to SFF2 styles; this style is SFF1.)"},
        {"Ctab into SFF2", sff2Style, "Pop.csm", kImportedCasm,
         casmText + "(Its Ctab records belong to SFF1 styles; this style is SFF2.)"},
        {"OTS too short for a tag", FullStyle(), "Pop.ots", Bytes::Text("OTS"), otsText + "(Invalid header.)"},
        {"OTS promises 256 bytes and holds 2", FullStyle(), "Pop.ots",
         Bytes::Text("OTSc") + Bytes::U32BE(256) + Bytes{1, 2}, otsText + lengthText},
    };
    for (const Case& c : cases) {
        TempDir folder;
        const auto path = folder.Write("Pop.sty", c.style);
        folder.Write(c.sideFile, c.contents);
        auto doc = Open(path);
        doc->m_bImportCASM = std::string(c.sideFile) == "Pop.csm";
        doc->m_bImportOTS = !doc->m_bImportCASM;
        presenter.boxes.clear();
        EXPECT_FALSE(doc->OnSaveDocument(path)) << c.name;
        EXPECT_EQ(Texts(), std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(ReadFileBytes(path).data, c.style.data) << c.name;
        EXPECT_EQ(ReadFileBytes(folder / c.sideFile).data, c.contents.data) << c.name;
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2) << c.name;
    }
}

// A chunk without channel tables suits either kind of style; one of the style's own
// kind replaces its chunk.
TEST_F(KorvaneDocSave, WholeSideFilesOfTheStylesFormatAreImported) {
    const Bytes sff2Track = StyleFile(BasicSff2Events("Pop") + VolumeEvent(9, 100) + NoteOn(9, 36, 90) + EndOfTrack());
    const Bytes sdecOnly = Casm(Cseg(Sdec()));
    const Bytes ctb2 = Casm(Cseg(Sdec() + Ctb2(9, 10, 51)));
    for (const auto& [style, casm] : {std::pair{Track(), sdecOnly}, {sff2Track, sdecOnly}, {sff2Track, ctb2}}) {
        TempDir folder;
        const auto path = folder.Write("Pop.sty", style);
        folder.Write("Pop.csm", casm);
        auto doc = Open(path);
        doc->m_bImportCASM = true;
        ASSERT_TRUE(doc->OnSaveDocument(path));
        EXPECT_EQ(ReadFileBytes(path).data, (style + casm).data);
        CKorvaneDoc reloaded;
        EXPECT_TRUE(reloaded.OnOpenDocument(path));
    }
}

// A size the load refuses would lock the style out of the editor and the keyboard.
TEST_F(KorvaneDocSave, SaveThatWouldGiveAFileTheLoadRefusesWritesNothing) {
    const std::string message = "The saved style would not be 48 to 200,000 bytes long!\n\n(Nothing was saved.)";
    const Bytes tiny = StyleFile(TitleEvent("Test") + CopyrightEvent("(C)") + Sff1Marker() + EndOfTrack());
    const auto tinyPath = dir.Write("Tiny.sty", tiny);
    auto tinyDoc = Open(tinyPath);
    tinyDoc->m_strCopyright = "";
    EXPECT_FALSE(tinyDoc->OnSaveDocument(tinyPath));

    const auto path = dir.Write("Pop.sty", Track());
    dir.Write("Pop.csm", Casm(Cseg(Sdec(std::string(200000 - Track().size(), 'x')))));
    auto doc = Open(path);
    doc->m_bImportCASM = true;
    EXPECT_FALSE(doc->OnSaveDocument(path));
    EXPECT_EQ(Texts(), (std::vector<std::string>{message, message}));
    EXPECT_EQ(ReadFileBytes(tinyPath).data, tiny.data);
    EXPECT_EQ(ReadFileBytes(path).data, Track().data);
}

TEST_F(KorvaneDocSave, SideFileGoneSinceTheLoadCannotBeImported) {
    const auto path = dir.Write("Pop.sty", FullStyle());
    dir.Write("Pop.csm", kImportedCasm);
    dir.Write("Pop.ots", kImportedOts);
    auto doc = Open(path);
    fs::remove(dir / "Pop.csm");
    doc->m_bImportCASM = true;
    EXPECT_FALSE(doc->OnSaveDocument(path));
    EXPECT_EQ(Texts(), std::vector<std::string>{"Error opening CASM file!"});
    fs::remove(dir / "Pop.ots");
    doc->m_bImportCASM = false;
    doc->m_bImportOTS = true;
    presenter.boxes.clear();
    EXPECT_FALSE(doc->OnSaveDocument(path));
    EXPECT_EQ(Texts(), std::vector<std::string>{"Error opening OTS file!"});
    EXPECT_EQ(ReadFileBytes(path).data, FullStyle().data);
}

TEST_F(KorvaneDocSave, SideFilesFollowTheNewName) {
    const auto path = dir.Write("012_Old Name.sty", FullStyle());
    auto doc = Open(path);
    doc->m_bAdaptFilename = true;
    doc->m_strStyleTitle = "New Style";
    doc->m_bExportCASM = doc->m_bExportOTS = true;
    ASSERT_TRUE(doc->OnSaveDocument(path));
    EXPECT_EQ(doc->m_strStylePath, dir / "012_New Style.sty");
    EXPECT_EQ(Files(), (std::vector<std::string>{"012_New Style.csm", "012_New Style.ots", "012_New Style.sty",
                                                 "012_Old Name.sty"}));
    EXPECT_EQ(ReadFileBytes(dir / "012_New Style.csm").data, kCasm.data);
    EXPECT_EQ(ReadFileBytes(dir / "012_New Style.ots").data, kOts.data);
}

TEST_F(KorvaneDocSave, FileNamesFromTitleAndFormatting) {
    struct Case {
        const char* oldName;
        const char* title;
        bool adapt, format;
        std::string target;
    };
    const std::vector<Case> cases = {
        {"012_Old Name.sty", "New Style", true, false, "012_New Style.sty"},
        {"012_Old Name.sty", "New Style", true, true, "012_New Style       $.sty"},
        {"Pop.sty", "Pop", false, true, "Pop" + std::string(17, ' ') + "$.sty"},
        {"Pop                 $.sty", "Pop", false, false, "Pop.sty"},
        {"A Name Of 25 Characters!!.sty", "Pop", false, true, "A Name Of 25 Characters!!.sty"},
        {"7_Swing.STY", "A/B: Mix.", true, false, "7_A_B_ Mix_.STY"},
        {"1234_Jazz.sty", "Jazz", true, false, "Jazz.sty"},
        {"Pop.sty", "Caf\xE9", true, false, "Café.sty"},
    };
    for (const Case& c : cases) {
        const auto path = dir.Write(c.oldName, Track());
        auto doc = Open(path);
        doc->m_bAdaptFilename = c.adapt;
        doc->m_bFormatFilename = c.format;
        doc->m_strStyleTitle = c.title;
        ASSERT_TRUE(doc->OnSaveDocument(path)) << c.oldName << " " << c.title;
        EXPECT_EQ(doc->m_strStylePath, dir / c.target);
        EXPECT_TRUE(fs::exists(dir / c.target)) << c.target;
        fs::remove_all(dir.path());
        fs::create_directories(dir.path());
    }
}

TEST_F(KorvaneDocSave, OldFileIsDeletedOnlyWhenAskedAndOnlyAfterTheNewOneIsWritten) {
    const auto path = dir.Write("Pop.sty", Track());
    auto keep = Open(path);
    keep->m_bAdaptFilename = true;
    keep->m_strStyleTitle = "Rock";
    ASSERT_TRUE(keep->OnSaveDocument(path));
    EXPECT_EQ(Files(), (std::vector<std::string>{"Pop.sty", "Rock.sty"}));

    auto remove = Open(path);
    remove->m_bAdaptFilename = remove->m_bDeleteOldFile = true;
    remove->m_strStyleTitle = "Jazz";
    ASSERT_TRUE(remove->OnSaveDocument(path));
    EXPECT_EQ(Files(), (std::vector<std::string>{"Jazz.sty", "Rock.sty"}));
    EXPECT_EQ(remove->m_strStylePath, dir / "Jazz.sty");
    EXPECT_EQ(remove->GetPathName(), dir / "Jazz.sty");
    EXPECT_EQ(remove->GetTitle(), "Jazz.sty");
}

TEST_F(KorvaneDocSave, SaveAsToAnotherFolderDeletesTheOriginalWhenAsked) {
    const auto path = dir.Write("Pop.sty", FullStyle());
    fs::create_directory(dir / "other");
    auto doc = Open(path);
    doc->m_bDeleteOldFile = true;
    ASSERT_TRUE(doc->OnSaveDocument(dir / "other" / "Copy.sty"));
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(ReadFileBytes(dir / "other" / "Copy.sty").data, FullStyle().data);
}

TEST_F(KorvaneDocSave, NewLetterCaseLeavesExactlyOneFile) {
    const auto path = dir.Write("pop.sty", Track());
    auto doc = Open(path);
    doc->m_bAdaptFilename = doc->m_bDeleteOldFile = true;
    doc->m_strStyleTitle = "Pop";
    ASSERT_TRUE(doc->OnSaveDocument(path));
    EXPECT_EQ(Files(), std::vector<std::string>{"Pop.sty"});
    EXPECT_EQ(ReadFileBytes(dir / "Pop.sty").data, Track().data);
}

TEST_F(KorvaneDocSave, UnwritableTargetsLeaveEveryFileAndTheDocumentAsTheyWere) {
    const std::string writeError = "Error creating/writing style file!\n\n(Please check if file is write protected.)";
    const auto path = dir.Write("Pop.sty", FullStyle());
    auto doc = Open(path);
    doc->m_strStyleTitle = "Changed";
    doc->m_nAllChannelsPercent = 50;

    // The folder that is not there is named: the hint about write protection sent the
    // user looking for the wrong fault.
    EXPECT_FALSE(doc->OnSaveDocument(dir / "missing" / "Pop.sty"));
    const std::u8string missing = (dir / "missing").u8string();
    EXPECT_EQ(Texts(), std::vector<std::string>{"Error creating/writing style file!\n\n(The folder \"" +
                                                std::string(missing.begin(), missing.end()) + "\" does not exist.)"});

    fs::create_directory(dir / "Folder.sty");
    presenter.boxes.clear();
    EXPECT_FALSE(doc->OnSaveDocument(dir / "Folder.sty"));
    EXPECT_EQ(Texts(), std::vector<std::string>{writeError});
    EXPECT_TRUE(fs::is_empty(dir / "Folder.sty"));

    EXPECT_EQ(doc->m_strStylePath, path);
    EXPECT_EQ(ReadFileBytes(path).data, FullStyle().data);
    EXPECT_EQ(Files(), (std::vector<std::string>{"Folder.sty", "Pop.sty"}));
    const Bytes loaded = FullStyle();
    EXPECT_EQ(doc->m_nFileLength, static_cast<std::int32_t>(loaded.size()));
    EXPECT_TRUE(std::equal(loaded.data.begin(), loaded.data.end(), doc->Image().begin(), doc->Image().end()));

    // The same document saves fine once the target can be written.
    presenter.boxes.clear();
    ASSERT_TRUE(doc->OnSaveDocument(path));
    EXPECT_TRUE(presenter.boxes.empty());
}

TEST_F(KorvaneDocSave, WriteProtectedStyleIsRefusedWhileExportedSideFilesAreWritten) {
    const auto path = dir.Write("Pop.sty", FullStyle());
    auto doc = Open(path);
    doc->m_bExportCASM = doc->m_bExportOTS = true;
    doc->m_strStyleTitle = "Changed";
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(dir.path(), fs::perms::all);
    EXPECT_TRUE(AsUnprivilegedUser([&] {
        return !doc->OnSaveDocument(path) &&
               Texts() == std::vector<std::string>{
                              "Error creating/writing style file!\n\n(Please check if file is write protected.)"};
    }));
    EXPECT_EQ(ReadFileBytes(path).data, FullStyle().data);
    EXPECT_EQ(ReadFileBytes(dir / "Pop.csm").data, kCasm.data);
    EXPECT_EQ(ReadFileBytes(dir / "Pop.ots").data, kOts.data);
}

TEST_F(KorvaneDocSave, UnwritableSideFileIsANoteAndTheSaveGoesOn) {
    const auto path = dir.Write("Pop.sty", FullStyle());
    fs::create_directory(dir / "Pop.csm");
    auto doc = Open(path);
    doc->m_bExportCASM = true;
    doc->m_bDeleteCASM = true;
    ASSERT_TRUE(doc->OnSaveDocument(path));
    EXPECT_EQ(Texts(), std::vector<std::string>{
                           "Error creating/writing CASM file!\n\n(Please check if file is write protected.)"});
    EXPECT_EQ(ReadFileBytes(path).data, (Track() + kOts + kFnrc).data);
}

TEST_F(KorvaneDocSave, SavingTwiceWritesTheSameFile) {
    const auto path = dir.Write("Pop.sty", FullStyle());
    auto doc = Open(path);
    doc->m_nAllChannelsPercent = 50;
    doc->m_strCopyright = "(C) Me";
    ASSERT_TRUE(doc->OnSaveDocument(path));
    const Bytes first = ReadFileBytes(path);
    ASSERT_TRUE(doc->OnSaveDocument(path));
    EXPECT_EQ(ReadFileBytes(path).data, first.data);
    // Percent 50 applied once to the volumes as loaded; the copyright inserted once.
    const Bytes expected = StyleFile(TitleEvent("Pop") + CopyrightEvent("(C) Me") + Sff1Marker() + TempoEvent(500000) +
                                         TimeSignatureEvent(4, 2) + VolumeEvent(9, 50) + MarkerEvent("Main A") +
                                         VolumeEvent(9, 32) + EndOfTrack(),
                                     kCasm + kOts + kFnrc);
    EXPECT_EQ(first.data, expected.data);
}

TEST_F(KorvaneDocSave, FailedSaveThenLongerCopyrightHoldsOneCopyrightEvent) {
    const auto path = dir.Write("Pop.sty", Track());
    auto doc = Open(path);
    doc->m_strCopyright = "(C)";
    EXPECT_FALSE(doc->OnSaveDocument(dir / "missing" / "Pop.sty"));
    doc->m_strCopyright = "(C) 2026 Korvane";
    ASSERT_TRUE(doc->OnSaveDocument(path));
    CKorvaneDoc reloaded;
    ASSERT_TRUE(reloaded.OnOpenDocument(path));
    EXPECT_EQ(reloaded.m_strCopyright, "(C) 2026 Korvane");
    EXPECT_EQ(reloaded.m_nFileLength, static_cast<std::int32_t>(Track().size() + 4 + 16));
}

}  // namespace
