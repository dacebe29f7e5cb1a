// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "play/sound/MidiPorts.h"

// What differs between the systems' MIDI, one file for each system: whether a MIDI
// system (as RtMidi names it: "alsa", "jack", "winmm") can be reached before RtMidi
// is asked, so that a machine without one gets a line of why instead of a library's
// warnings, which output is the system's own synthesizer, and when a message sent has
// arrived.

// Nothing when the system can be reached; else why not, in a few words.
std::optional<std::string> UnreachableReason(std::string_view system);
// The system's General MIDI synthesizer among its outputs, or nothing.
const MidiPort* SystemSynthesizerPort(const std::vector<MidiPort>& outputs);
// What OpenSystemSynthesizer tried, for the message when there is none.
std::string SystemSynthesizerTried();
// Returns once what was sent to the system's ports so far has been delivered and a
// connection just made carries what is sent next: JACK passes both on only at its next
// process cycles, so an output that sent at once would lose its first messages, and
// one closed at once its last. At once where messages leave as they are sent.
void AwaitDelivery(std::string_view system);
