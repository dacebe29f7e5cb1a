// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "play/PlayError.h"
#include "play/sound/MidiPorts.h"

// The MIDI systems as a module of their own (korvane-midi), loaded when a program first
// lists or opens a port: RtMidi, ALSA's and JACK's libraries stay out of every start.
inline constexpr const char* kMidiModuleName = "korvane-midi";
inline constexpr const char* kMakeMidiSystemSymbol = "KorvaneMakeMidiSystem";
using MakeMidiSystemFunction = MidiSystem* (*)();
