// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "play/chords/Progression.h"

namespace {

constexpr std::uint32_t kQuarter = 480;
constexpr std::uint32_t kBar = 4 * kQuarter;

Progression Parsed(std::string_view text, int beats = 4) {
    Progression progression;
    const std::optional<ProgressionError> error = Progression::Parse(text, beats, progression);
    EXPECT_FALSE(error) << error->text;
    return progression;
}

std::string TextAt(const Progression& progression, std::uint64_t tick, std::uint32_t bar = kBar) {
    return ChordText(progression.ChordAt(tick, bar));
}

TEST(Progression, ChangesOnBeatThreeOfAFourFourBar) {
    const Progression progression = Parsed("C | Dm7 G7 | % | Am");
    EXPECT_EQ(progression.Bars(), 4);
    EXPECT_EQ(TextAt(progression, 0), "C");
    EXPECT_EQ(TextAt(progression, kBar - 1), "C");
    EXPECT_EQ(TextAt(progression, kBar), "Dm7");
    EXPECT_EQ(TextAt(progression, kBar + 2 * kQuarter - 1), "Dm7");
    EXPECT_EQ(TextAt(progression, kBar + 2 * kQuarter), "G7");
    EXPECT_EQ(TextAt(progression, 2 * kBar), "Dm7");  // "%" repeats the bar before
    EXPECT_EQ(TextAt(progression, 2 * kBar + 2 * kQuarter), "G7");
    EXPECT_EQ(TextAt(progression, 3 * kBar + 5), "Am");
    // It starts over after its last bar, for as long as the style plays.
    EXPECT_EQ(TextAt(progression, 4 * kBar), "C");
    EXPECT_EQ(TextAt(progression, 1000 * 4 * kBar + kBar + 2 * kQuarter), "G7");
}

TEST(Progression, ListsTheChangesInARangeLooping) {
    const Progression progression = Parsed("| C | Dm7 G7 | % |");
    const std::vector<ChordChange> changes = progression.ChangesIn(0, 4 * kBar, kBar);
    std::vector<std::pair<std::uint64_t, std::string>> seen;
    for (const ChordChange& change : changes) seen.emplace_back(change.tick, ChordText(change.chord));
    const std::vector<std::pair<std::uint64_t, std::string>> expected = {
        {0, "C"}, {kBar, "Dm7"}, {kBar + 960, "G7"}, {2 * kBar, "Dm7"}, {2 * kBar + 960, "G7"}, {3 * kBar, "C"}};
    EXPECT_EQ(seen, expected);
    // A range that starts mid-bar sees only what changes inside it.
    EXPECT_EQ(progression.ChangesIn(kBar + 1, kBar + 960, kBar).size(), 0u);
    EXPECT_EQ(progression.NextChange(kBar + 1, kBar), (ChordChange{kBar + 960, *ParseChord("G7")}));
}

TEST(Progression, AChordHeldOnIsNoChange) {
    // The last bar leads back into the first with the same chord.
    const Progression loop = Parsed("C | G | C C");
    const std::vector<ChordChange> changes = loop.ChangesIn(0, 6 * kBar, kBar);
    std::vector<std::uint64_t> ticks;
    for (const ChordChange& change : changes) ticks.push_back(change.tick);
    // Bar 4 is bar 1 again: C goes on, and G comes in bar 5.
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{0, kBar, 2 * kBar, 4 * kBar, 5 * kBar}));
    // One chord throughout: it starts, and never changes.
    const Progression one = Parsed("F | F | %");
    EXPECT_EQ(one.ChangesIn(0, 100 * kBar, kBar).size(), 1u);
    EXPECT_FALSE(one.NextChange(1, kBar));
}

TEST(Progression, SharesABarsBeatsEvenly) {
    // Three chords in 4/4 start on beats 1, 2 and 3; two in 3/4 on beats 1 and 2.
    const Progression four = Parsed("C F G");
    EXPECT_EQ(TextAt(four, kQuarter), "F");
    EXPECT_EQ(TextAt(four, 2 * kQuarter), "G");
    EXPECT_EQ(TextAt(four, 3 * kQuarter), "G");
    const Progression three = Parsed("C F", 3);
    EXPECT_EQ(TextAt(three, kQuarter - 1, 3 * kQuarter), "C");
    EXPECT_EQ(TextAt(three, kQuarter, 3 * kQuarter), "F");
    EXPECT_EQ(TextAt(three, 3 * kQuarter, 3 * kQuarter), "C");
}

struct RefusedCase {
    const char* text;
    int beats;
    const char* message;
    int bar;
    std::size_t offset;
};

class RefusedProgression : public testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedProgression, SaysWhatAndWhere) {
    const RefusedCase& c = GetParam();
    Progression progression = Parsed("Am");
    const std::optional<ProgressionError> error = Progression::Parse(c.text, c.beats, progression);
    ASSERT_TRUE(error) << c.text;
    EXPECT_EQ(error->text, c.message);
    EXPECT_EQ(error->bar, c.bar);
    EXPECT_EQ(error->offset, c.offset);
    EXPECT_EQ(TextAt(progression, 0), "Am");  // the progression held is kept
}

INSTANTIATE_TEST_SUITE_P(
    Messages, RefusedProgression,
    testing::Values(
        RefusedCase{"C | G | Hm7 | C", 4,
                    "The chord \"Hm7\" in bar 3 is not known!\n\n(Write a root C to B, maybe with # or b, a chord type "
                    "such as m7, 7sus4 or dim, and /BASS for another bass note; NC for no chord.)",
                    3, 8},
        RefusedCase{"C | G7/X", 4,
                    "The chord \"G7/X\" in bar 2 is not known!\n\n(Write a root C to B, maybe with # or b, a chord "
                    "type such as m7, 7sus4 or dim, and /BASS for another bass note; NC for no chord.)",
                    2, 4},
        RefusedCase{"C || G", 4, "Bar 2 of the chord progression holds no chord!", 2, 3},
        RefusedCase{"% | C", 4, "Bar 1 of the chord progression repeats the bar before it (\"%\"), but there is none!",
                    1, 0},
        RefusedCase{"C D E F", 3, "Bar 1 holds 4 chords, but a bar of this style has only 3 beats!", 1, 6},
        RefusedCase{"  ", 4, "The chord progression holds no chord!", 0, 0},
        RefusedCase{"|", 4, "The chord progression holds no chord!", 0, 0}));

TEST(Progression, NoChordSilencesUntilTheNextChord) {
    const Progression progression = Parsed("C | NC | G");
    EXPECT_TRUE(progression.ChordAt(kBar, kBar).none);
    EXPECT_FALSE(progression.ChordAt(2 * kBar, kBar).none);
}

}  // namespace
