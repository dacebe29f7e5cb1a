// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "PlayStyles.h"
#include "play/files/Render.h"

namespace {

std::uint64_t SampleOf(std::uint64_t ticks, std::uint64_t quarter, int division, int rate = kRate) {
    return ticks * quarter * static_cast<std::uint64_t>(rate) / (static_cast<std::uint64_t>(division) * 1000000);
}

// Every note-on is ended by a note-off of the same key later on.
void ExpectEveryNoteEnds(const RecordingSynth& synth) {
    std::map<std::pair<int, int>, int> sounding;
    for (const SentMessage& m : synth.messages) {
        const int kind = m.status >> 4;
        const auto key = std::pair{m.status & 0x0F, int{m.data1}};
        if (kind == 0x9 && m.data2 != 0) ++sounding[key];
        if (kind == 0x8 || (kind == 0x9 && m.data2 == 0)) sounding[key] = 0;
    }
    for (const auto& [key, count] : sounding) EXPECT_EQ(count, 0) << "channel " << key.first << " key " << key.second;
}

std::vector<int> NoteKeys(const RecordingSynth& synth) {
    std::vector<int> keys;
    for (const SentMessage& m : synth.NoteOns()) keys.push_back(m.data1);
    return keys;
}

// A section of four quarters with one note at tick 0, a quarter long; a chord marker
// at its end, as real styles have them.
Bytes OneNoteSection(std::string_view name, std::uint8_t key, int division) {
    return MarkerAt(0, name) + At(0, 0x90, key, 100) + At(std::uint32_t(division), 0x80, key, 0) +
           MarkerAt(std::uint32_t(3 * division), "fn:Chord");
}

struct TimingCase {
    int division;
    std::uint32_t quarter;  // microseconds, 60,000,000 / bpm
    int rate;
};

class ExactSamples : public testing::TestWithParam<TimingCase> {};

// Every event comes at ticks x 60 / (bpm x division) x rate, in the first loop and the
// second, whatever the division.
TEST_P(ExactSamples, NotesComeAtTheirSample) {
    const auto [division, quarter, rate] = GetParam();
    const std::uint32_t note = std::uint32_t(division + division / 2 + 1);
    const std::uint32_t length = std::uint32_t(4 * division);
    const Bytes style =
        PlayStyle(std::uint16_t(division), TempoAt(0, quarter) + MarkerAt(0, "Main A") + At(note, 0x91, 60, 90) +
                                               At(7, 0x81, 60, 0) + EndAt(length - note - 7));
    const RecordingSynth synth = Play(Build(style), kSectionMainA, 2, rate);
    const std::vector<SentMessage> ons = synth.NoteOns();
    ASSERT_EQ(ons.size(), 2u);
    EXPECT_EQ(ons[0].sample, SampleOf(note, quarter, division, rate));
    EXPECT_EQ(ons[1].sample, SampleOf(length + note, quarter, division, rate));
    const std::vector<SentMessage> offs = synth.OfKind(0x8);
    EXPECT_EQ(offs.front().sample, SampleOf(note + 7, quarter, division, rate));
    ExpectEveryNoteEnds(synth);
}

INSTANTIATE_TEST_SUITE_P(EveryDivision, ExactSamples,
                         testing::Values(TimingCase{1920, 500000, 44100}, TimingCase{960, 500000, 44100},
                                         TimingCase{480, 400000, 44100}, TimingCase{192, 600000, 44100},
                                         TimingCase{96, 500000, 44100}, TimingCase{480, 500000, 48000},
                                         TimingCase{1920, 666666, 22050}));

// The set-up and "SInt" go out once, at sample 0, before any section plays; their
// delta times are not heard as bars.
TEST(Timeline, SetUpIsSentOnceAtTimeZero) {
    const Bytes style =
        PlayStyle(480, TempoAt(0, 500000) + At(0, 0xB0, 0, 0) + ProgramAt(0, 0, 33) + MarkerAt(0, "SInt") +
                           At(960, 0xB0, 7, 100) + At(0, 0xB0, 91, 40) + OneNoteSection("Main A", 60, 480) + EndAt(0));
    const RecordingSynth synth = Play(Build(style), kSectionMainA, 3);
    ASSERT_EQ(synth.voices.size(), 1u);
    EXPECT_EQ(synth.voices[0].sample, 0u);
    EXPECT_EQ(synth.voices[0].voice.program, 33);
    const std::vector<SentMessage> controllers = synth.OfKind(0xB);
    EXPECT_EQ(std::count(controllers.begin(), controllers.end(), SentMessage{0, 0xB0, 7, 100}), 1);
    EXPECT_EQ(std::count(controllers.begin(), controllers.end(), SentMessage{0, 0xB0, 91, 40}), 1);
    // Bank selects never reach the synthesizer: the voice decision stands for them.
    EXPECT_TRUE(
        std::none_of(controllers.begin(), controllers.end(), [](const SentMessage& m) { return m.data1 == 0; }));
    EXPECT_EQ(synth.NoteOns().front().sample, 0u);
}

struct OrderCase {
    const char* start;
    std::vector<int> keys;  // the notes heard, one per section played
};

class SectionOrder : public testing::TestWithParam<OrderCase> {};

// Mains and Fill Ins loop, an Intro leads into the Main of its letter (Main A when the
// style has none), an Ending plays once.
TEST_P(SectionOrder, PlaysAsAKeyboardDoes) {
    const Bytes style = PlayStyle(96, OneNoteSection("Intro A", 60, 96) + OneNoteSection("Intro B", 61, 96) +
                                          OneNoteSection("Intro C", 66, 96) + OneNoteSection("Main A", 62, 96) +
                                          OneNoteSection("Main B", 63, 96) + OneNoteSection("Fill In AA", 64, 96) +
                                          OneNoteSection("Ending A", 65, 96) + EndAt(0));
    const Timeline timeline = Build(style);
    int section = 0;
    ASSERT_FALSE(FindPlaySection(timeline, GetParam().start, section));
    const RecordingSynth synth = Play(timeline, section, 2);
    EXPECT_EQ(NoteKeys(synth), GetParam().keys);
    // Each section starts where the one before ends.
    const std::vector<SentMessage> ons = synth.NoteOns();
    for (std::size_t i = 0; i < ons.size(); ++i) EXPECT_EQ(ons[i].sample, SampleOf(4 * 96 * i, 500000, 96));
    ExpectEveryNoteEnds(synth);
}

INSTANTIATE_TEST_SUITE_P(Sections, SectionOrder,
                         testing::Values(OrderCase{"Main A", {62, 62}}, OrderCase{"Intro A", {60, 62, 62}},
                                         OrderCase{"Intro B", {61, 63, 63}}, OrderCase{"Intro C", {66, 62, 62}},
                                         OrderCase{"Fill In AA", {64, 64}}, OrderCase{"Ending A", {65}}));

// A note still sounding at the end of a section is ended there, and sustain,
// modulation, expression and pitch bend go back to rest, so nothing hangs into the
// next loop.
TEST(Timeline, BoundaryEndsNotesAndResetsControllers) {
    const Bytes style = PlayStyle(480, MarkerAt(0, "Main A") + At(0, 0x92, 60, 100) + At(0, 0xB2, 64, 127) +
                                           At(10, 0xE2, 0, 100) + At(0, 0xB2, 1, 90) + At(0, 0xB2, 11, 60) +
                                           MarkerAt(1910, "Main B") + At(0, 0x92, 70, 100) + EndAt(480));
    const RecordingSynth synth = Play(Build(style), kSectionMainA, 1);
    const std::uint64_t boundary = SampleOf(1920, 500000, 480);
    const std::vector<SentMessage> expected = {{boundary, 0x82, 60, 0},
                                               {boundary, 0xB2, 64, 0},
                                               {boundary, 0xB2, 1, 0},
                                               {boundary, 0xB2, 11, 127},
                                               {boundary, 0xE2, 0, 64}};
    const std::vector<SentMessage> tail(synth.messages.end() - 5, synth.messages.end());
    EXPECT_EQ(tail, expected);
    EXPECT_EQ(NoteKeys(synth), std::vector<int>{60});
}

struct TempoCase {
    std::optional<int> editedBpm;
    std::uint64_t noteSample;
};

class TempoEdit : public testing::TestWithParam<TempoCase> {};

// A tempo edit scales the style's later tempo events by the same ratio: a section
// that slows to half speed still slows to half the edited speed.
TEST_P(TempoEdit, ScalesLaterTempoEvents) {
    const Bytes style = PlayStyle(480, TempoAt(0, 500000) + MarkerAt(0, "Ending A") + TempoAt(960, 1000000) +
                                           At(480, 0x90, 60, 100) + At(10, 0x80, 60, 0) + EndAt(470));
    const RecordingSynth synth = Play(Build(style, GetParam().editedBpm), 14, 1);
    ASSERT_EQ(synth.NoteOns().size(), 1u);
    EXPECT_EQ(synth.NoteOns()[0].sample, GetParam().noteSample);
}

INSTANTIATE_TEST_SUITE_P(Tempi, TempoEdit,
                         testing::Values(TempoCase{std::nullopt, 2 * kRate}, TempoCase{240, kRate},
                                         TempoCase{60, 4 * kRate}));

// Regression: a tempo edit made after a section's last event, before its end, was
// undone at the boundary (the next loop went back to the old tempo, sound and status).
TEST(Timeline, TempoEditAfterTheLastEventHoldsPastTheBoundary) {
    const Bytes style = PlayStyle(
        480, TempoAt(0, 500000) + MarkerAt(0, "Main A") + At(0, 0x90, 60, 100) + At(480, 0x80, 60, 0) + EndAt(1440));
    const Timeline original = Build(style);
    const Timeline slower = Build(style, 60);
    RecordingSynth synth;
    Scheduler scheduler(original, kSectionMainA, 2, kAsRecorded, kRate, synth);
    float left[333];
    float right[333];
    // Past the note-off (a quarter, 22050 samples at 120 bpm), half a bar before the end.
    while (scheduler.Samples() < 3 * kRate / 4) scheduler.Render(left, right, 333);
    ASSERT_EQ(synth.OfKind(0x8).size(), 1u);
    scheduler.Swap(slower);
    EXPECT_EQ(scheduler.Quarter(), 1000000u);
    const std::uint64_t swapped = scheduler.Samples();
    for (int guard = 0; !scheduler.Finished() && guard < 100000; ++guard) scheduler.Render(left, right, 333);
    EXPECT_EQ(scheduler.Quarter(), 1000000u);
    // The rest of the first bar (1920 ticks less what passed at 120 bpm) and the next
    // loop's quarter note, both at 60 bpm (to a tick: the swap counts from a whole one).
    const std::vector<SentMessage> ons = synth.NoteOns();
    ASSERT_EQ(ons.size(), 2u);
    const double boundary = static_cast<double>(swapped) + (1920.0 - swapped * 960.0 / kRate) * kRate / 480;
    EXPECT_NEAR(static_cast<double>(ons[1].sample), boundary, kRate / 480.0);
    EXPECT_NEAR(static_cast<double>(synth.OfKind(0x8)[1].sample - ons[1].sample), kRate, 1.0);
}

// Markers that name no section ("fn:", "sctb~", "scte", any text) do not cut one.
TEST(Timeline, OtherMarkersAreNoBoundaries) {
    const Bytes style =
        PlayStyle(96, MarkerAt(0, "fn:Chord") + MarkerAt(0, "Main A") + At(0, 0x90, 60, 100) + At(10, 0x80, 60, 0) +
                          MarkerAt(86, "fn:Main B") + At(0, 0x90, 61, 100) + MarkerAt(10, "sctb~1") +
                          At(0, 0x80, 61, 0) + MarkerAt(0, "scte") + MarkerAt(0, "Mainly") + At(0, 0x90, 62, 100) +
                          At(10, 0x80, 62, 0) + MarkerAt(268, "main b") + At(0, 0x90, 63, 100) + EndAt(96));
    const Timeline timeline = Build(style);
    EXPECT_EQ(SectionList(timeline), "Main A, Main B");
    ASSERT_NE(timeline.Find(kSectionMainA), nullptr);
    EXPECT_EQ(timeline.Find(kSectionMainA)->length, 4u * 96);
    EXPECT_EQ(NoteKeys(Play(timeline, kSectionMainA, 1)), (std::vector<int>{60, 61, 62}));
}

TEST(Timeline, UnknownSectionNamesTheSectionsThereAre) {
    const Timeline timeline =
        Build(PlayStyle(96, OneNoteSection("Main A", 60, 96) + OneNoteSection("Ending B", 61, 96) + EndAt(0)));
    int section = 0;
    EXPECT_EQ(FindPlaySection(timeline, "Main C", section),
              "This style has no section \"Main C\"!\n\n(Its sections: Main A, Ending B.)");
    EXPECT_EQ(FindPlaySection(timeline, "SInt", section),
              "This style has no section \"SInt\"!\n\n(Its sections: Main A, Ending B.)");
    EXPECT_FALSE(FindPlaySection(timeline, "ending b", section));
    EXPECT_EQ(section, 15);
}

// A header that counts frames (SMPTE) has no ticks per quarter to play by.
TEST(Timeline, FrameDivisionIsRefused) {
    const Bytes style = PlayStyle(0xE728, OneNoteSection("Main A", 60, 96) + EndAt(0));
    StyleFacts facts;
    ASSERT_FALSE(ReadStyle(style.view(), facts));
    Timeline timeline;
    EXPECT_EQ(BuildTimeline(style.view(), UneditedEdits(facts), timeline),
              "This style cannot be played!\n\n(Its header counts time in frames, not in ticks per quarter note.)");
}

// Regression: a section of no length looped without time passing, so live play hung.
TEST(Timeline, EmptySectionPlaysOnceEvenLoopingForever) {
    const Timeline timeline = Build(PlayStyle(96, MarkerAt(0, "Main A") + MarkerAt(0, "Main B") + EndAt(96)));
    RecordingSynth synth;
    Scheduler scheduler(timeline, kSectionMainA, 0, kAsRecorded, kRate, synth);
    float buffer[64];
    scheduler.Render(buffer, buffer, 64);
    EXPECT_TRUE(scheduler.Finished());
}

// Regression: one delta time of 2^28 ticks asked a render for days of sound, which
// filled the memory before anything was written. The length is known from the events.
TEST(Timeline, SoundLengthIsCountedFromTheEventsAlone) {
    const Timeline normal = Build(PlayStyle(96, OneNoteSection("Main A", 60, 96) + EndAt(0)));
    EXPECT_EQ(SoundFrames(normal, RenderSettings{kSectionMainA, 3, kRate, -1, kAsRecorded}),
              3 * SampleOf(4 * 96, 500000, 96));
    const Timeline endless = Build(PlayStyle(96, MarkerAt(0, "Main A") + At(0x0FFFFFFF, 0x90, 60, 100) + EndAt(0)));
    EXPECT_EQ(SoundFrames(endless, RenderSettings{kSectionMainA, 2, kRate, -1, kAsRecorded}),
              2 * SampleOf(0x0FFFFFFF, 500000, 96));
}

}  // namespace
