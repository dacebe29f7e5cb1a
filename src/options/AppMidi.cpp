// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/AppMidi.h"

namespace {

std::shared_ptr<MidiSystem>& Installed() {
    static std::shared_ptr<MidiSystem> installed;
    return installed;
}

}  // namespace

std::shared_ptr<MidiSystem> AppMidiSystem(PlayError& error) {
    if (Installed()) return Installed();
    // A failure is not kept: a module put in place later is found at the next try.
    static std::shared_ptr<MidiSystem> machine;
    if (!machine) machine = MakeMidiSystem(error);
    return machine;
}

void SetAppMidiSystem(std::shared_ptr<MidiSystem> system) { Installed() = std::move(system); }
