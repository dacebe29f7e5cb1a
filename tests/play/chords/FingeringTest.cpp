// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "ChordTestSupport.h"
#include "play/chords/Fingering.h"
#include "play/chords/LeftHand.h"

namespace {

using F = Fingering;

std::string Shown(const std::optional<Chord>& chord) { return chord ? ChordText(*chord) : "nothing"; }

struct KeysCase {
    Fingering mode;
    const char* keys;
    const char* chord;  // "nothing": the keys name no chord
};
void PrintTo(const KeysCase& c, std::ostream* out) { *out << FingeringName(c.mode) << ": " << c.keys; }

// clang-format off
constexpr KeysCase kCases[] = {
    // Single finger: the highest key is the root, the colours of the keys below it the type.
    {F::Single, "C3", "C"}, {F::Single, "Bb2 C3", "Cm"}, {F::Single, "A2 C3", "C7"}, {F::Single, "C3 A2 Bb2", "Cm7"},
    {F::Single, "Ab2 Bb2 C3", "Cm"}, {F::Single, "C2 C3", "C"}, {F::Single, "C3 G3", "G7"}, {F::Single, "E2 E2", "E"},
    // Fingered: one key names nothing, its octaves 1+8, a fifth 1+5; any order, any spread.
    {F::Fingered, "C3", "nothing"}, {F::Fingered, "C3 C3", "nothing"}, {F::Fingered, "C3 C4", "C1+8"},
    {F::Fingered, "G2 C3", "C5"}, {F::Fingered, "C3 F3", "F5"}, {F::Fingered, "C3 E3", "nothing"},
    {F::Fingered, "C3 C#3 D3", "nothing"}, {F::Fingered, "G3 C3 E3", "C"}, {F::Fingered, "C2 G2 E3 C4", "C"},
    // Seventh chords leave out their fifth; other chords do not, and a full chord comes first.
    {F::Fingered, "C3 E3 Bb3", "C7"}, {F::Fingered, "C3 E3 B3", "CMaj7"}, {F::Fingered, "C3 Eb3 Bb3", "Cm7"},
    {F::Fingered, "E2 Bb2 C3", "C7"}, {F::Fingered, "C3 D3 E3 Bb3", "C9"}, {F::Fingered, "C3 D3 E3", "nothing"},
    {F::Fingered, "C3 Eb3 F3 Bb3", "F7sus4"},
    // On bass: the lowest key is the bass, or apart from the chord the others name.
    {F::OnBass, "C3 E3 G3", "C"}, {F::OnBass, "E2 G2 C3", "C/E"}, {F::OnBass, "A2 C3 E3 G3", "Am7"},
    {F::OnBass, "E2 G2 A2 C3", "C6/E"}, {F::OnBass, "F2 C3 E3 G3", "C/F"}, {F::OnBass, "F2 C3 E3 F3 G3", "C/F"},
    {F::OnBass, "D2 C3 E3 G3", "Cadd9/D"}, {F::OnBass, "D2 C3 E3", "nothing"}, {F::OnBass, "G2 C3", "C5/G"},
    {F::OnBass, "C2 C3", "C1+8"},
    // Multi: one or two pitch classes single finger, three or more fingered.
    {F::Multi, "C3", "C"}, {F::Multi, "Bb2 C3", "Cm"}, {F::Multi, "C3 G3", "G7"}, {F::Multi, "C2 C3", "C"},
    {F::Multi, "A2 Bb2 C3", "Cm7"}, {F::Multi, "G2 C3 E3", "C"}, {F::Multi, "C3 E3 Bb3", "C7"},
    {F::Multi, "C3 D3 E3", "nothing"}, {F::Multi, "Ab2 Bb2 C3", "nothing"},
    // Full: over the whole keyboard, from three pitch classes up.
    {F::Full, "C2 E2 G2 C5 E5", "C"}, {F::Full, "A1 C2 E4 G5", "Am7"}, {F::Full, "C4 G4", "nothing"},
    {F::Full, "C4 C5", "nothing"}, {F::Full, "E5", "nothing"},
};
// clang-format on

class FingeringReads : public testing::TestWithParam<KeysCase> {};

TEST_P(FingeringReads, TheChordTheKeysName) {
    const KeysCase& c = GetParam();
    const std::vector<int> keys = Notes(c.keys);
    EXPECT_EQ(Shown(RecognizeChord(keys, c.mode)), c.chord);
}
INSTANTIATE_TEST_SUITE_P(Fingering, FingeringReads, testing::ValuesIn(kCases));

// Where two types make the same pitch classes, an inversion may read as the other.
// Named on C; the loop below moves them to every root.
const std::map<std::pair<ChordType, std::size_t>, const char*> kInversionsReadOtherwise = {
    {{ChordType::Maj6, 3}, "Am7"},        {{ChordType::Maj6Add9, 3}, "Am11"},    {{ChordType::Aug, 1}, "Eaug"},
    {{ChordType::Aug, 2}, "Abaug"},       {{ChordType::Min6, 3}, "Am7b5"},       {{ChordType::Min7, 1}, "Eb6"},
    {{ChordType::Min7, 2}, "Eb6"},        {{ChordType::Min7, 3}, "Eb6"},         {{ChordType::Min7Flat5, 1}, "Ebm6"},
    {{ChordType::Min7Flat5, 2}, "Ebm6"},  {{ChordType::Min7Flat5, 3}, "Ebm6"},   {{ChordType::Min11, 1}, "Eb6/9"},
    {{ChordType::Min11, 2}, "Eb6/9"},     {{ChordType::Min11, 3}, "Eb6/9"},      {{ChordType::Min11, 4}, "Eb6/9"},
    {{ChordType::Dim7, 1}, "Ebdim7"},     {{ChordType::Dim7, 2}, "F#dim7"},      {{ChordType::Dim7, 3}, "Adim7"},
    {{ChordType::Dom7Flat5, 2}, "F#7b5"}, {{ChordType::Dom7Flat5, 3}, "F#7b5"},  {{ChordType::Sus4, 1}, "Fsus2"},
    {{ChordType::Sus4, 2}, "Fsus2"},      {{ChordType::OneTwoFive, 2}, "Gsus4"},
};

// Every type on every root, in root position and each inversion (its lowest notes an
// octave up): root position reads as the type, an inversion too unless listed above.
TEST(FingeringReads, EveryTypeInEveryInversion) {
    for (int root = 0; root < 12; ++root) {
        for (int number = 0; number < kChordTypeCount; ++number) {
            const auto type = static_cast<ChordType>(number);
            const std::span<const std::int8_t> intervals = TypeInfo(type).Intervals();
            for (std::size_t inversion = 0; inversion < intervals.size(); ++inversion) {
                std::vector<int> keys;
                for (std::size_t i = 0; i < intervals.size(); ++i) {
                    keys.push_back(48 + root + intervals[i] + (i < inversion ? 24 : 0));
                }
                Chord expected{static_cast<std::uint8_t>(root), type};
                if (const auto other = kInversionsReadOtherwise.find({type, inversion});
                    other != kInversionsReadOtherwise.end()) {
                    expected = ChordOf(other->second);
                    expected.root = static_cast<std::uint8_t>((expected.root + root) % 12);
                }
                EXPECT_EQ(Shown(RecognizeChord(keys, F::Fingered)), ChordText(expected))
                    << TypeInfo(type).name << " on " << PitchClassName(root) << ", inversion " << inversion;
            }
        }
    }
}

TEST(FingeringReads, NoKeysNameNothingInAnyMode) {
    const std::vector<int> none;
    const std::vector<int> offTheKeyboard = {-12, -5, 128, 140};
    for (const FingeringEntry& entry : kFingerings) {
        EXPECT_FALSE(RecognizeChord(none, entry.mode)) << entry.name;
        EXPECT_FALSE(RecognizeChord(offTheKeyboard, entry.mode)) << entry.name;
    }
}

TEST(FingeringNames, ReadBackAndRefuseOthers) {
    for (const FingeringEntry& entry : kFingerings) EXPECT_EQ(ParseFingering(FingeringName(entry.mode)), entry.mode);
    EXPECT_EQ(FingeringName(kDefaultFingering), "multi");
    for (const char* name : {"", "Multi", "onbass", "on_bass", "multi "}) EXPECT_FALSE(ParseFingering(name)) << name;
}

TEST(FingeringSplitKey, NamesAndNumbers) {
    constexpr std::pair<const char*, int> kNamed[] = {{"F#2", 54}, {"Gb2", 54}, {"C3", 60},  {"Bb1", 46},
                                                      {"B#2", 60}, {"Cb3", 59}, {"C-2", 0},  {"G8", 127},
                                                      {"54", 54},  {"0", 0},    {"127", 127}};
    for (const auto& [text, key] : kNamed) EXPECT_EQ(ParseSplitKey(text), key) << text;
    for (const char* text :
         {"", "H2", "f#2", "C#", "C9", "C-3", "G#8", "Cb-2", "128", "-1", "-0", "2.5", "F#2 ", "C+3", "54a"}) {
        EXPECT_FALSE(ParseSplitKey(text)) << text;
    }
    EXPECT_EQ(SplitKeyName(kDefaultSplitKey), "F#2");
    EXPECT_EQ(SplitKeyName(0), "C-2");
    for (int key = 0; key <= kHighestKey; ++key) EXPECT_EQ(ParseSplitKey(SplitKeyName(key)), key) << key;
}

constexpr std::uint64_t kMs = 1000;

// Presses keys by name at one time.
void Press(LeftHand& hand, std::string_view names, std::uint64_t time) {
    for (const int key : Notes(names)) EXPECT_EQ(hand.KeyDown(key, time), Hand::Left) << key;
}
void Release(LeftHand& hand, std::string_view names, std::uint64_t time) {
    for (const int key : Notes(names)) hand.KeyUp(key, time);
}

TEST(LeftHand, RightHandKeysAreMelodyAndNameNoChord) {
    LeftHand hand(F::Fingered);
    for (const char* key : {"G2", "C4", "E4", "G4"}) EXPECT_EQ(hand.KeyDown(Note(key), 0), Hand::Right) << key;
    EXPECT_EQ(hand.KeyUp(Note("C4"), 0), Hand::Right);
    EXPECT_FALSE(hand.NextDecision());
    EXPECT_FALSE(hand.Poll(kMs * 1000));
    EXPECT_FALSE(hand.Started());
    EXPECT_EQ(hand.KeyDown(Note("F#2"), kMs * 1000), Hand::Left);
    EXPECT_EQ(hand.KeyUp(Note("F#2"), kMs * 1000), Hand::Left);

    LeftHand full(F::Full);
    EXPECT_EQ(full.KeyDown(Note("C6"), 0), Hand::Left);
}

// A chord rolled in over 16 ms is decided once, when the settle time has passed after
// its last key: not at 20 ms, when its first key alone would have been due.
TEST(LeftHand, RolledChordIsOneDecision) {
    LeftHand hand;
    hand.KeyDown(Note("C1"), 0);
    hand.KeyDown(Note("E1"), 8 * kMs);
    hand.KeyDown(Note("G1"), 16 * kMs);
    EXPECT_FALSE(hand.Poll(24 * kMs));
    EXPECT_EQ(hand.NextDecision(), 16 * kMs + kChordSettleMicroseconds);
    EXPECT_EQ(Shown(hand.Poll(16 * kMs + kChordSettleMicroseconds)), "C");
    EXPECT_FALSE(hand.Poll(1000 * kMs));
    EXPECT_TRUE(hand.Started());
}

// The chord stays when the hand lets go; the same chord again is nothing new, another is.
TEST(LeftHand, ChordMemoryAndChanges) {
    LeftHand hand;
    Press(hand, "F1 A1 C2", 0);
    EXPECT_EQ(Shown(hand.Poll(50 * kMs)), "F");
    Release(hand, "F1 A1 C2", 400 * kMs);
    EXPECT_FALSE(hand.NextDecision());
    EXPECT_FALSE(hand.Poll(800 * kMs));
    EXPECT_EQ(ChordText(hand.Current()), "F");

    Press(hand, "A1 C2 F2", 900 * kMs);
    EXPECT_FALSE(hand.Poll(1000 * kMs));

    Release(hand, "F2", 1100 * kMs);  // A and C left held: releases decide nothing
    EXPECT_FALSE(hand.Poll(1200 * kMs));
    Press(hand, "E2", 1300 * kMs);  // a press reads every key held then
    EXPECT_EQ(Shown(hand.Poll(1400 * kMs)), "Am");

    Press(hand, "C#1 D1", 1500 * kMs);  // no chord: Am holds
    EXPECT_FALSE(hand.Poll(1600 * kMs));
    EXPECT_EQ(ChordText(hand.Current()), "Am");
}

// Regression: a late poll must decide with the keys held when the decision was due,
// not those held when it polls.
TEST(LeftHand, LatePollDecidesWithTheKeysHeldWhenDue) {
    LeftHand hand(F::Fingered);
    Press(hand, "C1 E1 G1", 0);
    Release(hand, "E1", 100 * kMs);
    EXPECT_EQ(Shown(hand.Poll(1000 * kMs)), "C");
}

TEST(LeftHand, ChordShorterThanTheSettleTimeCounts) {
    LeftHand hand;
    Press(hand, "D1 F1 A1", 0);
    Release(hand, "D1 F1 A1", 10 * kMs);
    EXPECT_EQ(Shown(hand.Poll(50 * kMs)), "Dm");
}

}  // namespace
