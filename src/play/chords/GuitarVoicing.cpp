// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/chords/GuitarVoicing.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<int, 6> kOpenStrings = {64, 59, 55, 50, 45, 40};  // first string to sixth
constexpr int kPositionCount = 4;
constexpr int kFirstPositionNote = 48;
constexpr std::array<int, kPositionCount> kPositionFret = {0, 3, 5, 7};
constexpr int kHandSpan = 4;  // frets above the position's first that a hand reaches

// The string a source pitch class names (0: first string), -1 for none.
constexpr std::array<int, 12> kStringOfPitchClass = {-1, -1, 5, -1, 4, 3, -1, 2, -1, 1, -1, 0};
constexpr int kRootNote = 0;
constexpr int kFifthNote = 1;

int PitchClass(int value) { return ((value % 12) + 12) % 12; }

// The chord's tones by weight: root first on the lowest string that sounds, then on
// each higher string the weightiest tone not yet sounding, then the weightiest.
struct Tones {
    std::array<int, 5> pitchClasses{};
    int count = 0;
};
Tones WeightedTones(const Chord& chord) {
    const ChordTones tones = TonesOf(chord.type);
    Tones weighted;
    for (const int interval : {0, tones.third, tones.seventh, tones.tension, tones.fifth}) {
        if (interval >= 0)
            weighted.pitchClasses[static_cast<std::size_t>(weighted.count++)] = PitchClass(chord.root + interval);
    }
    return weighted;
}

// The fret on a string that sounds pitchClass within the position, -1 for none.
int FretFor(int string, int pitchClass, int firstFret) {
    for (int fret = firstFret; fret <= firstFret + kHandSpan; ++fret) {
        if (PitchClass(kOpenStrings[static_cast<std::size_t>(string)] + fret) == pitchClass) return fret;
    }
    return -1;
}

int FretOnString(const Chord& chord, int string, int firstFret) {
    const Tones tones = WeightedTones(chord);
    std::array<bool, 5> sounding{};
    int fretOfString = -1;
    for (int s = 5; s >= string; --s) {
        int chosen = -1;
        int fret = -1;
        for (int pass = 0; pass < 2 && chosen < 0; ++pass) {
            for (int t = 0; t < tones.count && chosen < 0; ++t) {
                if (pass == 0 && sounding[static_cast<std::size_t>(t)]) continue;
                fret = FretFor(s, tones.pitchClasses[static_cast<std::size_t>(t)], firstFret);
                if (fret >= 0) chosen = t;
            }
        }
        if (chosen >= 0) sounding[static_cast<std::size_t>(chosen)] = true;
        fretOfString = chosen >= 0 ? fret : -1;
    }
    return fretOfString;
}

}  // namespace

std::optional<int> GuitarPitch(const Chord& chord, int note, bool bassOn) {
    const int position = std::clamp((note - kFirstPositionNote) / 12, 0, kPositionCount - 1);
    const int firstFret = kPositionFret[static_cast<std::size_t>(position)];
    const int named = PitchClass(note);
    if (named == kRootNote || named == kFifthNote) {
        const ChordTones tones = TonesOf(chord.type);
        const int pitchClass = named == kRootNote ? (bassOn ? chord.Bass() : chord.root)
                                                  : PitchClass(chord.root + (tones.fifth >= 0 ? tones.fifth : 7));
        const int lowest = kOpenStrings.back() + firstFret;
        return lowest + PitchClass(pitchClass - lowest);
    }
    const int string = kStringOfPitchClass[static_cast<std::size_t>(named)];
    if (string < 0) return std::nullopt;
    const int fret = FretOnString(chord, string, firstFret);
    if (fret < 0) return std::nullopt;
    return kOpenStrings[static_cast<std::size_t>(string)] + fret;
}
