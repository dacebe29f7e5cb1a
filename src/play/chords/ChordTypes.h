// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

// The 34 chord types a keyboard recognises, numbered as a style's channel rules
// number them (chord mute bits, source chord type).
enum class ChordType : std::uint8_t {
    Maj,
    Maj6,
    Maj7,
    Maj7Sharp11,
    MajAdd9,
    Maj9,
    Maj6Add9,
    Aug,
    Min,
    Min6,
    Min7,
    Min7Flat5,
    MinAdd9,
    Min9,
    Min11,
    MinMaj7,
    MinMaj9,
    Dim,
    Dim7,
    Dom7,
    Dom7Sus4,
    Dom7Flat5,
    Dom9,
    Dom7Sharp11,
    Dom13,
    Dom7Flat9,
    Dom7Flat13,
    Dom7Sharp9,
    Maj7Aug,
    Dom7Aug,
    OneEight,
    OneFive,
    Sus4,
    OneTwoFive,
};
inline constexpr int kChordTypeCount = 34;

// One row of the chord table: the keyboard's name of the type, how a chord symbol
// shows it after the root, its notes as semitones above the root (tensions above the
// octave) and the scale a melody line follows over it (degrees 1 to 7; on a chord
// without a third the slot of the third holds its fourth or second).
struct ChordTypeInfo {
    std::string_view name;
    std::string_view display;
    std::array<std::int8_t, 5> intervals;
    std::uint8_t count;
    std::array<std::int8_t, 7> scale;

    std::span<const std::int8_t> Intervals() const { return {intervals.data(), count}; }
};

const ChordTypeInfo& TypeInfo(ChordType type);

// What a chord's notes do, as pitch classes above its root (-1: the chord has none).
// The third is the slot of the third: the fourth of a sus4 chord, the second of 1+2+5.
// "seventh" is a four-note chord's fourth note, a sixth included.
struct ChordTones {
    int third = -1;
    int fifth = -1;
    int seventh = -1;
    int tension = -1;
    int count = 1;  // different pitch classes, root included
};
ChordTones TonesOf(ChordType type);

bool HasMinorThird(ChordType type);
bool HasMajorThird(ChordType type);
