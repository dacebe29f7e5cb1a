// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "PlayStyles.h"
#include "play/files/SoundFiles.h"
#include "play/VoiceList.h"
#include "play/Voices.h"
#include "play/files/WavFile.h"

namespace {

struct VoiceCase {
    const char* what;
    Bytes setUp;
    int channel;
    SoundFontVoice played;
    const char* name;
    bool substituted;
};

class VoiceDecision : public testing::TestWithParam<VoiceCase> {};

// The recording synthesizer's SoundFont has every melodic program and the kits 0, 8
// and 25.
TEST_P(VoiceDecision, ChoosesTheSoundFontVoice) {
    const VoiceCase& c = GetParam();
    const Timeline timeline = Build(PlayStyle(96, c.setUp + MarkerAt(0, "Main A") + EndAt(96)));
    const StyleVoice voice = SetUpVoices(timeline)[c.channel];
    RecordingSynth synth;
    const SoundFontVoice played = DecideVoice(voice, c.channel, synth);
    EXPECT_EQ(played.bank, c.played.bank) << c.what;
    EXPECT_EQ(played.program, c.played.program) << c.what;
    EXPECT_EQ(played.drums, c.played.drums) << c.what;
    EXPECT_EQ(VoiceName(voice, c.channel), c.name) << c.what;
    EXPECT_EQ(!SubstitutionText(voice, c.channel, played).empty(), c.substituted) << c.what;
}

const Bytes kXgDrumPart3 = Delta(0) + Bytes{0xF0, 0x08, 0x43, 0x10, 0x4C, 0x08, 0x03, 0x07, 0x01, 0xF7};

INSTANTIATE_TEST_SUITE_P(
    Voices, VoiceDecision,
    testing::Values(
        VoiceCase{
            "GM program", At(0, 0xB0, 0, 0) + ProgramAt(0, 0, 33), 0, {0, 33, false}, "Electric Bass (finger)", false},
        VoiceCase{"XG bank on bank 0",
                  At(0, 0xB1, 0, 104) + At(0, 0xB1, 32, 3) + ProgramAt(0, 1, 50),
                  1,
                  {0, 50, false},
                  "SynthStrings 1",
                  true},
        VoiceCase{"kit the SoundFont has",
                  At(0, 0xB8, 0, 127) + ProgramAt(0, 8, 25),
                  8,
                  {128, 25, true},
                  "drum kit 25",
                  false},
        VoiceCase{
            "kit nearest below", At(0, 0xB8, 0, 126) + ProgramAt(0, 8, 30), 8, {128, 25, true}, "drum kit 30", true},
        VoiceCase{"channel 10 without bank select", Bytes{}, 9, {128, 0, true}, "drum kit 0", false},
        VoiceCase{"channel 10 made melodic",
                  At(0, 0xB9, 0, 0) + ProgramAt(0, 9, 5),
                  9,
                  {0, 5, false},
                  "Electric Piano 2",
                  false},
        VoiceCase{"XG drum part",
                  At(0, 0xB3, 0, 0) + ProgramAt(0, 3, 0) + kXgDrumPart3,
                  3,
                  {128, 0, true},
                  "drum kit 0",
                  false},
        VoiceCase{"Mega Voice",
                  At(0, 0xB2, 0, 8) + ProgramAt(0, 2, 24),
                  2,
                  {0, 24, false},
                  "Acoustic Guitar (nylon)",
                  true}));

// A Mega Voice plays its playing range; the effect notes above it are left out.
TEST(Voices, MegaVoiceEffectNotesAreLeftOut) {
    const Bytes style = PlayStyle(96, At(0, 0xB2, 0, 8) + ProgramAt(0, 2, 24) + MarkerAt(0, "Main A") +
                                          At(0, 0x92, 60, 100) + At(0, 0x92, kMegaVoiceEffectNotesFrom, 100) +
                                          At(10, 0x82, 60, 0) + At(0, 0x82, kMegaVoiceEffectNotesFrom, 0) + EndAt(86));
    const RecordingSynth synth = Play(Build(style), kSectionMainA, 1);
    ASSERT_EQ(synth.NoteOns().size(), 1u);
    EXPECT_EQ(synth.NoteOns()[0].data1, 60);
}

// The companion names the sections and each channel's set-up voice from the map of the
// track that the load's walk made, walking again only the set-up; it must cut the
// track as the timeline does, so both agree on every section, voice and channel. The
// image alone (ReadTrackOutline) gives the same.
struct SetUpCase {
    const char* what;
    Bytes events;
};

class SetUpVoicesOfTrack : public testing::TestWithParam<SetUpCase> {};

bool SameVoice(const StyleVoice& a, const StyleVoice& b) {
    return a.msb == b.msb && a.msbSet == b.msbSet && a.lsb == b.lsb && a.program == b.program &&
           a.programSet == b.programSet && a.xgDrumPart == b.xgDrumPart;
}

TEST_P(SetUpVoicesOfTrack, AgreesWithTheTimeline) {
    const SetUpCase& c = GetParam();
    const Bytes style = PlayStyle(96, c.events);
    const Timeline timeline = Build(style);
    const StyleVoices expected = SetUpVoices(timeline);
    TrackOutline outline;
    ASSERT_FALSE(ReadTrackOutline(style.view(), outline)) << c.what;
    EXPECT_EQ(outline.sections, timeline.Present()) << c.what;
    std::vector<int> channels;
    for (const ChannelVoice& v : outline.voices) {
        channels.push_back(v.channel);
        EXPECT_EQ(v.voice.msb, expected[v.channel].msb) << c.what << ", channel " << v.channel;
        EXPECT_EQ(v.voice.lsb, expected[v.channel].lsb) << c.what << ", channel " << v.channel;
        EXPECT_EQ(v.voice.program, expected[v.channel].program) << c.what << ", channel " << v.channel;
        EXPECT_EQ(v.voice.xgDrumPart, expected[v.channel].xgDrumPart) << c.what << ", channel " << v.channel;
    }
    std::vector<int> used;
    for (int channel = 0; channel < 16; ++channel) {
        if (timeline.channelsUsed[channel]) used.push_back(channel);
    }
    EXPECT_EQ(channels, used) << c.what;

    StyleFacts facts;
    ASSERT_FALSE(ReadStyle(style.view(), facts)) << c.what;
    TrackOutline loaded;
    ASSERT_FALSE(OutlineOfTrack(style.view(), facts.track, loaded)) << c.what;
    EXPECT_EQ(loaded.sections, outline.sections) << c.what;
    EXPECT_EQ(loaded.walkEnd, outline.walkEnd) << c.what;
    ASSERT_EQ(loaded.voices.size(), outline.voices.size()) << c.what;
    for (std::size_t i = 0; i < loaded.voices.size(); ++i) {
        EXPECT_EQ(loaded.voices[i].channel, outline.voices[i].channel) << c.what;
        EXPECT_TRUE(SameVoice(loaded.voices[i].voice, outline.voices[i].voice)) << c.what << ", voice " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Voices, SetUpVoicesOfTrack,
    testing::Values(
        SetUpCase{"set-up before Main A",
                  At(0, 0xB1, 0, 104) + ProgramAt(0, 1, 50) + MarkerAt(0, "Main A") + At(0, 0x91, 60, 100) + EndAt(96)},
        SetUpCase{"a section's own voice is not the set-up's",
                  ProgramAt(0, 1, 50) + MarkerAt(0, "Main A") + ProgramAt(0, 1, 7) + At(0, 0x92, 60, 100) + EndAt(96)},
        SetUpCase{"SInt after a section is set-up", MarkerAt(0, "Main A") + At(0, 0x91, 60, 100) +
                                                        MarkerAt(96, "sint") + At(0, 0xB3, 0, 127) +
                                                        ProgramAt(0, 3, 25) + EndAt(0)},
        SetUpCase{"a section named twice is not played", MarkerAt(0, "Main A") + At(0, 0x91, 60, 100) +
                                                             MarkerAt(96, "Main A") + ProgramAt(0, 5, 9) +
                                                             At(0, 0x95, 60, 100) + EndAt(96)},
        SetUpCase{"XG drum part",
                  At(0, 0xB3, 0, 0) + ProgramAt(0, 3, 0) + kXgDrumPart3 + MarkerAt(0, "Main A") + EndAt(96)},
        SetUpCase{"no channel message", MarkerAt(0, "Main A") + EndAt(96)},
        SetUpCase{"running status carried over the SInt marker",
                  At(0, 0xB3, 0, 127) + MarkerAt(0, "Main A") + At(0, 0x91, 60, 100) + At(0, 0xB3, 0, 8) +
                      MarkerAt(96, "SInt") + Delta(0) + Bytes{32, 5} + ProgramAt(0, 3, 25) + EndAt(0)},
        SetUpCase{"other markers leave the cut as it is",
                  ProgramAt(0, 2, 40) + MarkerAt(0, "fn:Rock") + ProgramAt(0, 2, 41) + MarkerAt(0, "Main A") +
                      At(0, 0x92, 60, 100) + MarkerAt(96, "sctb~1") + ProgramAt(0, 2, 42) + EndAt(96)},
        SetUpCase{"XG drum part in an SInt after a section",
                  MarkerAt(0, "Main A") + At(0, 0x93, 60, 100) + MarkerAt(96, "SInt") + kXgDrumPart3 + EndAt(0)},
        SetUpCase{
            "a channel played only in a section named twice is not used",
            MarkerAt(0, "Main A") + At(0, 0x91, 60, 100) + MarkerAt(96, "Main A") + At(0, 0x96, 60, 100) + EndAt(96)},
        SetUpCase{"Fill Ins and an Intro after the Mains",
                  MarkerAt(0, "Main A") + At(0, 0x91, 60, 100) + MarkerAt(96, "Fill In AA") + At(0, 0x92, 60, 100) +
                      MarkerAt(96, "intro a") + MarkerAt(96, "Ending A") + EndAt(96)}));

// A division no clock plays (SMPTE time) has no voices to name, but its sections are
// still the style's.
TEST(Voices, UnplayableDivisionNamesSectionsButNoVoices) {
    const Bytes style = PlayStyle(0x8000 | 0x0128, ProgramAt(0, 1, 50) + MarkerAt(0, "Main A") + EndAt(96));
    TrackOutline outline;
    outline.voices = {{1, {}}};
    EXPECT_TRUE(ReadTrackOutline(style.view(), outline));
    EXPECT_TRUE(outline.voices.empty());
    EXPECT_EQ(PlayableSectionNames(outline.sections), std::vector<std::string_view>{"Main A"});
}

// Regression: render listed only the set-up's voices, so a Main that switches its own
// channels to a bank the SoundFont lacks, or to a Mega Voice, played them silently in
// another voice. Each voice a played section selects is listed once, with its section.
TEST(Voices, VoicesTheSectionsSelectAreListedWithTheirSection) {
    const Bytes style =
        PlayStyle(96, At(0, 0xBA, 0, 0) + ProgramAt(0, 10, 33) + MarkerAt(0, "Intro A") + At(0, 0x9A, 40, 100) +
                          MarkerAt(96, "Main A") + At(0, 0xBA, 0, 121) + ProgramAt(0, 10, 5) + At(0, 0xBB, 0, 8) +
                          ProgramAt(0, 11, 24) + At(0, 0x9B, 60, 100) + MarkerAt(96, "Main B") + At(0, 0xBC, 0, 121) +
                          ProgramAt(0, 12, 1) + EndAt(96));
    const Timeline timeline = Build(style);
    RecordingSynth synth;
    const std::vector<std::string> mainA = {
        "Main A: channel 11: bank 121/0 program 5 (Electric Piano 2) plays as SoundFont bank 0 program 5",
        "Main A: channel 12: bank 8/0 program 24 (Acoustic Guitar (nylon)) plays as SoundFont bank 0 program 24, "
        "Mega Voice effect notes left out"};
    EXPECT_EQ(SubstitutionTexts(timeline, kSectionMainA, 3, synth), mainA);
    // An Intro leads into its Main: both are listed, the Intro selecting nothing of its own.
    EXPECT_EQ(SubstitutionTexts(timeline, 1, 0, synth), mainA);
    // A section that does not play lists nothing of its own.
    EXPECT_EQ(
        SubstitutionTexts(timeline, 6, 2, synth),
        std::vector<std::string>{
            "Main B: channel 13: bank 121/0 program 1 (Bright Acoustic Piano) plays as SoundFont bank 0 program 1"});

    const std::vector<SectionVoice> played = PlayedVoices(timeline, kSectionMainA, 2);
    ASSERT_EQ(played.size(), 5u);  // channels 11 to 13 from the set-up, then Main A's two
    EXPECT_EQ(played[0].section, kSectionSInt);
    EXPECT_EQ(played[0].voice.program, 33);
    EXPECT_EQ(played[3].section, kSectionMainA);
    EXPECT_EQ(played[3].channel, 10);
}

// The MIDI file holds the style's own bank selects, programs, system-exclusive
// messages and time signature, the section's marker, its notes and the boundary's
// note-offs, in one track.
TEST(SoundFiles, MidiFileKeepsTheStylesVoices) {
    const Bytes style =
        PlayStyle(192, kXgDrumPart3 + At(0, 0xB1, 0, 104) + ProgramAt(0, 1, 50) + TempoAt(0, 600000) +
                           TimeSignatureEvent(3, 2) + MarkerAt(0, "Main A") + At(0, 0x91, 60, 100) + EndAt(768));
    const std::vector<std::uint8_t> midi = MidiFileBytes(Build(style), kSectionMainA, 1, kAsRecorded);
    const Bytes expected =
        Chunk("MThd", {0x00, 0x00, 0x00, 0x01, 0x00, 0xC0}) +
        Chunk("MTrk", Bytes{0x00, 0xF0, 0x08, 0x43, 0x10, 0x4C, 0x08, 0x03, 0x07, 0x01, 0xF7} +
                          Bytes{0x00, 0xB1, 0x00, 104} + Bytes{0x00, 0xC1, 50} +
                          Bytes{0x00, 0xFF, 0x51, 0x03, 0x09, 0x27, 0xC0} + Bytes{0x00, 0xFF, 0x58, 0x04, 3, 2, 24, 8} +
                          Bytes{0x00, 0xFF, 0x06, 0x06} + Bytes::Text("Main A") + Bytes{0x00, 0x91, 60, 100} +
                          Delta(768) + Bytes{0x81, 60, 0} + Bytes{0x00, 0xB1, 64, 0} + Bytes{0x00, 0xB1, 1, 0} +
                          Bytes{0x00, 0xB1, 11, 127} + Bytes{0x00, 0xE1, 0, 64} + Bytes{0x00, 0xFF, 0x2F, 0x00});
    EXPECT_EQ(midi, expected.data);
}

// Regression: a gap longer than one delta time holds (markers between two notes are
// not written) was cut to 0x0FFFFFFF ticks. It keeps its length, split by empty text events.
TEST(SoundFiles, MidiFileKeepsGapsLongerThanOneDeltaTime) {
    struct Case {
        std::uint32_t beforeMarker, afterMarker;
        Bytes gap;  // the delta times (and text events) between the note-on and its note-off
    };
    const Bytes pause = Bytes{0xFF, 0x01, 0x00};
    const Case cases[] = {
        {0x0FFFFFFF - 0x20, 0x20, Delta(0x0FFFFFFF)},
        {0x0FFFFFFF, 0x20, Delta(0x0FFFFFFF) + pause + Delta(0x20)},
        {0x0FFFFFFF, 0x0FFFFFFF, Delta(0x0FFFFFFF) + pause + Delta(0x0FFFFFFF)},
    };
    for (const Case& c : cases) {
        const Bytes style =
            PlayStyle(96, MarkerAt(0, "Main A") + At(0, 0x90, 60, 100) + MarkerAt(c.beforeMarker, "fn:Chord") +
                              At(c.afterMarker, 0x80, 60, 0) + EndAt(0));
        const Bytes expected =
            Chunk("MThd", {0x00, 0x00, 0x00, 0x01, 0x00, 96}) +
            Chunk("MTrk", Bytes{0x00, 0xFF, 0x06, 0x06} + Bytes::Text("Main A") + Bytes{0x00, 0x90, 60, 100} + c.gap +
                              Bytes{0x80, 60, 0} + Bytes{0x00, 0xB0, 64, 0} + Bytes{0x00, 0xB0, 1, 0} +
                              Bytes{0x00, 0xB0, 11, 127} + Bytes{0x00, 0xE0, 0, 64} + Bytes{0x00, 0xFF, 0x2F, 0x00});
        EXPECT_EQ(MidiFileBytes(Build(style), kSectionMainA, 1, kAsRecorded), expected.data) << c.afterMarker;
    }
}

TEST(SoundFiles, WavFileIsSixteenBitStereo) {
    const std::vector<std::uint8_t> wav = WavFileBytes({1, -2, 32767, -32768}, 48000);
    const Bytes expected = Bytes::Text("RIFF") + Bytes{44, 0, 0, 0} + Bytes::Text("WAVEfmt ") + Bytes{16, 0, 0, 0} +
                           Bytes{1, 0, 2, 0} + Bytes{0x80, 0xBB, 0, 0} + Bytes{0x00, 0xEE, 0x02, 0} + Bytes{4, 0} +
                           Bytes{16, 0} + Bytes::Text("data") + Bytes{8, 0, 0, 0} +
                           Bytes{1, 0, 0xFE, 0xFF, 0xFF, 0x7F, 0x00, 0x80};
    EXPECT_EQ(wav, expected.data);
}

}  // namespace
