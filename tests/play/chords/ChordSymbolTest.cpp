// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>

#include "play/chords/Chord.h"

namespace {

using T = ChordType;

struct SpellingCase {
    const char* symbol;
    int root;
    ChordType type;
    int bass;  // -1: the root
    const char* shown;
};

class ChordSpelling : public testing::TestWithParam<SpellingCase> {};

TEST_P(ChordSpelling, NamesItsChord) {
    const SpellingCase& c = GetParam();
    const std::optional<Chord> chord = ParseChord(c.symbol);
    ASSERT_TRUE(chord) << c.symbol;
    EXPECT_EQ(*chord, (Chord{static_cast<std::uint8_t>(c.root), c.type, static_cast<std::int8_t>(c.bass), false}))
        << c.symbol;
    EXPECT_EQ(ChordText(*chord), c.shown) << c.symbol;
}

INSTANTIATE_TEST_SUITE_P(
    EveryType, ChordSpelling,
    testing::Values(
        SpellingCase{"C", 0, T::Maj, -1, "C"}, SpellingCase{"CM", 0, T::Maj, -1, "C"},
        SpellingCase{"C6", 0, T::Maj6, -1, "C6"}, SpellingCase{"Cmaj7", 0, T::Maj7, -1, "CMaj7"},
        SpellingCase{"CM7", 0, T::Maj7, -1, "CMaj7"}, SpellingCase{"CMaj7", 0, T::Maj7, -1, "CMaj7"},
        SpellingCase{"Cmaj7#11", 0, T::Maj7Sharp11, -1, "CMaj7#11"}, SpellingCase{"Cadd9", 0, T::MajAdd9, -1, "Cadd9"},
        SpellingCase{"Cmaj9", 0, T::Maj9, -1, "CMaj9"}, SpellingCase{"CM7(9)", 0, T::Maj9, -1, "CMaj9"},
        SpellingCase{"C6/9", 0, T::Maj6Add9, -1, "C6/9"}, SpellingCase{"C69", 0, T::Maj6Add9, -1, "C6/9"},
        SpellingCase{"Caug", 0, T::Aug, -1, "Caug"}, SpellingCase{"C+", 0, T::Aug, -1, "Caug"},
        SpellingCase{"Cm", 0, T::Min, -1, "Cm"}, SpellingCase{"Cmin", 0, T::Min, -1, "Cm"},
        SpellingCase{"C-", 0, T::Min, -1, "Cm"}, SpellingCase{"Cm6", 0, T::Min6, -1, "Cm6"},
        SpellingCase{"Cm7", 0, T::Min7, -1, "Cm7"}, SpellingCase{"C-7", 0, T::Min7, -1, "Cm7"},
        SpellingCase{"Cm7b5", 0, T::Min7Flat5, -1, "Cm7b5"}, SpellingCase{"C\xC3\xB8", 0, T::Min7Flat5, -1, "Cm7b5"},
        SpellingCase{"Cmadd9", 0, T::MinAdd9, -1, "Cmadd9"}, SpellingCase{"Cm(9)", 0, T::MinAdd9, -1, "Cmadd9"},
        SpellingCase{"Cm9", 0, T::Min9, -1, "Cm9"}, SpellingCase{"Cm11", 0, T::Min11, -1, "Cm11"},
        SpellingCase{"CmMaj7", 0, T::MinMaj7, -1, "CmMaj7"}, SpellingCase{"CmM7", 0, T::MinMaj7, -1, "CmMaj7"},
        SpellingCase{"CmMaj9", 0, T::MinMaj9, -1, "CmMaj9"}, SpellingCase{"Cdim", 0, T::Dim, -1, "Cdim"},
        SpellingCase{"Co", 0, T::Dim, -1, "Cdim"}, SpellingCase{"Cdim7", 0, T::Dim7, -1, "Cdim7"},
        SpellingCase{"Co7", 0, T::Dim7, -1, "Cdim7"}, SpellingCase{"C7", 0, T::Dom7, -1, "C7"},
        SpellingCase{"C7sus4", 0, T::Dom7Sus4, -1, "C7sus4"}, SpellingCase{"C7b5", 0, T::Dom7Flat5, -1, "C7b5"},
        SpellingCase{"C9", 0, T::Dom9, -1, "C9"}, SpellingCase{"C7#11", 0, T::Dom7Sharp11, -1, "C7#11"},
        SpellingCase{"C13", 0, T::Dom13, -1, "C13"}, SpellingCase{"C7b9", 0, T::Dom7Flat9, -1, "C7b9"},
        SpellingCase{"C7b13", 0, T::Dom7Flat13, -1, "C7b13"}, SpellingCase{"C7#9", 0, T::Dom7Sharp9, -1, "C7#9"},
        SpellingCase{"CMaj7aug", 0, T::Maj7Aug, -1, "CMaj7aug"}, SpellingCase{"Cmaj7#5", 0, T::Maj7Aug, -1, "CMaj7aug"},
        SpellingCase{"C7#5", 0, T::Dom7Aug, -1, "C7aug"}, SpellingCase{"C7aug", 0, T::Dom7Aug, -1, "C7aug"},
        SpellingCase{"C1+8", 0, T::OneEight, -1, "C1+8"}, SpellingCase{"C5", 0, T::OneFive, -1, "C5"},
        SpellingCase{"Csus4", 0, T::Sus4, -1, "Csus4"}, SpellingCase{"Csus", 0, T::Sus4, -1, "Csus4"},
        SpellingCase{"Csus2", 0, T::OneTwoFive, -1, "Csus2"},
        // Roots with sharps and flats, shown as the keyboard shows them.
        SpellingCase{"C#m7", 1, T::Min7, -1, "C#m7"}, SpellingCase{"Dbm7", 1, T::Min7, -1, "C#m7"},
        SpellingCase{"D#", 3, T::Maj, -1, "Eb"}, SpellingCase{"Bb7", 10, T::Dom7, -1, "Bb7"},
        SpellingCase{"A#7", 10, T::Dom7, -1, "Bb7"}, SpellingCase{"Cb", 11, T::Maj, -1, "B"},
        SpellingCase{"E#", 5, T::Maj, -1, "F"},
        // A bass other than the root; the root itself as bass is no slash chord.
        SpellingCase{"Dm7/G", 2, T::Min7, 7, "Dm7/G"}, SpellingCase{"F/A", 5, T::Maj, 9, "F/A"},
        SpellingCase{"C6/A", 0, T::Maj6, 9, "C6/A"}, SpellingCase{"C6/9/E", 0, T::Maj6Add9, 4, "C6/9/E"},
        SpellingCase{"Ab/Bb", 8, T::Maj, 10, "Ab/Bb"}, SpellingCase{"C/C", 0, T::Maj, -1, "C"}));

TEST(ChordSpelling, NoChord) {
    EXPECT_EQ(ParseChord("NC"), kNoChord);
    EXPECT_EQ(ParseChord("N.C."), kNoChord);
    EXPECT_EQ(ChordText(kNoChord), "NC");
}

TEST(ChordSpelling, RefusesWhatIsNoChord) {
    for (const char* symbol :
         {"", "H", "c", "Cx", "C/", "C/H", "C7/", "Cm7b", "C##", "CMaj7/G/", "NCm", "/C", "%", "C 7", "Cmaj13"}) {
        EXPECT_FALSE(ParseChord(symbol)) << symbol;
    }
}

// Every chord as shown reads back as the same chord: 12 roots, 34 types, each bass.
TEST(ChordSpelling, ShownTextReadsBack) {
    for (int root = 0; root < 12; ++root) {
        for (int type = 0; type < kChordTypeCount; ++type) {
            for (int bass = -1; bass < 12; ++bass) {
                if (bass == root) continue;
                const Chord chord{static_cast<std::uint8_t>(root), static_cast<ChordType>(type),
                                  static_cast<std::int8_t>(bass), false};
                EXPECT_EQ(ParseChord(ChordText(chord)), chord) << ChordText(chord);
            }
        }
    }
}

// The table's scales hold every chord tone at its degree: the third (or the fourth,
// second standing for it) at 3, the fifth at 5, a seventh at 7, a sixth at 6.
TEST(ChordTypes, ScalesHoldTheirChordTones) {
    for (int type = 0; type < kChordTypeCount; ++type) {
        const ChordTypeInfo& info = TypeInfo(static_cast<ChordType>(type));
        const ChordTones tones = TonesOf(static_cast<ChordType>(type));
        EXPECT_EQ(info.scale[0], 0) << info.name;
        if (tones.third >= 0) {
            EXPECT_EQ(info.scale[2], tones.third) << info.name;
        }
        if (tones.fifth >= 0) {
            EXPECT_EQ(info.scale[4], tones.fifth) << info.name;
        }
        if (tones.seventh >= 10) {
            EXPECT_EQ(info.scale[6], tones.seventh) << info.name;
        }
        if (tones.seventh == 9) {
            EXPECT_TRUE(info.scale[5] == 9 || info.scale[6] == 9) << info.name;  // sixth, or diminished seventh
        }
        if (tones.tension >= 0) {
            const bool inScale = std::find(info.scale.begin(), info.scale.end(), tones.tension) != info.scale.end();
            EXPECT_TRUE(inScale) << info.name;
        }
        for (std::size_t i = 1; i < info.scale.size(); ++i) EXPECT_LE(info.scale[i - 1], info.scale[i]) << info.name;
    }
    EXPECT_EQ(TypeInfo(ChordType::Maj7Sharp11).name, "Maj7#11");
    EXPECT_EQ(TypeInfo(ChordType::OneTwoFive).name, "1+2+5");
}

}  // namespace
