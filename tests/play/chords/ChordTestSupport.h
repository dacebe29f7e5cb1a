// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Notes by name as the keyboards name them (C3 = 60, NoteNames.h) and channel rules
// built one setting a line, for the chord tests.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "NoteNames.h"
#include "play/chords/ChannelRules.h"
#include "play/chords/Chord.h"

// The notes by name, short: Note("C3") is 60.
inline int Note(std::string_view name) { return NoteNamed(name); }
inline std::vector<int> Notes(std::string_view names) { return NotesNamed(names); }

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
