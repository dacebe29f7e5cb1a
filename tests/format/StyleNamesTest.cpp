// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "document/SideFiles.h"
#include "format/Sections.h"
#include "format/StyleNames.h"

namespace {

TEST(SideFiles, ReplaceAStyleExtensionInAnyCase) {
    EXPECT_EQ(CasmSideFilePath("/styles/Pop.STY"), std::filesystem::path("/styles/Pop.csm"));
    EXPECT_EQ(OtsSideFilePath("/styles/Pop.STY"), std::filesystem::path("/styles/Pop.ots"));
    EXPECT_EQ(CasmSideFilePath("Pop.sty"), std::filesystem::path("Pop.csm"));
    EXPECT_EQ(OtsSideFilePath("a.b.sTy"), std::filesystem::path("a.b.ots"));
}

TEST(SideFiles, KeepAnyOtherEnding) {
    EXPECT_EQ(CasmSideFilePath("/styles/Pop.sst"), std::filesystem::path("/styles/Pop.sst.csm"));
    EXPECT_EQ(OtsSideFilePath("/styles/Pop.sst"), std::filesystem::path("/styles/Pop.sst.ots"));
    EXPECT_EQ(CasmSideFilePath("Pop.prs"), std::filesystem::path("Pop.prs.csm"));
    EXPECT_EQ(CasmSideFilePath("sty"), std::filesystem::path("sty.csm"));
    EXPECT_EQ(CasmSideFilePath(".sty"), std::filesystem::path(".csm"));
}

// The form's ten flags are a view of the sections: Fill Ins, "Intro D", "Ending D" and
// "SInt" have none.
TEST(StyleNames, SectionMarkersMatchWholeNamesWithoutCase) {
    const auto flag = [](std::string_view marker) {
        const std::optional<int> section = SectionOfMarker(marker);
        return section ? FormSectionOf(*section) : std::nullopt;
    };
    EXPECT_EQ(flag("Main A"), 0);
    EXPECT_EQ(flag("main d"), 3);
    EXPECT_EQ(flag("iNTRO b"), 5);
    EXPECT_EQ(flag("Ending C"), 9);
    EXPECT_EQ(flag("Main B "), std::nullopt);
    EXPECT_EQ(flag("Main"), std::nullopt);
    EXPECT_EQ(SectionOfMarker("fill in aa"), 9);
    EXPECT_EQ(flag("Fill In AA"), std::nullopt);
    EXPECT_EQ(flag("Intro D"), std::nullopt);
    EXPECT_EQ(flag("SInt"), std::nullopt);
    for (int i = 0; i < kFormSectionCount; ++i) EXPECT_EQ(FormSectionOf(kFormSections[i]), i);
}

TEST(StyleNames, ChannelLabelsByPart) {
    EXPECT_EQ(ChannelLabel(0), "(1):");
    EXPECT_EQ(ChannelLabel(2), "(3):");
    EXPECT_EQ(ChannelLabel(7), "(8):");
    EXPECT_EQ(ChannelLabel(8), "Rhy1:");
    EXPECT_EQ(ChannelLabel(13), "Pad:");
    EXPECT_EQ(ChannelLabel(15), "Phr2:");
}

}  // namespace
