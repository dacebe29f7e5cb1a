#include <gtest/gtest.h>

#include <set>

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
    const std::string none = "Geben Sie bitte eine ganze Zahl ein.";
    struct Case {
        const char* text;
        NumberWidth width;
        int value;
        std::string refusal;
    };
    const Case cases[] = {
        {"120", NumberWidth::Bits16, 120, ""},
        {" 7 ", NumberWidth::Bits16, 7, ""},
        {"007", NumberWidth::Bits16, 7, ""},
        {"-1", NumberWidth::Bits16, -1, ""},
        {"", NumberWidth::Bits16, 0, none},
        {"-", NumberWidth::Bits32, 0, none},
        {"12a", NumberWidth::Bits32, 0, none},
        {"1 2", NumberWidth::Bits32, 0, none},
        {"32767", NumberWidth::Bits16, 32767, ""},
        {"32768", NumberWidth::Bits16, 0, none},
        {"32768", NumberWidth::Bits32, 32768, ""},
        {"2147483648", NumberWidth::Bits32, 0, none},
        {"99999999999999999999999", NumberWidth::Bits32, 0, none},
    };
    for (const Case& c : cases) {
        const auto read = ReadWholeNumber(c.text, c.width);
        EXPECT_EQ(RefusalOf(read), c.refusal) << c.text;
        if (c.refusal.empty()) {
            EXPECT_EQ(std::get<int>(read), c.value) << c.text;
        }
    }
}

TEST(FieldChecks, RangesAreCheckedOnlyForValuesTheStyleHas) {
    EXPECT_EQ(CheckRange(300, kTempoRange, true)->text, "Geben Sie bitte eine ganze Zahl zwischen 0 und 250 ein.");
    EXPECT_EQ(CheckRange(0, kTimeSignatureRange, true)->text,
              "Geben Sie bitte eine ganze Zahl zwischen 1 und 128 ein.");
    EXPECT_EQ(CheckRange(-1, kVolumeRange, true)->text, "Geben Sie bitte eine ganze Zahl zwischen 0 und 127 ein.");
    EXPECT_FALSE(CheckRange(250, kTempoRange, true));
    EXPECT_FALSE(CheckRange(-1, kTempoRange, false));
    EXPECT_FALSE(CheckRange(0, kTimeSignatureRange, false));
}

TEST(FieldChecks, CharactersOutsideCodePage1252) {
    EXPECT_FALSE(FindCharacterOutsideCp1252(QString::fromUtf8("Café € „Œ“ ÿ")));
    struct Case {
        const char* text;
        qsizetype position, length;
        const char* code;
    };
    for (const Case& c : {Case{"Pop ā", 4, 1, "U+0101"}, Case{"x\xF0\x9F\x8E\xB9y", 1, 2, "U+1F3B9"},
                          Case{"\xE2\x82\xAC\xE2\x82\xAD", 1, 1, "U+20AD"}}) {
        const auto found = FindCharacterOutsideCp1252(QString::fromUtf8(c.text));
        ASSERT_TRUE(found) << c.text;
        EXPECT_EQ(found->position, c.position) << c.text;
        EXPECT_EQ(found->length, c.length) << c.text;
        EXPECT_NE(found->refusal.text.find(c.code), std::string::npos) << found->refusal.text;
    }
    EXPECT_EQ(ToCp1252ForDisplay(QString::fromUtf8("Ä€ā.sty")), "\xC4\x80?.sty");
}

TEST(FormTemplate, ControlsAndDialogUnits) {
    std::set<int> ids;
    int options = 0;
    for (const FormControl& control : StyleFormTemplate()) {
        if (control.id == form_id::kNone) continue;
        EXPECT_TRUE(ids.insert(control.id).second) << control.id;
        if (control.kind == ControlKind::OptionBox) ++options;
        EXPECT_LE(control.dialogUnits.right(), kStyleFormDialogUnits.width()) << control.id;
        EXPECT_LE(control.dialogUnits.bottom(), kStyleFormDialogUnits.height()) << control.id;
    }
    EXPECT_EQ(options, 11);
    EXPECT_EQ(ids.size(), 81u);  // every id from 1001 to 1081
    EXPECT_EQ(*ids.begin(), 1001);
    EXPECT_EQ(*ids.rbegin(), 1081);
    // Rounded to the nearest pixel, as the dialog manager does.
    EXPECT_EQ(DialogUnitsToPixels(QRect(39, 4, 88, 14), {6, 13}), QRect(59, 7, 132, 23));
    EXPECT_EQ(DialogUnitsToPixels(kStyleFormDialogUnits, {8, 16}), QSize(458, 470));
}

// Windows go down and right in 22-pixel steps; one that would pass the bottom starts
// a column 22 pixels right of the last, at the top; one that would pass the right
// edge starts again at the corner.
TEST(Cascade, ColumnsAndTheWayBack) {
    CCascade cascade;
    const QSize area(150, 100);
    const QSize window(60, 50);
    const QPoint expected[] = {{0, 0},  {22, 22}, {44, 44},  // 66 + 50 > 100: new column
                               {22, 0}, {44, 22}, {66, 44},  // next column
                               {44, 0}, {66, 22}, {88, 44},  // 88 + 60 = 148 still fits
                               {66, 0}, {88, 22},            // a fourth column
                               {0, 0},  {22, 22}};           // 110 + 60 > 150: back to the corner
    for (const QPoint& place : expected) EXPECT_EQ(cascade.NextPlace(area, window), place);
}

TEST(Cascade, WindowLargerThanTheAreaStaysAtTheCorner) {
    CCascade cascade;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(cascade.NextPlace(QSize(100, 100), QSize(200, 200)), QPoint(0, 0));
}
