// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "play/sound/MidiPorts.h"

// The machine's MIDI systems through RtMidi, linked into the program (the tests, the
// Windows build) or into the korvane-midi module.
std::unique_ptr<MidiSystem> MakeRtMidiSystem();
