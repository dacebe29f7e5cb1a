// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "document/SideFiles.h"
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

TEST(StyleNames, SectionMarkersMatchWholeNamesWithoutCase) {
    EXPECT_EQ(SectionOfMarker("Main A"), 0);
    EXPECT_EQ(SectionOfMarker("main d"), 3);
    EXPECT_EQ(SectionOfMarker("iNTRO b"), 5);
    EXPECT_EQ(SectionOfMarker("Ending C"), 9);
    EXPECT_EQ(SectionOfMarker("Main B "), std::nullopt);
    EXPECT_EQ(SectionOfMarker("Main"), std::nullopt);
    EXPECT_EQ(SectionOfMarker("Fill In AA"), std::nullopt);
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
