// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "framework/Cp1252.h"

namespace {

TEST(Cp1252, ToUtf8) {
    EXPECT_EQ(Cp1252ToUtf8("Pop"), "Pop");
    EXPECT_EQ(Cp1252ToUtf8("Caf\xE9 \xFC"), "Café ü");
    EXPECT_EQ(Cp1252ToUtf8("\x80 \x99 \x9F"), "€ ™ Ÿ");
    // Bytes that code page 1252 leaves undefined stay the control of the same value.
    EXPECT_EQ(Cp1252ToUtf8("\x81"), "\u0081");
}

TEST(Cp1252, FromUtf8) {
    EXPECT_EQ(Utf8ToCp1252("Café € Ÿ"), std::optional<std::string>("Caf\xE9 \x80 \x9F"));
    EXPECT_EQ(Utf8ToCp1252("\u0081"), std::optional<std::string>("\x81"));
    // Characters the code page cannot hold, and broken UTF-8, are refused.
    EXPECT_EQ(Utf8ToCp1252("日本"), std::nullopt);
    EXPECT_EQ(Utf8ToCp1252("\xE9"), std::nullopt);
    EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), std::nullopt);  // overlong "/"
}

TEST(Cp1252, RoundTripOfEveryByte) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), std::optional<std::string>(all));
}

TEST(Cp1252, SanitizeReplacesOnlyBrokenBytes) {
    EXPECT_EQ(SanitizeUtf8("/styles/Café.sty"), "/styles/Café.sty");
    EXPECT_EQ(SanitizeUtf8("a\xE9z"), "a\uFFFDz");
    EXPECT_EQ(SanitizeUtf8("\xF0\x9F"), "\uFFFD\uFFFD");
}

}  // namespace

TEST(Cp1252, ForDisplayShowsWhatItCannotHoldAsQuestionMarks) {
    EXPECT_EQ(Cp1252ForDisplay("\xC3\x84\xE2\x82\xAC\xC4\x81.sty"), "\xC4\x80?.sty");  // "Ä€ā.sty"
    EXPECT_EQ(Cp1252ForDisplay("Caf\xE9.sty"), "Caf?.sty");                            // a byte that is not UTF-8
}
