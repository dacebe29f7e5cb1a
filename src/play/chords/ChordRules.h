// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <bitset>
#include <cstdint>
#include <optional>

#include "play/chords/ChannelRules.h"
#include "play/chords/Chord.h"

// How a keyboard plays a style's channel over the chord held: pure functions of the
// channel's rules, the chord and the source notes, for a scheduler to call at each
// note-on and chord change. None of them allocates.

// Whether the channel sounds over chord: its note mute bit of the chord's root and its
// chord mute bit of the chord's type are both set. Over NC only the rhythm parts play.
bool ChannelPlays(const ChannelRules& rules, const Chord& chord);

// The pitch a source note sounds over chord, or nothing when it is silent. Each note
// is mapped on its own: what else the channel strikes never changes it.
std::optional<int> SoundingPitch(const ChannelRules& rules, const Chord& chord, int note);

// Where a note the rules put on pitch is struck when that key of its channel already
// sounds (another note of the style landed there). On a chord-table channel over a chord
// of three tones or more, an octave up, or down where up leaves the note limits or
// sounds too: a block chord then never doubles a key, and its pitch classes stay. Any
// other channel, a thinner chord (1+5, 1+8) or no free octave: pitch itself, and the
// caller lets the key sound once, until the last of its notes ends.
int UnisonPitch(const ChannelRules& rules, const Chord& chord, int note, int pitch, const std::bitset<128>& sounding);

// What a source note sounding at pitch (as SoundingPitch gave it over from) does when
// the chord changes to to.
struct ChangeDecision {
    enum class Action : std::uint8_t { Keep, Stop, Restrike };
    Action action = Action::Keep;
    int pitch = 0;  // Restrike: the new pitch, sounding for the note's remaining length
    bool operator==(const ChangeDecision&) const = default;
};
ChangeDecision DecideAtChange(const ChannelRules& rules, const Chord& from, const Chord& to, int note, int pitch);
