// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "play/PlayError.h"
#include "play/sound/MidiPorts.h"

// The machine's MIDI systems as the editor reaches them: made on the first call, which
// loads the MIDI module (opening Settings, or Play with a port chosen; never the start),
// and kept for the run. Nothing, and why, in a build or on a machine without them.
std::shared_ptr<MidiSystem> AppMidiSystem(PlayError& error);
// Tests install systems of their own; nullptr returns to the machine's.
void SetAppMidiSystem(std::shared_ptr<MidiSystem> system);
