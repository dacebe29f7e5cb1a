// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "play/chords/ChordTypes.h"

// A chord a keyboard's left hand holds: root and type, maybe a bass other than the
// root (Dm7/G), or no chord at all (NC). Pitch classes count from C = 0.
struct Chord {
    std::uint8_t root = 0;
    ChordType type = ChordType::Maj7;
    std::int8_t bass = -1;  // -1: the root is the bass
    bool none = false;

    int Bass() const { return bass < 0 ? root : bass; }
    bool operator==(const Chord&) const = default;
};

inline constexpr Chord kNoChord{0, ChordType::Maj, -1, true};

// A chord symbol: root C..B with # or b, a type in any of its usual spellings, then
// /BASS if the bass is not the root; or NC. Nothing when the text is no chord symbol.
std::optional<Chord> ParseChord(std::string_view symbol);

// The chord as Korvane shows it: sharps for C#, F#, flats for Eb, Ab, Bb, and the
// type as the chord table displays it ("Cm7", "Bb7sus4", "F/A", "NC").
std::string ChordText(const Chord& chord);

// A note name at the start of text: a letter A-G, then maybe # or b. Returns its length
// (0: text starts with none) and sets semitones to the note above the C of its letter's
// octave: Cb is -1, B# 12.
std::size_t ReadNoteName(std::string_view text, int& semitones);

// "C", "C#", "D", "Eb", ... as ChordText names a pitch class.
std::string_view PitchClassName(int pitchClass);
