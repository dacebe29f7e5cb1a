// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "play/Player.h"
#include "play/sound/MidiPorts.h"

// The MIDI systems a program plays through, made when first needed: the companion's
// made for the ports it was given, the editor's kept for its run, a test's own.
using MidiSystemSource = std::function<std::shared_ptr<MidiSystem>(PlayError& error)>;

// Where a style plays: the MIDI port chosen; else the program's own synthesizer; else,
// in a build without one (Windows), the system's General MIDI synthesizer through MIDI.
// synthesizer is empty where the program has none. A port that cannot be opened is
// named with the reason, never replaced by another output the user did not choose.
CStylePlayer::OutputFactory ChooseOutput(const std::optional<MidiPort>& port, CStylePlayer::OutputFactory synthesizer,
                                         MidiSystemSource midi);
