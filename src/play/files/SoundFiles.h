// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

#include "play/ChordPlan.h"
#include "play/Timeline.h"

// A Standard MIDI File, format 0, of what the timeline plays in the order the cursor
// gives (the set-up, the section and what follows it, note-offs and resets at the
// boundaries), each channel played over chords as ChordCursor plays it, with the
// style's own bank selects, programs, system-exclusive messages and time signature as
// the track holds them, and a marker at each section's start (its name) and each
// chord change (the chord as the progression wrote it).
std::vector<std::uint8_t> MidiFileBytes(const Timeline& timeline, int section, int loops, const ChordPlan& chords);
