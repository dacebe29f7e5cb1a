// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "play/chords/Chord.h"

// A guitar part's source note names a string of a guitar in standard tuning, and its
// octave the position on the neck: B the first string, A the second, G the third, F
// the fourth, E the fifth, D the sixth; C the root (the bass with bassOn) and C# the
// chord's fifth, each as the lowest such note in the position. C2-B2 (48-59) is the
// first position, C5-B5 (84-95) the fourth; notes below or above take the nearest.
// The note sounds that string of a voicing of chord played in that position; nothing
// when the note names no string or the voicing leaves its string unplayed.
std::optional<int> GuitarPitch(const Chord& chord, int note, bool bassOn);
