// SPDX-License-Identifier: GPL-3.0-or-later
// Which WinMM output Play goes to where the build has no synthesizer of its own.
#include <gtest/gtest.h>

#include "play/sound/MidiSystemProbe.h"

namespace {

TEST(WindowsMidi, SystemSynthesizerIsTheWavetableSynthElseTheFirstOutput) {
    const std::vector<MidiPort> withSynth = {
        {"USB Keyboard", "winmm"}, {"Microsoft GS Wavetable Synth 1", "winmm"}, {"Loop Port", "winmm"}};
    const std::vector<MidiPort> without = {{"USB Keyboard", "winmm"}, {"Loop Port", "winmm"}};
    EXPECT_EQ(SystemSynthesizerPort(withSynth), &withSynth[1]);
    EXPECT_EQ(SystemSynthesizerPort(without), &without[0]);
    EXPECT_EQ(SystemSynthesizerPort({}), nullptr);
}

}  // namespace
