// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "play/sound/Synth.h"

// A synthesizer that takes every event and makes no sound: for counting what a play
// lasts, and for measuring the events' own cost.
class NoSound : public Synth {
public:
    void SendChannelMessage(std::uint8_t, std::uint8_t, std::uint8_t) override {}
    void SelectVoice(int, const SoundFontVoice&) override {}
    void Render(float*, float*, std::size_t) override {}
    void Reset() override {}
    bool HasPreset(int, int) const override { return true; }
};
