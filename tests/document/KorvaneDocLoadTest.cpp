// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "FakePresenter.h"
#include "StyleBytes.h"
#include "TempDir.h"
#include "Unprivileged.h"
#include "document/KorvaneDoc.h"
#include "framework/Profile.h"
#include "msg/MessageBoxStyle.h"

namespace {

class KorvaneDocLoad : public testing::Test {
protected:
    // The single box a failed load shows, as text.
    std::string OnlyError() const {
        EXPECT_EQ(presenter.boxes.size(), 1u);
        if (presenter.boxes.empty()) return {};
        EXPECT_EQ(presenter.boxes[0].caption, std::optional<std::string>("Fehler"));
        EXPECT_EQ(presenter.boxes[0].style, msgbox::IconError | msgbox::Ok);
        return presenter.boxes[0].text;
    }

    static void ExpectEmpty(const CKorvaneDoc& doc) {
        EXPECT_TRUE(doc.m_strStylePath.empty());
        EXPECT_TRUE(doc.Image().empty());
        EXPECT_EQ(doc.m_nFileLength, 0);
        EXPECT_EQ(doc.m_strStyleTitle, "");
        EXPECT_EQ(doc.m_nTempo, -1);
        EXPECT_FALSE(doc.m_bCASMFileExists);
        EXPECT_FALSE(doc.m_bOTSFileExists);
        EXPECT_FALSE(doc.m_bHasCASM);
        for (int c = 0; c < kChannelCount; ++c) {
            EXPECT_EQ(doc.m_nVolume[c], -1);
            EXPECT_EQ(doc.m_strChannelLabel[c], "");
        }
    }

    TempDir dir;
    FakePresenter presenter;
};

TEST_F(KorvaneDocLoad, FreshDocumentCarriesTheDefaultOptions) {
    CKorvaneDoc doc;
    ExpectEmpty(doc);
    EXPECT_EQ(doc.m_nAllChannelsPercent, 100);
    EXPECT_EQ(doc.m_nTimeSigNumerator, 0);
    EXPECT_EQ(doc.m_nTimeSigDenominator, 0);
    for (int c = 0; c < kChannelCount; ++c) EXPECT_EQ(doc.m_nChannelPart[c], -1);
    for (bool section : doc.m_bSection) EXPECT_FALSE(section);
    EXPECT_TRUE(doc.m_bAdaptFilename);
    EXPECT_TRUE(doc.m_bFormatFilename);
    EXPECT_TRUE(doc.m_bAllChannels);
    EXPECT_FALSE(doc.m_bDeleteOldFile);
    EXPECT_FALSE(doc.m_bDeleteOTS);
    EXPECT_FALSE(doc.m_bExportOTS);
    EXPECT_FALSE(doc.m_bImportOTS);
    EXPECT_FALSE(doc.m_bDeleteAllCntt);
    EXPECT_FALSE(doc.m_bExportCASM);
    EXPECT_FALSE(doc.m_bImportCASM);
    EXPECT_FALSE(doc.m_bDeleteCASM);
}

TEST_F(KorvaneDocLoad, OptionsComeFromTheStoredSettings) {
    CMemoryProfile profile;
    SetAppProfile(&profile);
    const char* names[] = {"DeleteOldFile", "DeleteOTS",  "ExportOTS",  "ImportOTS",
                           "DeleteCASM",    "ExportCASM", "ImportCASM", "DeleteAllCnttDefinitions"};
    for (const char* name : names) profile.WriteProfileInt("Settings", name, 1);
    for (const char* name : {"AdaptFilename", "FormatFilename", "AllChannels"}) {
        profile.WriteProfileInt("Settings", name, 0);
    }
    CKorvaneDoc doc;
    SetAppProfile(nullptr);
    EXPECT_TRUE(doc.m_bDeleteOldFile && doc.m_bDeleteOTS && doc.m_bExportOTS && doc.m_bImportOTS && doc.m_bDeleteCASM &&
                doc.m_bExportCASM && doc.m_bImportCASM && doc.m_bDeleteAllCntt);
    EXPECT_FALSE(doc.m_bAdaptFilename || doc.m_bFormatFilename || doc.m_bAllChannels);
}

TEST_F(KorvaneDocLoad, LoadedDocumentHoldsTheFileAndItsValues) {
    const Bytes image = StyleFile(BasicEvents("Cool Pop") + CopyrightEvent("(C) 2001") + TempoEvent(500000) +
                                      TimeSignatureEvent(3, 2) + VolumeEvent(9, 100) + MarkerEvent("Main A") +
                                      VolumeEvent(9, 80) + MarkerEvent("Ending B") + EndOfTrack(),
                                  Casm(Cseg(Sdec() + Ctab(9, 10) + Cntt())) + Ots());
    const auto path = dir.Write("Pop.sty", image);
    CKorvaneDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path));
    EXPECT_TRUE(presenter.boxes.empty());
    EXPECT_EQ(doc.m_strStylePath, path);
    ASSERT_EQ(doc.m_nFileLength, static_cast<std::int32_t>(image.size()));
    EXPECT_TRUE(std::equal(image.data.begin(), image.data.end(), doc.Image().begin(), doc.Image().end()));
    EXPECT_EQ(doc.m_strStyleTitle, "Cool Pop");
    EXPECT_EQ(doc.m_nTitleLength, 8);
    EXPECT_EQ(doc.m_strCopyright, "(C) 2001");
    EXPECT_TRUE(doc.m_bHasCopyright);
    EXPECT_EQ(doc.m_nTempo, 120);
    EXPECT_EQ(doc.m_nTimeSigNumerator, 3);
    EXPECT_EQ(doc.m_nTimeSigDenominator, 4);
    EXPECT_EQ(doc.m_nOrigVolume[9], 100);
    EXPECT_EQ(doc.m_nVolume[9], 100);
    EXPECT_EQ(doc.m_strChannelLabel[9], "Bass:");
    EXPECT_TRUE(doc.m_bSection[0]);
    EXPECT_TRUE(doc.m_bSection[8]);
    EXPECT_TRUE(doc.m_bHasCASM);
    EXPECT_TRUE(doc.m_bHasCntt);
    EXPECT_TRUE(doc.m_bHasOTS);
    EXPECT_FALSE(doc.m_bCASMFileExists);
    EXPECT_FALSE(doc.m_bOTSFileExists);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(KorvaneDocLoad, SideFilesBesideTheStyleAreNoted) {
    const auto path = dir.Write("Pop.STY", MinimalStyle());
    dir.Write("Pop.csm", Casm(Cseg(Sdec())));
    CKorvaneDoc withCasm;
    ASSERT_TRUE(withCasm.OnOpenDocument(path));
    EXPECT_TRUE(withCasm.m_bCASMFileExists);
    EXPECT_FALSE(withCasm.m_bOTSFileExists);

    std::filesystem::create_directory(dir / "Pop.ots");  // a folder is no side file
    dir.Write("Rock.prs", MinimalStyle());
    dir.Write("Rock.prs.ots", Ots());
    CKorvaneDoc prs;
    ASSERT_TRUE(prs.OnOpenDocument(dir / "Rock.prs"));
    EXPECT_FALSE(prs.m_bCASMFileExists);
    EXPECT_TRUE(prs.m_bOTSFileExists);
    CKorvaneDoc again;
    ASSERT_TRUE(again.OnOpenDocument(path));
    EXPECT_FALSE(again.m_bOTSFileExists);
}

TEST_F(KorvaneDocLoad, FileSizeLimits) {
    const Bytes minimal = MinimalStyle();
    const Bytes largest = minimal + Bytes::Repeat(0, 200000 - minimal.size());
    CKorvaneDoc small, large;
    EXPECT_TRUE(small.OnOpenDocument(dir.Write("48.sty", minimal)));
    EXPECT_TRUE(large.OnOpenDocument(dir.Write("200000.sty", largest)));
    EXPECT_EQ(large.m_nFileLength, 200000);

    CKorvaneDoc tooSmall;
    EXPECT_FALSE(tooSmall.OnOpenDocument(dir.Write("47.sty", Bytes::Repeat('M', 47))));
    EXPECT_EQ(OnlyError(), "Invalid file size!");
    ExpectEmpty(tooSmall);

    presenter.boxes.clear();
    CKorvaneDoc tooLarge;
    EXPECT_FALSE(tooLarge.OnOpenDocument(dir.Write("200001.sty", largest + Bytes{0})));
    EXPECT_EQ(OnlyError(), "Invalid file size!");
}

// The message says why a file did not open where the system tells: the hint about
// another program once sent the user looking for one when the file was not there, or
// was a folder. A FIFO keeps the hint (SafeSaveTest).
TEST_F(KorvaneDocLoad, UnopenableFilesSayWhy) {
    const std::string openError = "Error opening style file!\n\n";
    std::filesystem::create_directory(dir / "folder.sty");
    std::vector<std::pair<std::filesystem::path, std::string>> cases = {
        {dir / "missing.sty", "(The file was not found.)"},
        {dir / "gone" / "Pop.sty", "(The file was not found.)"},
        {dir / "folder.sty", "(It is a folder.)"},
    };
#ifndef _WIN32
    std::filesystem::create_symlink(dir / "nowhere.sty", dir / "link.sty");
    cases.push_back({dir / "link.sty", "(The file was not found.)"});
#endif
    for (const auto& [path, cause] : cases) {
        presenter.boxes.clear();
        CKorvaneDoc doc;
        EXPECT_FALSE(doc.OnOpenDocument(path)) << path;
        EXPECT_EQ(OnlyError(), openError + cause) << path;
        ExpectEmpty(doc);
    }

#ifndef _WIN32
    const auto locked = dir.Write("Locked.sty", StyleFile(BasicEvents() + EndOfTrack()));
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    presenter.boxes.clear();
    EXPECT_TRUE(AsUnprivilegedUser([&] {
        CKorvaneDoc doc;
        return !doc.OnOpenDocument(locked) && presenter.boxes.size() == 1 &&
               presenter.boxes[0].text == openError + "(Permission denied.)";
    }));
#endif
}

TEST_F(KorvaneDocLoad, FailedLoadResetsEverythingAndShowsOneError) {
    dir.Write("Bad.csm", Casm(Cseg(Sdec())));
    const auto path =
        dir.Write("Bad.sty", StyleFile(TitleEvent("No Marker In This Style") + VolumeEvent(1, 90) + EndOfTrack()));
    const Bytes before = ReadFileBytes(path);
    CKorvaneDoc doc;
    EXPECT_FALSE(doc.OnOpenDocument(path));
    EXPECT_EQ(OnlyError(), "Invalid file structure!\n\n(Missing 'SFF1' or 'SFF2' marker.)");
    ExpectEmpty(doc);
    EXPECT_EQ(ReadFileBytes(path).data, before.data);
}

TEST_F(KorvaneDocLoad, ReloadAfterFailureKeepsNothingFromBefore) {
    CKorvaneDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(dir.Write("Good.sty", StyleFile(BasicEvents() + VolumeEvent(3, 50)))));
    EXPECT_FALSE(doc.OnOpenDocument(dir.Write("Bad.sty", StyleFile(Bytes{0x00, 0xF4} + BasicEvents() + EndOfTrack()))));
    EXPECT_EQ(OnlyError(), "Invalid style file structure (at: 0x17)!");
    ExpectEmpty(doc);
}

TEST_F(KorvaneDocLoad, NewDocumentsAreRefused) {
    CKorvaneDoc doc;
    EXPECT_FALSE(doc.OnNewDocument());
}

TEST_F(KorvaneDocLoad, SavingWithoutTitleIsRefusedAndTouchesNothing) {
    const auto path = dir.Write("Pop.sty", MinimalStyle());
    CKorvaneDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path));
    doc.m_strStyleTitle.clear();
    EXPECT_FALSE(doc.OnSaveDocument(path));
    EXPECT_EQ(OnlyError(), "File title may not be empty!");
    EXPECT_EQ(ReadFileBytes(path).data, MinimalStyle().data);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(KorvaneDocLoad, DeleteContentsEmptiesTheDocument) {
    CKorvaneDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(dir.Write("Pop.sty", MinimalStyle())));
    doc.m_bDeleteCASM = true;
    doc.DeleteContents();
    ExpectEmpty(doc);
    EXPECT_FALSE(doc.m_bDeleteCASM);
}

}  // namespace
