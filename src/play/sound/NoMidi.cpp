// SPDX-License-Identifier: GPL-3.0-or-later
// A build without RtMidi: no ports, and it says so.
#include "msg/PlayMessages.h"
#include "play/sound/MidiPorts.h"

bool HasMidiPorts() { return false; }

std::unique_ptr<MidiSystem> MakeMidiSystem(PlayError& error) {
    error = play_messages::kNoMidiPorts;
    return nullptr;
}
