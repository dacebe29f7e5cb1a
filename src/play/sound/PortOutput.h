// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "play/sound/AudioOutput.h"
#include "play/sound/MidiPorts.h"

// How an instrument behind a port is given its voices: as the style stores them (the
// user's keyboard knows its banks and system-exclusive messages), or as a General MIDI
// synthesizer plays them (Windows' own: bank 0, kits by program, a drum part named by
// a GS message on a channel other than 10).
enum class PortVoices { AsStored, GeneralMidi };

// The synthesizer interface spoken to a MIDI port: every message the scheduler sends
// goes out as it comes, and the notes sounding are counted, so that Reset (Stop, a new
// Play) ends each with its note-off and every channel with All Notes Off: nothing hangs
// on the instrument.
class PortSynth final : public Synth {
public:
    PortSynth(MidiOutput& port, PortVoices voices) : m_port(port), m_voices(voices) {}

    void SendChannelMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override;
    void SelectVoice(int channel, const SoundFontVoice& voice) override;
    void Render(float*, float*, std::size_t) override {}
    void Reset() override;
    bool HasPreset(int, int) const override { return true; }
    bool TakesStyleVoices() const override { return m_voices == PortVoices::AsStored; }
    void SendSysEx(std::span<const std::uint8_t> afterF0) override;

private:
    void Send(std::initializer_list<std::uint8_t> message);

    MidiOutput& m_port;
    PortVoices m_voices;
    std::array<std::array<std::uint8_t, 128>, 16> m_sounding{};  // note-ons not yet ended, per key
    std::vector<std::uint8_t> m_sysex;
    // Which channels play drums, as a General MIDI synthesizer starts: channel 10 only.
    std::array<bool, 16> m_drumPart{false, false, false, false, false, false, false, false, false, true};
};

// Play to a MIDI port: a clock thread runs the source every millisecond, as a sound
// card's callback would run it every block, so the scheduler times the port's messages
// as it times a synthesizer's (to the millisecond). Nothing is rendered.
class PortAudioOutput final : public AudioOutput {
public:
    PortAudioOutput(std::unique_ptr<MidiOutput> port, PortVoices voices);
    ~PortAudioOutput() override;

    PlayError LoadSoundFont(FileSystem&, const std::filesystem::path&) override { return std::nullopt; }
    Synth& GetSynth() override { return m_synth; }
    int SampleRate() const override { return kClockRate; }
    PlayError Start(AudioSource& source) override;
    void Stop() override;

    // Frames counted per second: one a microsecond would be finer than any port.
    static constexpr int kClockRate = 48000;

private:
    void Run(AudioSource& source);

    std::unique_ptr<MidiOutput> m_port;
    PortSynth m_synth;
    std::thread m_clock;
    std::atomic<bool> m_running{false};
};

// Play through port, the instrument there taking the style's own voices.
std::unique_ptr<AudioOutput> OpenPortOutput(MidiSystem& system, const MidiPort& port, PlayError& error);
// Play through the system's own General MIDI synthesizer (Windows'), where a build has
// no synthesizer of its own; nothing, and what was tried, where the system has none.
std::unique_ptr<AudioOutput> OpenSystemSynthesizerOutput(MidiSystem& system, PlayError& error);
// The same through the machine's MIDI systems: where the editor's and the companion's
// Play go in a build without a synthesizer. Inline, so that the MIDI systems are linked
// only into the programs that call it, never into korvane_play's other users.
inline std::unique_ptr<AudioOutput> MakeSystemSynthesizerOutput(PlayError& error) {
    const std::unique_ptr<MidiSystem> system = MakeMidiSystem(error);
    return system ? OpenSystemSynthesizerOutput(*system, error) : nullptr;
}
