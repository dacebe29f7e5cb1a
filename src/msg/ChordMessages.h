// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

// Every text that reading a chord progression shows, exactly as the user sees it.
// "%s" stands for a value filled in by FillIn, in order.
namespace chord_messages {

// %s: the symbol, then its bar.
inline constexpr const char* kUnknownChord =
    "The chord \"%s\" in bar %s is not known!\n\n(Write a root C to B, maybe with # or b, a chord type such as "
    "m7, 7sus4 or dim, and /BASS for another bass note; NC for no chord.)";
// %s: the bar.
inline constexpr const char* kEmptyBar = "Bar %s of the chord progression holds no chord!";
// %s: the bar.
inline constexpr const char* kRepeatWithoutBar =
    "Bar %s of the chord progression repeats the bar before it (\"%\"), but there is none!";
// %s: the bar, its chords, the beats of a bar.
inline constexpr const char* kTooManyChords = "Bar %s holds %s chords, but a bar of this style has only %s beats!";
inline constexpr const char* kEmptyProgression = "The chord progression holds no chord!";

inline constexpr std::array kAll = {kUnknownChord, kEmptyBar, kRepeatWithoutBar, kTooManyChords, kEmptyProgression};

}  // namespace chord_messages
