// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "format/StyleNames.h"
#include "play/chords/ChordTypes.h"

// The part a source channel plays on the keyboard, numbered as a style's channel
// rules name it.
enum class Part : std::uint8_t { SubRhythm = kFirstPlayedPart, Rhythm, Bass, Chord1, Chord2, Pad, Phrase1, Phrase2 };
static_assert(static_cast<int>(Part::Phrase2) == kLastPlayedPart);
inline bool IsRhythmPart(Part part) { return part == Part::SubRhythm || part == Part::Rhythm; }

// How a part follows the chord's root.
enum class Ntr : std::uint8_t { RootTransposition, RootFixed, Guitar };

// How a part follows the chord's type. The last three go with Ntr::Guitar only.
enum class Ntt : std::uint8_t {
    Bypass,
    Melody,
    Chord,
    MelodicMinor,
    MelodicMinor5th,
    HarmonicMinor,
    HarmonicMinor5th,
    NaturalMinor,
    NaturalMinor5th,
    Dorian,
    Dorian5th,
    AllPurpose,
    Stroke,
    Arpeggio,
};

// What a note that sounds over a chord change does when the new chord moves it.
enum class Rtr : std::uint8_t { Stop, PitchShift, PitchShiftToRoot, Retrigger, RetriggerToRoot, NoteGenerator };

struct NttSetting {
    Ntt ntt = Ntt::Bypass;
    bool bassOn = false;
    bool operator==(const NttSetting&) const = default;
};

// The rules for one range of source notes.
struct ZoneRules {
    Ntr ntr = Ntr::RootTransposition;
    NttSetting table;
    int highKey = 5;  // 0-11: chords with a root above it transpose one octave down
    int lowLimit = 0;
    int highLimit = 127;
    Rtr rtr = Rtr::Stop;
};

enum class Zone : std::uint8_t { Low, Middle, High };

// The decoded rules of one source channel. An SFF1 style has one zone: the middle
// one, covering every note (middleLow 0, middleHigh 127).
struct ChannelRules {
    int sourceChannel = 8;  // 0-15
    Part part = Part::SubRhythm;
    std::uint16_t noteMute = 0x0FFF;  // bit r: plays on chords with root r (C = bit 0)
    std::uint64_t chordMute = (std::uint64_t{1} << kChordTypeCount) - 1;  // bit t: plays on chord type t
    bool autostart = true;
    int sourceRoot = 0;
    ChordType sourceType = ChordType::Maj7;
    int middleLow = 0;                 // lowest note of the middle zone; 0: no low zone
    int middleHigh = 127;              // highest note of the middle zone; 127: no high zone
    std::array<ZoneRules, 3> zones{};  // indexed by Zone

    Zone ZoneOf(int note) const { return note < middleLow ? Zone::Low : note > middleHigh ? Zone::High : Zone::Middle; }
    const ZoneRules& RulesFor(int note) const { return zones[static_cast<std::size_t>(ZoneOf(note))]; }
};

// The raw numbers of a style's channel rules, as the format hands them over. Nothing
// for a number that names no setting.
std::optional<Ntr> NtrFromNumber(int number, bool sff2);
std::optional<Rtr> RtrFromNumber(int number);
// SFF1: 0 bypass, 1 melody, 2 chord, 3 bass (melody with bass on), 4 melodic minor,
// 5 harmonic minor.
std::optional<NttSetting> NttFromSff1(int number);
// SFF2: bit 7 bass on; the rest numbers the table, which depends on the part's Ntr.
std::optional<NttSetting> NttFromSff2(Ntr ntr, int byte);

// The rules of a channel when the style has none for it: channels 9-16 (8-15 here)
// each play their own part, recorded on C Maj7. Nothing for channels 1-8, which a
// keyboard does not play without rules.
std::optional<ChannelRules> DefaultRules(int channel);
