// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

#include "framework/Profile.h"
#include "play/KeyboardInput.h"
#include "play/sound/MidiPorts.h"

// The editor's MIDI settings, in section "MIDI", which the MIDI page of Settings writes
// and Play reads: the keyboard played into Korvane (its port, the fingering its left
// hand's chords are read by, the split point) and the port the style plays to. A port
// is kept by its name and its MIDI system ("jack", "alsa", "winmm"), as it was listed.
inline constexpr std::string_view kMidiSection = "MIDI";
inline constexpr std::string_view kMidiInputEntry = "Input";
inline constexpr std::string_view kMidiInputSystemEntry = "InputSystem";
inline constexpr std::string_view kFingeringEntry = "Fingering";
inline constexpr std::string_view kSplitEntry = "Split";
inline constexpr std::string_view kMidiOutputEntry = "Output";
inline constexpr std::string_view kMidiOutputSystemEntry = "OutputSystem";

struct MidiSettings {
    std::optional<MidiPort> input;  // none: no keyboard
    // The right hand always sounds as a piano (General MIDI program 1).
    KeyboardSettings keyboard;
    std::optional<MidiPort> output;  // none: the built-in synthesizer
    bool operator==(const MidiSettings&) const = default;
};

// What is stored; a fingering or split point that cannot be read is the default.
MidiSettings ReadMidiSettings(const CProfile& profile);
void WriteMidiSettings(CProfile& profile, const MidiSettings& settings);
