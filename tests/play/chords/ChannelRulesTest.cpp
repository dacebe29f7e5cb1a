// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "ChordTestSupport.h"
#include "play/chords/ChordRules.h"
#include "play/chords/GuitarVoicing.h"

namespace {

struct TableNumberCase {
    bool sff2;
    Ntr ntr;
    int number;
    std::optional<NttSetting> setting;
};

class TableNumber : public testing::TestWithParam<TableNumberCase> {};

TEST_P(TableNumber, NamesItsTable) {
    const TableNumberCase& c = GetParam();
    EXPECT_EQ(c.sff2 ? NttFromSff2(c.ntr, c.number) : NttFromSff1(c.number), c.setting) << c.number;
}

constexpr auto kTrans = Ntr::RootTransposition;
constexpr auto kGuitar = Ntr::Guitar;
using S = NttSetting;

INSTANTIATE_TEST_SUITE_P(Format, TableNumber,
                         testing::Values(TableNumberCase{false, kTrans, 0, S{Ntt::Bypass, false}},
                                         TableNumberCase{false, kTrans, 1, S{Ntt::Melody, false}},
                                         TableNumberCase{false, kTrans, 2, S{Ntt::Chord, false}},
                                         TableNumberCase{false, kTrans, 3, S{Ntt::Melody, true}},
                                         TableNumberCase{false, kTrans, 4, S{Ntt::MelodicMinor, false}},
                                         TableNumberCase{false, kTrans, 5, S{Ntt::HarmonicMinor, false}},
                                         TableNumberCase{false, kTrans, 6, std::nullopt},
                                         TableNumberCase{false, kTrans, -1, std::nullopt},
                                         TableNumberCase{true, kTrans, 0x00, S{Ntt::Bypass, false}},
                                         TableNumberCase{true, Ntr::RootFixed, 0x02, S{Ntt::Chord, false}},
                                         TableNumberCase{true, kTrans, 0x04, S{Ntt::MelodicMinor5th, false}},
                                         TableNumberCase{true, kTrans, 0x06, S{Ntt::HarmonicMinor5th, false}},
                                         TableNumberCase{true, kTrans, 0x07, S{Ntt::NaturalMinor, false}},
                                         TableNumberCase{true, kTrans, 0x88, S{Ntt::NaturalMinor5th, true}},
                                         TableNumberCase{true, kTrans, 0x09, S{Ntt::Dorian, false}},
                                         TableNumberCase{true, kTrans, 0x8A, S{Ntt::Dorian5th, true}},
                                         TableNumberCase{true, kTrans, 0x0B, std::nullopt},
                                         TableNumberCase{true, kGuitar, 0x00, S{Ntt::AllPurpose, false}},
                                         TableNumberCase{true, kGuitar, 0x81, S{Ntt::Stroke, true}},
                                         TableNumberCase{true, kGuitar, 0x02, S{Ntt::Arpeggio, false}},
                                         TableNumberCase{true, kGuitar, 0x03, std::nullopt},
                                         TableNumberCase{true, kTrans, 0x100, std::nullopt}));

TEST(RuleNumbers, GuitarOnlyInSff2AndSixRetriggerRules) {
    EXPECT_EQ(NtrFromNumber(1, false), Ntr::RootFixed);
    EXPECT_EQ(NtrFromNumber(2, false), std::nullopt);
    EXPECT_EQ(NtrFromNumber(2, true), Ntr::Guitar);
    EXPECT_EQ(NtrFromNumber(3, true), std::nullopt);
    EXPECT_EQ(RtrFromNumber(0), Rtr::Stop);
    EXPECT_EQ(RtrFromNumber(5), Rtr::NoteGenerator);
    EXPECT_EQ(RtrFromNumber(6), std::nullopt);
}

// The minor tables change only their notes, and only between major and minor chords;
// the "5th" variants also take a diminished or augmented chord's fifth.
TEST(MinorTables, ChangeOnlyTheirNotes) {
    const std::vector<int> scale = Notes("C3 D3 E3 F3 G3 A3 B3");
    const auto play = [&](int byte, const char* chord) {
        const ChannelRules rules = OneZone(Ntr::RootTransposition, NttFromSff2(Ntr::RootTransposition, byte).value());
        std::vector<int> heard;
        for (const int note : scale) heard.push_back(*SoundingPitch(rules, ChordOf(chord), note));
        return heard;
    };
    EXPECT_EQ(play(7, "Cm"), Notes("C3 D3 Eb3 F3 G3 Ab3 Bb3"));   // natural minor
    EXPECT_EQ(play(9, "Cm"), Notes("C3 D3 Eb3 F3 G3 A3 Bb3"));    // dorian
    EXPECT_EQ(play(3, "Cdim"), Notes("C3 D3 Eb3 F3 G3 A3 B3"));   // melodic minor keeps the fifth
    EXPECT_EQ(play(4, "Cdim"), Notes("C3 D3 Eb3 F3 Gb3 A3 B3"));  // its 5th variant does not
    EXPECT_EQ(play(10, "Caug"), Notes("C3 D3 E3 F3 G#3 A3 B3"));  // dorian 5th over an augmented chord
    EXPECT_EQ(play(7, "C7"), scale);                              // a major chord keeps the major notes
    EXPECT_EQ(play(7, "Csus4"), scale);                           // no third: nothing to change
}

// Source notes name strings; played over C and G in the first position they sound the
// open chords a guitarist plays.
TEST(Guitar, StringsSoundAVoicingInTheirPosition) {
    const auto strings = [](const char* chord) {
        std::vector<int> heard;
        for (const int note : Notes("D2 E2 F2 G2 A2 B2"))
            heard.push_back(GuitarPitch(ChordOf(chord), note, false).value());
        return heard;
    };
    EXPECT_EQ(strings("C"), Notes("E1 C2 E2 G2 C3 E3"));
    EXPECT_EQ(strings("G"), Notes("G1 B1 D2 G2 B2 G3"));
    // C names the root (the bass with bass on), C# the fifth; other notes name no string.
    EXPECT_EQ(GuitarPitch(ChordOf("G/B"), Note("C2"), false), Note("G1"));
    EXPECT_EQ(GuitarPitch(ChordOf("G/B"), Note("C2"), true), Note("B1"));
    EXPECT_EQ(GuitarPitch(ChordOf("G"), Note("C#2"), false), Note("D2"));
    EXPECT_EQ(GuitarPitch(ChordOf("G"), Note("F#2"), false), std::nullopt);
}

// In every position every string sounds a tone of the chord within a hand's reach.
TEST(Guitar, EveryPositionIsPlayable) {
    constexpr int kOpen[] = {64, 59, 55, 50, 45, 40};
    const int stringNotes[] = {11, 9, 7, 5, 4, 2};
    for (int position = 0; position < 4; ++position) {
        for (int root = 0; root < 12; ++root) {
            for (const ChordType type : {ChordType::Maj, ChordType::Min7, ChordType::Dom9, ChordType::Dim7}) {
                const Chord chord{static_cast<std::uint8_t>(root), type, -1, false};
                const ChordTones tones = TonesOf(type);
                int lowestFret = 99, highestFret = -1;
                for (int string = 0; string < 6; ++string) {
                    const std::optional<int> pitch =
                        GuitarPitch(chord, 48 + 12 * position + stringNotes[string], false);
                    ASSERT_TRUE(pitch) << ChordText(chord) << " position " << position + 1 << " string " << string + 1;
                    const int interval = (*pitch - root + 120) % 12;
                    EXPECT_TRUE(interval == 0 || interval == tones.third || interval == tones.fifth ||
                                interval == tones.seventh || interval == tones.tension)
                        << ChordText(chord);
                    const int fret = *pitch - kOpen[string];
                    if (fret > 0) lowestFret = std::min(lowestFret, fret);
                    highestFret = std::max(highestFret, fret);
                }
                EXPECT_LE(highestFret - std::min(lowestFret, highestFret), 4) << ChordText(chord);
            }
        }
    }
}

// A guitar channel in the rules: its strings follow the chord, its limits apply.
TEST(Guitar, ChannelRulesPlayIt) {
    ChannelRules rules = OneZone(Ntr::Guitar, NttFromSff2(Ntr::Guitar, 0).value());
    EXPECT_EQ(SoundingPitch(rules, ChordOf("G"), Note("B2")), Note("G3"));
    rules.zones[1].highLimit = Note("C3");
    EXPECT_EQ(SoundingPitch(rules, ChordOf("G"), Note("B2")), Note("G2"));
}

TEST(NoteLimits, NarrowerThanAnOctaveTakeTheNearestOctave) {
    const ChannelRules rules = OneZone(Ntr::RootFixed, {Ntt::Bypass, false}, 5, Note("C3"), Note("E3"));
    EXPECT_EQ(SoundingPitch(rules, ChordOf("C"), Note("D1")), Note("D3"));
    EXPECT_EQ(SoundingPitch(rules, ChordOf("C"), Note("G4")), Note("G3"));    // 3 above, against 9 below
    EXPECT_EQ(SoundingPitch(rules, ChordOf("C"), Note("A#1")), Note("A#2"));  // 2 below, against 10 above
    // Limits the wrong way round are read as the range they span.
    const ChannelRules reversed = OneZone(Ntr::RootFixed, {Ntt::Bypass, false}, 5, Note("E3"), Note("C3"));
    EXPECT_EQ(SoundingPitch(reversed, ChordOf("C"), Note("D1")), Note("D3"));
}

}  // namespace
