// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <bit>
#include <bitset>
#include <cstdlib>

#include "ChordTestSupport.h"
#include "play/chords/ChordRules.h"
#include "play/chords/Progression.h"

namespace {

using Action = ChangeDecision::Action;

constexpr auto kRootTrans = Ntr::RootTransposition;
constexpr auto kRootFixed = Ntr::RootFixed;

NttSetting Sff1(int number) { return NttFromSff1(number).value(); }
NttSetting Sff2(Ntr ntr, int byte) { return NttFromSff2(ntr, byte).value(); }

ChannelRules WithNoteMute(ChannelRules rules, std::uint16_t mute) {
    rules.noteMute = mute;
    return rules;
}
ChannelRules WithChordMute(ChannelRules rules, std::uint64_t mute) {
    rules.chordMute = mute;
    return rules;
}
ChannelRules RecordedOn(ChannelRules rules, ChordType type) {
    rules.sourceType = type;
    return rules;
}
constexpr std::uint64_t kAllTypes = (std::uint64_t{1} << kChordTypeCount) - 1;

// SFF2 zones: the low zone below middleLow plays root fixed and bypass, the middle
// zone transposes with the root and follows the melody table.
ChannelRules SplitAt(int middleLow) {
    ChannelRules rules = OneZone(kRootTrans, Sff2(kRootTrans, 1));
    rules.middleLow = middleLow;
    rules.zones[static_cast<std::size_t>(Zone::Low)] = ZoneRules{kRootFixed, Sff2(kRootFixed, 0)};
    return rules;
}

struct RuleCase {
    const char* what;
    ChannelRules rules;
    const char* source;               // notes struck together
    std::vector<const char*> chords;  // one after another
    std::vector<const char*> sounds;  // per chord, in the source's order; "" when silent
};

class DocumentedRules : public testing::TestWithParam<RuleCase> {};

TEST_P(DocumentedRules, SoundOverEachChord) {
    const RuleCase& c = GetParam();
    const std::vector<int> source = Notes(c.source);
    ASSERT_EQ(c.chords.size(), c.sounds.size()) << c.what;
    for (std::size_t i = 0; i < c.chords.size(); ++i) {
        std::vector<int> heard;
        for (const int note : source) {
            if (const std::optional<int> pitch = SoundingPitch(c.rules, ChordOf(c.chords[i]), note))
                heard.push_back(*pitch);
        }
        EXPECT_EQ(heard, Notes(c.sounds[i])) << c.what << " over " << c.chords[i];
    }
}

const std::vector<const char*> kSameChords = {"C", "C#", "D", "F", "F#"};
const std::vector<const char*> kTransposed = {"C3 E3 G3", "C#3 F3 G#3", "D3 F#3 A3", "F3 A3 C4", "F#2 A#2 C#3"};

INSTANTIATE_TEST_SUITE_P(
    Keyboard, DocumentedRules,
    testing::Values(
        RuleCase{"SFF1 root transposition, melody, high key F", OneZone(kRootTrans, Sff1(1), 5), "C3 E3 G3",
                 kSameChords, kTransposed},
        RuleCase{"SFF2 root transposition, melody, high key F", OneZone(kRootTrans, Sff2(kRootTrans, 1), 5), "C3 E3 G3",
                 kSameChords, kTransposed},
        RuleCase{"SFF1 root fixed, chord",
                 OneZone(kRootFixed, Sff1(2)),
                 "C3 E3 G3",
                 {"C", "F", "Cm"},
                 {"C3 E3 G3", "F3 A3 C4", "C3 Eb3 G3"}},
        RuleCase{"SFF2 root fixed, chord",
                 OneZone(kRootFixed, Sff2(kRootFixed, 2)),
                 "C3 E3 G3",
                 {"C", "F", "Cm"},
                 {"C3 E3 G3", "F3 A3 C4", "C3 Eb3 G3"}},
        RuleCase{"limits C3-D4 move notes by octaves",
                 OneZone(kRootTrans, Sff1(1), 5, Note("C3"), Note("D4")),
                 "C4 E4 G4",
                 {"C", "C#", "D#"},
                 {"C4 E3 G3", "C#4 F3 G#3", "D#3 G3 A#3"}},
        RuleCase{
            "SFF1 melodic minor", OneZone(kRootTrans, Sff1(4)), "C3 D3 E3 G3 A3 B3", {"Cm"}, {"C3 D3 Eb3 G3 A3 B3"}},
        RuleCase{"SFF2 melodic minor",
                 OneZone(kRootTrans, Sff2(kRootTrans, 3)),
                 "C3 D3 E3 G3 A3 B3",
                 {"Cm"},
                 {"C3 D3 Eb3 G3 A3 B3"}},
        RuleCase{
            "SFF1 harmonic minor", OneZone(kRootTrans, Sff1(5)), "C3 D3 E3 G3 A3 B3", {"Cm"}, {"C3 D3 Eb3 G3 Ab3 B3"}},
        RuleCase{"SFF2 harmonic minor",
                 OneZone(kRootTrans, Sff2(kRootTrans, 5)),
                 "C3 D3 E3 G3 A3 B3",
                 {"Cm"},
                 {"C3 D3 Eb3 G3 Ab3 B3"}},
        RuleCase{"SFF1 bass (table 3)",
                 OneZone(kRootTrans, Sff1(3)),
                 "C2",
                 {"G7", "Dm7/G", "Am", "F/A"},
                 {"G1", "G2", "A1", "A2"}},
        RuleCase{"SFF2 melody with bass on",
                 OneZone(kRootTrans, Sff2(kRootTrans, 0x81)),
                 "C2",
                 {"G7", "Dm7/G", "Am", "F/A"},
                 {"G1", "G2", "A1", "A2"}},
        RuleCase{"note mute without A",
                 WithNoteMute(OneZone(kRootTrans, Sff1(1)), 0x0FFF & ~(1 << 9)),
                 "C3 E3 G3",
                 {"C", "Am", "A", "Am7"},
                 {"C3 E3 G3", "", "", ""}},
        RuleCase{"chord mute without min",
                 WithChordMute(OneZone(kRootTrans, Sff1(1)), kAllTypes & ~(1 << 8)),
                 "C3 E3 G3",
                 {"C", "Am", "A", "Am7"},
                 {"C3 E3 G3", "", "A2 C#3 E3", "A2 C3 E3"}},
        RuleCase{"melody keeps a tone the chord has: a blues line on seventh chords",
                 OneZone(kRootTrans, Sff1(1)),
                 "C3 Eb3 E3 G3 Bb3 C4",
                 {"C7", "F7"},
                 {"C3 Eb3 E3 G3 Bb3 C4", "F3 Ab3 A3 C4 Eb4 F4"}},
        RuleCase{"1+5 and 1+8 have no third: the bass plays the root",
                 OneZone(kRootTrans, Sff1(3)),
                 "C2 G2 E2",
                 {"C5", "C1+8", "G5"},
                 {"C2 G2 C2", "C2 G2 C2", "G1 D2 G1"}},
        RuleCase{"harmonic minor recorded on Cm7 moves only towards major",
                 RecordedOn(OneZone(kRootTrans, Sff1(5)), ChordType::Min7),
                 "C3 D3 Eb3 F3 G3 Ab3 Bb3",
                 {"Cm7", "Cm", "C"},
                 {"C3 D3 Eb3 F3 G3 Ab3 Bb3", "C3 D3 Eb3 F3 G3 Ab3 Bb3", "C3 D3 E3 F3 G3 A3 Bb3"}},
        RuleCase{"SFF2 zones split at C3", SplitAt(Note("C3")), "E2 E3", {"F"}, {"E2 A3"}},
        // The same split one octave lower: below 48 the low zone, from 48 the middle one.
        RuleCase{"SFF2 zones split at 48", SplitAt(48), "E1 E2", {"F"}, {"E1 A2"}},
        RuleCase{"NC silences a phrase", OneZone(kRootTrans, Sff1(1)), "C3 E3 G3", {"NC"}, {""}}));

// A note held over "C F", the F coming on beat 3 of a 4/4 bar.
struct ChangeCase {
    Rtr rtr;
    ChangeDecision decision;
};

class HeldOverChange : public testing::TestWithParam<ChangeCase> {};

TEST_P(HeldOverChange, FollowsTheRetriggerRule) {
    constexpr std::uint32_t kBar = 4 * 480;
    Progression progression;
    ASSERT_FALSE(Progression::Parse("C F", 4, progression));
    const std::vector<ChordChange> changes = progression.ChangesIn(0, kBar, kBar);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1].tick, 2u * 480);

    const ChannelRules rules = OneZone(kRootTrans, Sff1(1), 5, 0, 127, GetParam().rtr);
    const int e3 = Note("E3");
    const std::optional<int> sounding = SoundingPitch(rules, changes[0].chord, e3);
    ASSERT_EQ(sounding, e3);
    EXPECT_EQ(DecideAtChange(rules, changes[0].chord, changes[1].chord, e3, *sounding), GetParam().decision);
}

INSTANTIATE_TEST_SUITE_P(Keyboard, HeldOverChange,
                         testing::Values(ChangeCase{Rtr::Stop, {Action::Stop, Note("E3")}},
                                         ChangeCase{Rtr::Retrigger, {Action::Restrike, Note("A3")}},
                                         ChangeCase{Rtr::PitchShift, {Action::Restrike, Note("A3")}},
                                         ChangeCase{Rtr::NoteGenerator, {Action::Restrike, Note("A3")}},
                                         ChangeCase{Rtr::RetriggerToRoot, {Action::Restrike, Note("F3")}},
                                         ChangeCase{Rtr::PitchShiftToRoot, {Action::Restrike, Note("F3")}}));

TEST(HeldOverChange, KeepsANoteTheNewChordLeavesAlone) {
    // G is the fifth of C and of Cm: the chord table keeps it where it was.
    const ChannelRules rules = OneZone(kRootFixed, Sff1(2), 5, 0, 127, Rtr::Retrigger);
    const int g3 = Note("G3");
    EXPECT_EQ(DecideAtChange(rules, ChordOf("C"), ChordOf("Cm"), g3, g3), (ChangeDecision{Action::Keep, g3}));
}

TEST(HeldOverChange, StopsWhereTheNewChordMutesTheChannel) {
    const ChannelRules rules =
        WithNoteMute(OneZone(kRootTrans, Sff1(1), 5, 0, 127, Rtr::Retrigger), 0x0FFF & ~(1 << 5));
    const int e3 = Note("E3");
    EXPECT_EQ(DecideAtChange(rules, ChordOf("C"), ChordOf("F"), e3, e3).action, Action::Stop);
    EXPECT_EQ(DecideAtChange(rules, ChordOf("C"), kNoChord, e3, e3).action, Action::Stop);
}

// Drums play root fixed and bypass: every note as recorded over every chord and NC.
TEST(DefaultRules, RhythmPartsNeverChange) {
    for (const int channel : {8, 9}) {
        const ChannelRules rules = DefaultRules(channel).value();
        for (int root = 0; root < 12; ++root) {
            for (int type = 0; type < kChordTypeCount; ++type) {
                const Chord chord{static_cast<std::uint8_t>(root), static_cast<ChordType>(type), -1, false};
                for (int note = 0; note < 128; ++note) ASSERT_EQ(SoundingPitch(rules, chord, note), note);
            }
        }
        EXPECT_EQ(SoundingPitch(rules, kNoChord, 36), 36);
    }
}

TEST(DefaultRules, PlayChannelsNineToSixteenAsTheirOwnParts) {
    for (int channel = 0; channel < 16; ++channel) {
        const std::optional<ChannelRules> rules = DefaultRules(channel);
        ASSERT_EQ(rules.has_value(), channel >= 8) << channel;
        if (!rules) continue;
        EXPECT_EQ(static_cast<int>(rules->part), channel);
        EXPECT_EQ(rules->sourceType, ChordType::Maj7);
        EXPECT_EQ(rules->noteMute, 0x0FFF);
        EXPECT_EQ(rules->chordMute, kAllTypes);
    }
    // The bass follows the root and takes a slash chord's bass; the chord parts stay put.
    EXPECT_EQ(SoundingPitch(*DefaultRules(10), ChordOf("Dm7/G"), Note("C2")), Note("G2"));
    std::vector<int> heard;
    for (const int note : Notes("C3 E3 G3 B3")) heard.push_back(*SoundingPitch(*DefaultRules(11), ChordOf("G7"), note));
    EXPECT_EQ(heard, Notes("G2 B2 D3 F3"));
}

// Over every chord of every root, the source's C Maj7 tones keep their jobs: the third
// goes to the chord's third (or its fourth, its second), the fifth to its fifth.
TEST(MelodyTable, KeepsEachChordTonesJob) {
    const ChannelRules rules = OneZone(kRootFixed, Sff1(1));
    for (int root = 0; root < 12; ++root) {
        for (int type = 0; type < kChordTypeCount; ++type) {
            const Chord chord{static_cast<std::uint8_t>(root), static_cast<ChordType>(type), -1, false};
            const ChordTones tones = TonesOf(chord.type);
            const auto pitchClassOf = [&](int note) { return *SoundingPitch(rules, chord, note) % 12; };
            EXPECT_EQ(pitchClassOf(Note("C3")), root) << ChordText(chord);
            if (tones.third >= 0) {
                EXPECT_EQ(pitchClassOf(Note("E3")), (root + tones.third) % 12) << ChordText(chord);
            }
            if (tones.fifth >= 0) {
                EXPECT_EQ(pitchClassOf(Note("G3")), (root + tones.fifth) % 12) << ChordText(chord);
            }
            if (tones.seventh > 9) {
                EXPECT_EQ(pitchClassOf(Note("B3")), (root + tones.seventh) % 12) << ChordText(chord);
            }
        }
    }
}

// A C Maj7 part played on every chord sounds the chord's tones and only those: its
// third, fifth and seventh take the chord's own; a triad plays the seventh as its root,
// a five-note chord its tension for the fifth; 1+5 and 1+8 sound their root for the
// tones they lack.
TEST(ChordTable, APartOnCMaj7SoundsEveryChordsTones) {
    for (const Ntr ntr : {kRootFixed, kRootTrans}) {
        const ChannelRules rules = OneZone(ntr, Sff1(2));
        for (int root = 0; root < 12; ++root) {
            for (int type = 0; type < kChordTypeCount; ++type) {
                const Chord chord{static_cast<std::uint8_t>(root), static_cast<ChordType>(type), -1, false};
                const ChordTones tones = TonesOf(chord.type);
                std::uint16_t expected = 0;
                for (const int interval : {0, tones.third, tones.fifth, tones.seventh, tones.tension}) {
                    const bool fifthGivesWay = interval == tones.fifth && tones.count == 5;
                    if (interval >= 0 && !fifthGivesWay) expected |= static_cast<std::uint16_t>(1 << (root + interval) % 12);
                }
                std::uint16_t heard = 0;
                for (const int note : Notes("C3 E3 G3 B3")) {
                    const int pitch = *SoundingPitch(rules, chord, note);
                    // Root fixed, a part stays where it was recorded: each note within half an
                    // octave of the root's move and a tone's change.
                    if (ntr == kRootFixed) {
                        EXPECT_LE(std::abs(pitch - note), 8) << ChordText(chord);
                    }
                    heard |= static_cast<std::uint16_t>(1 << pitch % 12);
                }
                EXPECT_EQ(heard, expected) << ChordText(chord);
            }
        }
    }
}

// Recorded on a five-note chord, each note keeps its job: the ninth stays the ninth.
// B3 and C4 of a block both play the root over a triad: the later moves an octave where
// the chord has three tones and the part's limits leave room; a thinner chord, or another
// table, lets the two share the key.
TEST(ChordTable, ASecondNoteOnASoundingKeyMovesAnOctaveWhereTheChordHasTonesEnough) {
    struct Case {
        const char* what;
        ChannelRules rules;
        const char* chord;
        int expected;
    };
    const Case cases[] = {
        {"triad", OneZone(kRootFixed, Sff1(2)), "C", Note("C5")},
        {"triad, up outside the limits", OneZone(kRootFixed, Sff1(2), 5, 0, Note("G4")), "C", Note("C3")},
        {"1+5", OneZone(kRootFixed, Sff1(2)), "C5", Note("C4")},
        {"melody table", OneZone(kRootFixed, Sff1(1)), "C", Note("C4")},
    };
    std::bitset<128> sounding;
    sounding[static_cast<std::size_t>(Note("C4"))] = true;
    for (const Case& c : cases) {
        EXPECT_EQ(UnisonPitch(c.rules, ChordOf(c.chord), Note("B3"), Note("C4"), sounding), c.expected) << c.what;
    }
}

TEST(ChordTable, AFiveNoteSourceKeepsEveryJob) {
    ChannelRules rules = OneZone(kRootFixed, Sff1(2));
    rules.sourceType = ChordType::Maj9;
    std::vector<int> heard;
    for (const int note : Notes("C3 E3 G3 B3 D4")) heard.push_back(*SoundingPitch(rules, ChordOf("Dm9"), note));
    EXPECT_EQ(heard, Notes("D3 F3 A3 C4 E4"));
}

// Every table leaves a part as recorded on its own source chord: a chromatic octave from
// the source root, with either root rule, over the source chords styles use.
TEST(NoteTables, PlayAPartAsRecordedOnItsOwnSourceChord) {
    const std::vector<int> chromatic = Notes("C3 C#3 D3 Eb3 E3 F3 F#3 G3 Ab3 A3 Bb3 B3");
    const std::pair<int, ChordType> sources[] = {{0, ChordType::Maj7}, {0, ChordType::Min7}, {4, ChordType::Dom7},
                                                 {9, ChordType::Min7Flat5}, {7, ChordType::Sus4},
                                                 {2, ChordType::Min}};
    for (const Ntr ntr : {kRootFixed, kRootTrans}) {
        for (int byte = 0; byte <= 10; ++byte) {
            for (const auto& [root, type] : sources) {
                ChannelRules rules = OneZone(ntr, Sff2(ntr, byte));
                rules.sourceRoot = root;
                rules.sourceType = type;
                const Chord source{static_cast<std::uint8_t>(root), type, -1, false};
                for (const int note : chromatic) {
                    EXPECT_EQ(SoundingPitch(rules, source, note + root), note + root)
                        << "table " << byte << " on " << ChordText(source);
                }
            }
        }
    }
}

// A source chord other than C Maj7 is read through its own root and type.
TEST(SourceChord, IsReadThroughItsOwnRootAndType) {
    ChannelRules rules = OneZone(kRootTrans, Sff1(1));
    rules.sourceRoot = 9;  // recorded on A minor 7
    rules.sourceType = ChordType::Min7;
    // A3 C4 E4 G4 over Am7 as recorded, over C (high key F) up a minor third, major.
    const std::vector<int> notes = Notes("A2 C3 E3 G3");
    std::vector<int> overAm7, overC;
    for (const int note : notes) {
        overAm7.push_back(*SoundingPitch(rules, ChordOf("Am7"), note));
        overC.push_back(*SoundingPitch(rules, ChordOf("C"), note));
    }
    EXPECT_EQ(overAm7, notes);
    EXPECT_EQ(overC, Notes("C3 E3 G3 B3"));
}

}  // namespace
