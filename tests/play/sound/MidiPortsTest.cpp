// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "../PlayStyles.h"
#include "FakeMidiSystem.h"
#include "PumpedOutput.h"
#include "msg/FillIn.h"
#include "msg/PlayMessages.h"
#include "play/OutputChoice.h"
#include "play/Player.h"
#include "play/sound/MidiPorts.h"
#include "play/sound/PortOutput.h"

namespace {

using Message = std::vector<std::uint8_t>;

struct RecordingPort : MidiOutput {
    void Send(std::span<const std::uint8_t> message) override { sent.emplace_back(message.begin(), message.end()); }
    std::vector<Message> sent;
};

TEST(MidiPorts, FindsAPortByItsNameOrAPartOnlyItHas) {
    const std::vector<MidiPort> ports = {{"Digital Piano:MIDI 1", "jack"}, {"Synth", "alsa"}, {"Synth 2", "alsa"}};
    const struct {
        std::string_view wanted;
        int found;  // index, or -1 when refused
    } cases[] = {
        {"Digital Piano:MIDI 1", 0}, {"piano", 0}, {"SYNTH", 1}, {"synth 2", 2}, {"Synth ", 2}, {"ynt", -1},
        {"Organ", -1},               {"", -1},
    };
    for (const auto& c : cases) {
        std::string error;
        const MidiPort* port = FindPort(ports, c.wanted, "input", error);
        EXPECT_EQ(port ? port - ports.data() : -1, c.found) << c.wanted;
        EXPECT_EQ(error.empty(), c.found >= 0) << c.wanted;
    }
    std::string error;
    FindPort(ports, "Organ", "input", error);
    EXPECT_EQ(error, FillIn(play_messages::kNoSuchPort,
                            {"input", "Organ", "\nDigital Piano:MIDI 1 (jack)\nSynth (alsa)\nSynth 2 (alsa)"}));
    FindPort({}, "Organ", "output", error);
    EXPECT_EQ(error, FillIn(play_messages::kNoSuchPort, {"output", "Organ", play_messages::kNoPorts}));
}

// Another instrument gets the set-up as the style stores it, bank selects and
// system-exclusive messages included, then the notes; Stop ends every sounding note
// with its note-off and each channel with All Notes Off.
TEST(MidiPorts, AnInstrumentGetsTheStyleAsStoredAndNothingHangsAfterStop) {
    // XG's message that makes channel 9 a drum part, as stored: the bytes after F0.
    const Bytes xgDrums = {0x43, 0x10, 0x4C, 0x08, 0x08, 0x07, 0x01, 0xF7};
    const Timeline timeline = Build(PlayStyle(
        480, At(0, 0xB8, 0, 104) + At(0, 0xB8, 32, 3) + ProgramAt(0, 8, 5) + SysEx(xgDrums) +
                 At(0, 0xB8, 7, 100) + MarkerAt(0, "Main A") + At(0, 0x98, 60, 90) + At(480, 0x98, 64, 90) +
                 At(480, 0x88, 60, 0) + EndAt(480)));
    RecordingPort port;
    PortSynth synth(port, PortVoices::AsStored);
    Scheduler scheduler(timeline, kSectionMainA, kPlayForever, kAsRecorded, kRate, synth);
    scheduler.Skip(kRate * 3 / 4);  // past the second note-on, before the first note-off
    const std::vector<Message> expected = {
        {0xB8, 0, 104}, {0xB8, 32, 3}, {0xC8, 5}, {0xF0, 0x43, 0x10, 0x4C, 0x08, 0x08, 0x07, 0x01, 0xF7},
        {0xB8, 7, 100}, {0x98, 60, 90}, {0x98, 64, 90}};
    EXPECT_EQ(port.sent, expected);

    port.sent.clear();
    synth.Reset();
    std::vector<Message> stop;
    for (std::uint8_t channel = 0; channel < 16; ++channel) {
        if (channel == 8) stop.insert(stop.end(), {{0x88, 60, 0}, {0x88, 64, 0}});
        stop.push_back({static_cast<std::uint8_t>(0xB0 | channel), 123, 0});
    }
    EXPECT_EQ(port.sent, stop);
    port.sent.clear();
    synth.Reset();  // nothing sounds any more: only All Notes Off
    EXPECT_EQ(port.sent.size(), 16u);
}

// A General MIDI synthesizer (Windows') is given bank 0 and the program; a kit on a
// channel other than 10 becomes a drum part by GS's message, with its checksum.
TEST(MidiPorts, AGeneralMidiSynthesizerGetsItsVoicesAndDrumParts) {
    RecordingPort port;
    PortSynth synth(port, PortVoices::GeneralMidi);
    EXPECT_FALSE(synth.TakesStyleVoices());
    synth.SelectVoice(8, SoundFontVoice{128, 0, true});
    synth.SelectVoice(9, SoundFontVoice{128, 25, true});
    synth.SelectVoice(8, SoundFontVoice{0, 33, false});
    const std::vector<Message> expected = {
        {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x19, 0x15, 0x01, 0x11, 0xF7},
        {0xB8, 0, 0}, {0xB8, 32, 0}, {0xC8, 0},
        {0xB9, 0, 0}, {0xB9, 32, 0}, {0xC9, 25},
        {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x19, 0x15, 0x00, 0x12, 0xF7},
        {0xB8, 0, 0}, {0xB8, 32, 0}, {0xC8, 33}};
    EXPECT_EQ(port.sent, expected);
}

// The port chosen, else the program's synthesizer, else the system's: only one is
// tried, and its failure says why.
TEST(MidiPorts, PlayGoesToThePortElseTheSynthesizerElseTheSystemSynthesizer) {
    const MidiPort port{"Digital Piano:MIDI 1", "jack"};
    struct Case {
        bool portChosen, synthesizer, midiThere, systemSynthesizer, portRefused;
        const char* opened;  // the port opened, "synthesizer", or "" for none
        std::string error;
    };
    const Case cases[] = {
        {true, true, true, false, false, "Digital Piano:MIDI 1", ""},
        {true, true, true, false, true, "", FillIn(play_messages::kPortUnopenable, {port.name, "it is busy"})},
        {true, true, false, false, false, "", play_messages::kNoMidiPorts},
        {false, true, true, true, false, "synthesizer", ""},
        {false, false, true, true, false, "system synthesizer", ""},
        {false, false, true, false, false, "", FillIn(play_messages::kNoMidiOutput, {"no system synthesizer here"})},
    };
    for (const Case& c : cases) {
        auto system = std::make_shared<FakeMidiSystem>();
        system->systemSynthesizer = c.systemSynthesizer;
        if (c.portRefused) system->refused = {port.name};
        std::vector<MidiPort> opened;
        CStylePlayer::OutputFactory synthesizer;
        if (c.synthesizer) {
            synthesizer = [&](PlayError&) {
                opened.push_back({"synthesizer", ""});
                return std::unique_ptr<AudioOutput>(std::make_unique<PumpedOutput>());
            };
        }
        const MidiSystemSource midi = [&](PlayError& error) -> std::shared_ptr<MidiSystem> {
            if (c.midiThere) return system;
            error = play_messages::kNoMidiPorts;
            return nullptr;
        };
        PlayError error;
        const bool made =
            ChooseOutput(c.portChosen ? std::optional(port) : std::nullopt, synthesizer, midi)(error) != nullptr;
        opened.insert(opened.end(), system->opened.begin(), system->opened.end());
        EXPECT_EQ(made, *c.opened != 0) << c.opened << c.error;
        EXPECT_EQ(error.value_or(""), c.error);
        EXPECT_EQ(opened.empty() ? "" : opened.front().name, c.opened);
        EXPECT_LE(opened.size(), 1u);
    }
}

}  // namespace
