// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "view/FieldChecks.h"
#include "view/FormRules.h"
#include "view/FormTemplate.h"

namespace {

std::string RefusalOf(const std::variant<int, FieldRefusal>& read) {
    const auto* refusal = std::get_if<FieldRefusal>(&read);
    return refusal ? refusal->text : "";
}

}  // namespace

TEST(FieldChecks, WholeNumbers) {
    const std::tuple<const char*, NumberWidth, std::optional<int>> cases[] = {
        // text, width, value read (none: refused)
        {"120", NumberWidth::Bits16, 120},
        {" 7 ", NumberWidth::Bits16, 7},
        {"007", NumberWidth::Bits16, 7},
        {"-1", NumberWidth::Bits16, -1},
        {"", NumberWidth::Bits16, std::nullopt},
        {"-", NumberWidth::Bits32, std::nullopt},
        {"12a", NumberWidth::Bits32, std::nullopt},
        {"1 2", NumberWidth::Bits32, std::nullopt},
        {"32767", NumberWidth::Bits16, 32767},
        {"32768", NumberWidth::Bits16, std::nullopt},
        {"32768", NumberWidth::Bits32, 32768},
        {"2147483648", NumberWidth::Bits32, std::nullopt},
        {"99999999999999999999999", NumberWidth::Bits32, std::nullopt},
    };
    for (const auto& [text, width, value] : cases) {
        const auto read = ReadWholeNumber(text, width);
        EXPECT_EQ(RefusalOf(read), value ? "" : "Geben Sie bitte eine ganze Zahl ein.") << text;
        const int* number = std::get_if<int>(&read);
        EXPECT_EQ(number ? std::optional(*number) : std::nullopt, value) << text;
    }
}

TEST(FieldChecks, CharactersOutsideCodePage1252) {
    EXPECT_FALSE(FindCharacterOutsideCp1252(QString::fromUtf8("Café € „Œ“ ÿ")));
    const std::tuple<const char*, qsizetype, qsizetype, const char*> cases[] = {
        // text, position and length of the first character outside, its code in the message
        {"Pop ā", 4, 1, "U+0101"},
        {"x\xF0\x9F\x8E\xB9y", 1, 2, "U+1F3B9"},
        {"\xE2\x82\xAC\xE2\x82\xAD", 1, 1, "U+20AD"}};
    for (const auto& [text, position, length, code] : cases) {
        const auto found = FindCharacterOutsideCp1252(QString::fromUtf8(text));
        ASSERT_TRUE(found) << text;
        EXPECT_EQ(found->position, position) << text;
        EXPECT_EQ(found->length, length) << text;
        EXPECT_NE(found->refusal.text.find(code), std::string::npos) << found->refusal.text;
    }
}

// Rounded to the nearest pixel, as the dialog manager does.
TEST(FormTemplate, DialogUnitsToPixels) {
    EXPECT_EQ(DialogUnitsToPixels(QRect(39, 4, 88, 14), {6, 13}), QRect(59, 7, 132, 23));
    EXPECT_EQ(DialogUnitsToPixels(kStyleFormDialogUnits, {8, 16}), QSize(458, 470));
}
