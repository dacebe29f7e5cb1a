// SPDX-License-Identifier: GPL-3.0-or-later
// RtMidi linked into the program: the tests, and the Windows build, where WinMM is part
// of the system and costs no start.
#include "play/sound/RtMidiSystem.h"

bool HasMidiPorts() { return true; }

std::unique_ptr<MidiSystem> MakeMidiSystem(PlayError&) { return MakeRtMidiSystem(); }
