// SPDX-License-Identifier: GPL-3.0-or-later
// Windows: WinMM is always there; every Windows has a General MIDI synthesizer behind it.
#include <algorithm>

#include "play/sound/MidiSystemProbe.h"

namespace {
constexpr std::string_view kWindowsSynthesizer = "Microsoft GS Wavetable Synth";
}

std::optional<std::string> UnreachableReason(std::string_view) { return std::nullopt; }

const MidiPort* SystemSynthesizerPort(const std::vector<MidiPort>& outputs) {
    const auto named = std::find_if(outputs.begin(), outputs.end(), [](const MidiPort& port) {
        return port.name.find(kWindowsSynthesizer) != std::string::npos;
    });
    if (named != outputs.end()) return &*named;
    return outputs.empty() ? nullptr : &outputs.front();
}

std::string SystemSynthesizerTried() { return "\"" + std::string(kWindowsSynthesizer) + "\" and every MIDI output"; }

void AwaitDelivery(std::string_view) {}
