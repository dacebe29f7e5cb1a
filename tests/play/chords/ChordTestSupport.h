// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Notes by name as the keyboards name them (C3 = 60) and channel rules built one
// setting a line, for the chord tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "play/chords/ChannelRules.h"
#include "play/chords/Chord.h"

// "C3" is 60, "F#2" 54, "Eb3" 63.
inline int Note(std::string_view name) {
    static constexpr int kLetters[] = {9, 11, 0, 2, 4, 5, 7};
    int pitchClass = kLetters[name[0] - 'A'];
    std::size_t pos = 1;
    if (name[pos] == '#') ++pitchClass, ++pos;
    if (name[pos] == 'b') --pitchClass, ++pos;
    return (std::stoi(std::string(name.substr(pos))) + 2) * 12 + pitchClass;
}

// "C3 E3 G3" as notes, in order.
inline std::vector<int> Notes(std::string_view names) {
    std::vector<int> notes;
    for (std::size_t pos = 0; pos < names.size();) {
        const std::size_t end = std::min(names.find(' ', pos), names.size());
        if (end > pos) notes.push_back(Note(names.substr(pos, end - pos)));
        pos = end + 1;
    }
    return notes;
}

inline Chord ChordOf(std::string_view symbol) {
    const std::optional<Chord> chord = ParseChord(symbol);
    EXPECT_TRUE(chord) << symbol;
    return chord.value_or(Chord{});
}

// One zone (an SFF1 channel's rules): a phrase part recorded on C Maj7.
inline ChannelRules OneZone(Ntr ntr, NttSetting table, int highKey = 5, int lowLimit = 0, int highLimit = 127,
                            Rtr rtr = Rtr::Stop) {
    ChannelRules rules;
    rules.sourceChannel = 13;
    rules.part = Part::Phrase1;
    ZoneRules zone{ntr, table, highKey, lowLimit, highLimit, rtr};
    rules.zones = {zone, zone, zone};
    return rules;
}
