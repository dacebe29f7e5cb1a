// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The tempo field holds microseconds per quarter note in three bytes, so no tempo
// below 4 beats per minute fits (60,000,000 / 3 needs more than 24 bits).
inline constexpr int kSlowestStorableTempo = 4;
inline constexpr bool TempoFitsStyleFile(int bpm) { return bpm >= kSlowestStorableTempo; }
// Why a save refuses to write an edited tempo that does not fit.
std::string TempoDoesNotFitText(int bpm);
