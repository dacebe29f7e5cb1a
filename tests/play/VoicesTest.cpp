// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "PlayStyles.h"
#include "play/SoundFiles.h"
#include "play/Voices.h"
#include "play/WavFile.h"

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
        VoiceCase{"GM program", At(0, 0xB0, 0, 0) + ProgramAt(0, 0, 33), 0, {0, 33, false}, "Electric Bass (finger)",
                  false},
        VoiceCase{"XG bank on bank 0", At(0, 0xB1, 0, 104) + At(0, 0xB1, 32, 3) + ProgramAt(0, 1, 50), 1,
                  {0, 50, false}, "SynthStrings 1", true},
        VoiceCase{"kit the SoundFont has", At(0, 0xB8, 0, 127) + ProgramAt(0, 8, 25), 8, {128, 25, true},
                  "drum kit 25", false},
        VoiceCase{"kit nearest below", At(0, 0xB8, 0, 126) + ProgramAt(0, 8, 30), 8, {128, 25, true}, "drum kit 30",
                  true},
        VoiceCase{"channel 10 without bank select", Bytes{}, 9, {128, 0, true}, "drum kit 0", false},
        VoiceCase{"channel 10 made melodic", At(0, 0xB9, 0, 0) + ProgramAt(0, 9, 5), 9, {0, 5, false},
                  "Electric Piano 2", false},
        VoiceCase{"XG drum part", At(0, 0xB3, 0, 0) + ProgramAt(0, 3, 0) + kXgDrumPart3, 3, {128, 0, true},
                  "drum kit 0", false},
        VoiceCase{"Mega Voice", At(0, 0xB2, 0, 8) + ProgramAt(0, 2, 24), 2, {0, 24, false},
                  "Acoustic Guitar (nylon)", true}));

// A Mega Voice plays its playing range; the effect notes above it are left out.
TEST(Voices, MegaVoiceEffectNotesAreLeftOut) {
    const Bytes style = PlayStyle(96, At(0, 0xB2, 0, 8) + ProgramAt(0, 2, 24) + MarkerAt(0, "Main A") +
                                          At(0, 0x92, 60, 100) + At(0, 0x92, kMegaVoiceEffectNotesFrom, 100) +
                                          At(10, 0x82, 60, 0) + At(0, 0x82, kMegaVoiceEffectNotesFrom, 0) + EndAt(86));
    const RecordingSynth synth = Play(Build(style), kPlaySectionMainA, 1);
    ASSERT_EQ(synth.NoteOns().size(), 1u);
    EXPECT_EQ(synth.NoteOns()[0].data1, 60);
}

// The MIDI file holds the style's own bank selects, programs, system-exclusive
// messages and time signature, the section's notes and the boundary's note-offs, in
// one track.
TEST(SoundFiles, MidiFileKeepsTheStylesVoices) {
    const Bytes style = PlayStyle(192, kXgDrumPart3 + At(0, 0xB1, 0, 104) + ProgramAt(0, 1, 50) + TempoAt(0, 600000) +
                                           TimeSignatureEvent(3, 2) + MarkerAt(0, "Main A") + At(0, 0x91, 60, 100) +
                                           EndAt(768));
    const std::vector<std::uint8_t> midi = MidiFileBytes(Build(style), kPlaySectionMainA, 1);
    const Bytes expected =
        Chunk("MThd", {0x00, 0x00, 0x00, 0x01, 0x00, 0xC0}) +
        Chunk("MTrk", Bytes{0x00, 0xF0, 0x08, 0x43, 0x10, 0x4C, 0x08, 0x03, 0x07, 0x01, 0xF7} +
                          Bytes{0x00, 0xB1, 0x00, 104} + Bytes{0x00, 0xC1, 50} +
                          Bytes{0x00, 0xFF, 0x51, 0x03, 0x09, 0x27, 0xC0} +
                          Bytes{0x00, 0xFF, 0x58, 0x04, 3, 2, 24, 8} + Bytes{0x00, 0x91, 60, 100} +
                          Delta(768) + Bytes{0x81, 60, 0} + Bytes{0x00, 0xB1, 64, 0} + Bytes{0x00, 0xB1, 1, 0} +
                          Bytes{0x00, 0xB1, 11, 127} + Bytes{0x00, 0xE1, 0, 64} + Bytes{0x00, 0xFF, 0x2F, 0x00});
    EXPECT_EQ(midi, expected.data);
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
