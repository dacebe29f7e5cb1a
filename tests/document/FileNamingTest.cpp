// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "document/FileNaming.h"

namespace {

TEST(FileNaming, NumberPrefix) {
    EXPECT_EQ(NumberPrefix("7_Swing"), "7_");
    EXPECT_EQ(NumberPrefix("12_"), "12_");
    EXPECT_EQ(NumberPrefix("123_Beat"), "123_");
    EXPECT_EQ(NumberPrefix("012_Old Name"), "012_");
    for (const char* none : {"1234_Jazz", "_Rock", "12Beat", "12", "5", "", "Pop"}) {
        EXPECT_EQ(NumberPrefix(none), "") << none;
    }
}

TEST(FileNaming, ValidFileNameReplacesNineCharacters) {
    EXPECT_EQ(ValidFileName("A/B: Mix."), "A_B_ Mix_");
    EXPECT_EQ(ValidFileName(":\\/?\"*.<>"), "_________");
    EXPECT_EQ(ValidFileName("a|b c-Caf\xC3\xA9"), "a|b c-Caf\xC3\xA9");
}

TEST(FileNaming, FormattingToTwentyCharactersAndDollar) {
    EXPECT_EQ(FormattedName("012_New Style"), "012_New Style       $");
    EXPECT_EQ(FormattedName("Pop"), "Pop" + std::string(17, ' ') + "$");
    EXPECT_EQ(FormattedName(""), std::string(20, ' ') + "$");
    EXPECT_EQ(FormattedName(std::string(20, 'x')), std::string(20, 'x') + "$");
    EXPECT_EQ(FormattedName(std::string(21, 'x')), std::string(21, 'x'));
    EXPECT_EQ(FormattedName(std::string(25, 'x')), std::string(25, 'x'));
    // The width counts characters: "é" is two bytes in a file name.
    EXPECT_EQ(CharacterCount(FormattedName("Caf\xC3\xA9")), 21u);
}

TEST(FileNaming, UnformattingAndTrimming) {
    const std::string formatted = "Pop" + std::string(17, ' ') + "$";
    EXPECT_EQ(TrimmedName(UnformattedName(formatted)), "Pop");
    EXPECT_EQ(UnformattedName("Pop$"), "Pop$");
    EXPECT_EQ(UnformattedName(std::string(21, 'x') + "$"), std::string(21, 'x') + "$");
    EXPECT_EQ(TrimmedName("Name \t\r\n"), "Name");
    EXPECT_EQ(TrimmedName("   "), "");
}

TEST(FileNaming, PathKeepsFolderAndExtension) {
    EXPECT_EQ(PathWithBaseName("/styles/012_Old Name.sty", "012_New Style"),
              std::filesystem::path("/styles/012_New Style.sty"));
    EXPECT_EQ(PathWithBaseName("Pop.PRS", "Rock"), std::filesystem::path("Rock.PRS"));
    EXPECT_EQ(PathWithBaseName("/a/Pop", "Rock"), std::filesystem::path("/a/Rock"));
    EXPECT_EQ(BaseNameOf("/styles/012_Old Name.sty"), "012_Old Name");
    EXPECT_EQ(BaseNameOf("Pop.S552.prs"), "Pop.S552");
}

}  // namespace
