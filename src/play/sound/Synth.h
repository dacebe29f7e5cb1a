// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// The voice a channel plays, as the SoundFont holds it: Korvane decides bank and kit
// itself and hands the synthesizer only these (never a raw bank select, GM On or XG On).
struct SoundFontVoice {
    int bank = 0;  // 0 melodic, 128 drum kits
    int program = 0;
    bool drums = false;
};

// The one interface to a software synthesizer. The scheduler sends it every event at
// its sample and has it render the sound in between; file renders and live play use
// it the same way.
class Synth {
public:
    virtual ~Synth() = default;

    // A channel message other than bank select and program change (status 0x80-0xEF).
    virtual void SendChannelMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) = 0;
    virtual void SelectVoice(int channel, const SoundFontVoice& voice) = 0;
    // Adds frames of sound to left and right, which the caller has zeroed.
    virtual void Render(float* left, float* right, std::size_t frames) = 0;
    // Ends every sound at once (Stop) and returns every channel to its start.
    virtual void Reset() = 0;
    // Whether the SoundFont has this preset.
    virtual bool HasPreset(int bank, int program) const = 0;
    // Another instrument behind a MIDI port plays the style's own voices: it gets the
    // bank selects, program changes and system-exclusive messages as the style stores
    // them (after the channel rules, as every message), and never SelectVoice.
    virtual bool TakesStyleVoices() const { return false; }
    // Such a system-exclusive message: its bytes after F0, F7 included.
    virtual void SendSysEx(std::span<const std::uint8_t>) {}
};
