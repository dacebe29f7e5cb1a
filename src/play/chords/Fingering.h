// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "play/chords/Chord.h"

// How the keys a left hand holds name a chord.
//
// single    The highest key is the root; keys below it, other than the root's own
//           octaves, say the type: none a major chord, black keys only a minor chord,
//           white keys only a seventh, black and white keys a minor seventh (A + Bb + C
//           is Cm7).
// fingered  The chord the keys' pitch classes make, in any inversion; the bass is never
//           set. One key alone names nothing; a key and its octaves is 1+8, two
//           pitch classes at a fifth 1+5. Where several chords fit, see below.
// on-bass   As fingered, and where the lowest key is not the root it is the bass
//           (E G C is C/E). Where all the keys together name no chord, the lowest key's
//           pitch class alone is the bass of the chord the others name, if they hold three
//           pitch classes or more (F + C E G is C/F; but D + C E G is Cadd9/D, four keys
//           that name a chord together).
// multi     One or two pitch classes read as single (two keys are never 1+5: C + G is
//           G7), three or more as fingered; three that name no fingered chord read as
//           single when they make its minor-seventh shape (A + Bb + C is Cm7).
// full      As fingered, over every key held, without a split, from three pitch classes
//           up: two notes of a melody, a fifth or an octave apart, do not change the chord.
//
// Where several chords fit the keys, these decide, the first that tells them apart:
//   1. A type's every note held, before a type that leaves out its fifth. Only a
//      seventh chord (with or without tensions) whose fifth is perfect is read without
//      it: C E Bb is C7, C E B CMaj7, C Eb Bb Cm7, but C E is nothing, and C Eb F Bb is
//      F7sus4 rather than Cm11 without its fifth.
//   2. The reading where the lowest key is the lowest tone of the chord: its root, else
//      its third (or the fourth, second of sus4, 1+2+5), else its fifth, else its
//      seventh or sixth, else a tension.
//   3. The type that comes first in the chord table.
// So root position always reads as its own type; where two types make the same pitch
// classes, an inversion reads as the other when the lowest key favours it:
//   C E G A is C6, A C E G Am7, E G A C and G A C E C6 (a minor seventh only with its
//   root lowest); C Eb G A is Cm6, A C Eb G Am7b5; C D E G A is C6/9, A C D E G Am11;
//   C F G is Csus4 but F G C Fsus2 and G C F Fsus2 (G the second of Fsus2, the fifth
//   of Csus4), D G C Csus2 and G C D Gsus4; C E F# Bb is C7b5, E F# Bb C also
//   C7b5 (E its third) but Bb C E F# F#7b5. The augmented and diminished-seventh chords
//   take the lowest key as their root: E G# C is Eaug, Eb F# A C Ebdim7.
// Every mode that reads chords as fingered reads them by these rules.

enum class Fingering { Single, Fingered, OnBass, Multi, Full };

struct FingeringEntry {
    Fingering mode;
    std::string_view name;  // as a command line and the settings spell it
};
inline constexpr std::array<FingeringEntry, 5> kFingerings = {{
    {Fingering::Single, "single"},
    {Fingering::Fingered, "fingered"},
    {Fingering::OnBass, "on-bass"},
    {Fingering::Multi, "multi"},
    {Fingering::Full, "full"},
}};
inline constexpr Fingering kDefaultFingering = Fingering::Multi;

std::optional<Fingering> ParseFingering(std::string_view name);
std::string_view FingeringName(Fingering mode);

// The chord the keys held name, MIDI notes in any order, octaves and repeats allowed;
// nothing when they name none (the chord before then holds).
std::optional<Chord> RecognizeChord(std::span<const int> keys, Fingering mode);

// MIDI's keys are 0 to kHighestKey; others are no key.
inline constexpr int kHighestKey = 127;

// The split: keys at or below it are the left hand. Keys are named as the keyboards name
// them, C3 being MIDI note 60: the split F#2 is 54.
inline constexpr int kDefaultSplitKey = 54;

// "F#2", "Bb1", "C-2" (a letter, # or b, an octave from -2 to 8), or a key's number 0-127.
std::optional<int> ParseSplitKey(std::string_view text);
// The key's name, with sharps: 54 is "F#2".
std::string SplitKeyName(int key);
