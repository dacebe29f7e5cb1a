// SPDX-License-Identifier: GPL-3.0-or-later
// The module's side: what korvane-midi exports.
#include "play/sound/MidiModule.h"

#include "play/sound/RtMidiSystem.h"

extern "C" __attribute__((visibility("default"))) MidiSystem* KorvaneMakeMidiSystem() {
    return MakeRtMidiSystem().release();
}
