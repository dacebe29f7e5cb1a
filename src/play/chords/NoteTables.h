// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "play/chords/ChannelRules.h"
#include "play/chords/Chord.h"

// How each note table maps one note, on its own: the result depends on the source
// chord, the chord held and the note's own pitch, never on which other notes sound with
// it, so a block, a strum and an arpeggio of the same notes give the same pitch classes.

// The pitch with pitch class pitchClass nearest to pitch (the lower one of two as near).
int NearestWithPitchClass(int pitch, int pitchClass);

// The interval above the new chord's root that a note rel semitones above the source
// root plays as in the melody table: a tone the chord held has keeps it; any other
// keeps its job in the source chord's scale (third stays third, a passing note between
// two degrees stays between them). Over a chord without a third (1+5, 1+8) the source
// chord's third plays the root.
int MelodyInterval(ChordType source, ChordType target, int rel);

// The same for the minor tables. They act only where the chord held and the source
// chord differ in quality: from major to minor the third (with harmonic and natural
// minor the sixth, with natural minor and dorian the seventh) goes down a semitone, from
// minor to major up; the "5th" variants move the source's fifth to the held chord's
// diminished or augmented fifth. Every other note keeps its interval.
int MinorTableInterval(Ntt table, ChordType source, ChordType target, int rel);

// The chord table: the pitch a note plays over chord. moved: the note where root
// transposition put it; sourceRoot: the pitch class the source root has there. The note
// takes the job it has in the source chord (a passing note the job of the source tone
// nearest to it) and plays the chord's tone of that job, as near as it can to where
// the job lay.
int ChordTablePitch(const Chord& chord, ChordType sourceType, int sourceRoot, int moved);
