// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "play/ChordPlan.h"
#include "play/Timeline.h"

// A chord a render plays over: the bar and beat it starts on, both from 1 over what the
// render plays, and its symbol as the progression wrote it.
struct PlayedChord {
    std::int64_t bar = 1;
    int beat = 1;
    std::string symbol;
};

// The chords the section plays over, loops as render counts them, in order: each change
// where the MIDI file marks it; C Maj7 on the first beat when the plan has no
// progression; none for a plan played as recorded.
std::vector<PlayedChord> PlayedChords(const Timeline& timeline, int section, int loops, const ChordPlan& plan);

// "Bar 2, beat 3: G7", as --verbose lists it.
std::string PlayedChordLine(const PlayedChord& chord);
// [{"bar": 1, "beat": 1, "chord": "C"}, ...], as --json lists them.
std::string PlayedChordsJson(const std::vector<PlayedChord>& chords);
