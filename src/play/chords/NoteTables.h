// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "play/chords/ChannelRules.h"
#include "play/chords/Chord.h"

// The pitch with pitch class pitchClass nearest to pitch (the lower one of two as near).
int NearestWithPitchClass(int pitch, int pitchClass);

// The interval above the new chord's root that a note rel semitones above the source
// root plays as, keeping its job in the source chord's scale (third stays third,
// a passing note between two degrees stays between them).
int MelodyInterval(ChordType source, ChordType target, int rel);

// The same for the minor tables: only the third, sixth, seventh (and for the "5th"
// variants the fifth) follow the new chord; every other note keeps its interval.
int MinorTableInterval(Ntt table, ChordType source, ChordType target, int rel);

// The chord table: the source notes struck together (as pitch classes where they stand
// before the table, bit p of struck for pitch class p) each take a tone of chord, the
// most important tones first and none twice while there are tones enough, moving as
// little as they can. A note on keptRoot goes to the chord's bass (rootToBass, for bass
// on) or root, one on keptFifth to its fifth (-1: none kept). Returns the pitch class
// that pitchClass plays as.
struct ChordTableInput {
    std::uint16_t struck = 0;
    int pitchClass = 0;
    int keptRoot = -1;   // goes to the chord's bass (bass on) or root (five-note source)
    int keptFifth = -1;  // goes to the chord's fifth (five-note source)
    bool rootToBass = false;
};
int ChordTablePitchClass(const Chord& chord, const ChordTableInput& input);
