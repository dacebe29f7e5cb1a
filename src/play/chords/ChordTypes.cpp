// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/chords/ChordTypes.h"

namespace {

using Scale = std::array<std::int8_t, 7>;
constexpr Scale kIonian = {0, 2, 4, 5, 7, 9, 11};
constexpr Scale kLydian = {0, 2, 4, 6, 7, 9, 11};
constexpr Scale kAugmented = {0, 2, 4, 6, 8, 9, 11};
constexpr Scale kDorian = {0, 2, 3, 5, 7, 9, 10};
constexpr Scale kHalfDiminished = {0, 2, 3, 5, 6, 8, 10};
constexpr Scale kMelodicMinor = {0, 2, 3, 5, 7, 9, 11};
constexpr Scale kDiminished = {0, 2, 3, 5, 6, 8, 9};
constexpr Scale kMixolydian = {0, 2, 4, 5, 7, 9, 10};
constexpr Scale kSuspended = {0, 2, 5, 5, 7, 9, 10};
constexpr Scale kDominantFlat5 = {0, 2, 4, 5, 6, 9, 10};
constexpr Scale kLydianDominant = {0, 2, 4, 6, 7, 9, 10};
constexpr Scale kDominantFlat9 = {0, 1, 4, 5, 7, 8, 10};
constexpr Scale kDominantFlat13 = {0, 2, 4, 5, 7, 8, 10};
constexpr Scale kDominantSharp9 = {0, 3, 4, 5, 7, 8, 10};
constexpr Scale kWholeTone = {0, 2, 4, 6, 8, 9, 10};
constexpr Scale kSecond = {0, 2, 2, 5, 7, 9, 11};

// Indexed by ChordType.
constexpr std::array<ChordTypeInfo, kChordTypeCount> kChordTypes = {{
    {"Maj", "", {0, 4, 7}, 3, kIonian},
    {"Maj6", "6", {0, 4, 7, 9}, 4, kIonian},
    {"Maj7", "Maj7", {0, 4, 7, 11}, 4, kIonian},
    {"Maj7#11", "Maj7#11", {0, 4, 7, 11, 18}, 5, kLydian},
    {"Maj(9)", "add9", {0, 4, 7, 14}, 4, kIonian},
    {"Maj7(9)", "Maj9", {0, 4, 7, 11, 14}, 5, kIonian},
    {"Maj6(9)", "6/9", {0, 4, 7, 9, 14}, 5, kIonian},
    {"aug", "aug", {0, 4, 8}, 3, kAugmented},
    {"min", "m", {0, 3, 7}, 3, kDorian},
    {"min6", "m6", {0, 3, 7, 9}, 4, kDorian},
    {"min7", "m7", {0, 3, 7, 10}, 4, kDorian},
    {"min7b5", "m7b5", {0, 3, 6, 10}, 4, kHalfDiminished},
    {"min(9)", "madd9", {0, 3, 7, 14}, 4, kDorian},
    {"min7(9)", "m9", {0, 3, 7, 10, 14}, 5, kDorian},
    {"min7(11)", "m11", {0, 3, 7, 10, 17}, 5, kDorian},
    {"minMaj7", "mMaj7", {0, 3, 7, 11}, 4, kMelodicMinor},
    {"minMaj7(9)", "mMaj9", {0, 3, 7, 11, 14}, 5, kMelodicMinor},
    {"dim", "dim", {0, 3, 6}, 3, kDiminished},
    {"dim7", "dim7", {0, 3, 6, 9}, 4, kDiminished},
    {"7", "7", {0, 4, 7, 10}, 4, kMixolydian},
    {"7sus4", "7sus4", {0, 5, 7, 10}, 4, kSuspended},
    {"7b5", "7b5", {0, 4, 6, 10}, 4, kDominantFlat5},
    {"7(9)", "9", {0, 4, 7, 10, 14}, 5, kMixolydian},
    {"7#11", "7#11", {0, 4, 7, 10, 18}, 5, kLydianDominant},
    {"7(13)", "13", {0, 4, 7, 10, 21}, 5, kMixolydian},
    {"7(b9)", "7b9", {0, 4, 7, 10, 13}, 5, kDominantFlat9},
    {"7(b13)", "7b13", {0, 4, 7, 10, 20}, 5, kDominantFlat13},
    {"7(#9)", "7#9", {0, 4, 7, 10, 15}, 5, kDominantSharp9},
    {"Maj7aug", "Maj7aug", {0, 4, 8, 11}, 4, kAugmented},
    {"7aug", "7aug", {0, 4, 8, 10}, 4, kWholeTone},
    {"1+8", "1+8", {0, 12}, 2, kIonian},
    {"1+5", "5", {0, 7}, 2, kIonian},
    {"sus4", "sus4", {0, 5, 7}, 3, kSuspended},
    {"1+2+5", "sus2", {0, 2, 7}, 3, kSecond},
}};

}  // namespace

const ChordTypeInfo& TypeInfo(ChordType type) { return kChordTypes[static_cast<int>(type)]; }

// Each interval's job follows from its size: the table above holds at most one of each.
ChordTones TonesOf(ChordType type) {
    ChordTones tones;
    for (const int interval : TypeInfo(type).Intervals()) {
        if (interval == 0 || interval == 12) continue;
        ++tones.count;
        if (interval <= 5) {
            tones.third = interval;
        } else if (interval <= 8) {
            tones.fifth = interval;
        } else if (interval <= 11) {
            tones.seventh = interval;
        } else {
            tones.tension = interval - 12;
        }
    }
    return tones;
}

bool HasMinorThird(ChordType type) { return TonesOf(type).third == 3; }
bool HasMajorThird(ChordType type) { return TonesOf(type).third == 4; }
