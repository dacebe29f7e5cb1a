// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "play/chords/ChannelRules.h"
#include "play/chords/Chord.h"

// How a keyboard plays a style's channel over the chord held: pure functions of the
// channel's rules, the chord and the source notes, for a scheduler to call at each
// note-on and chord change. None of them allocates.

// Whether the channel sounds over chord: its note mute bit of the chord's root and its
// chord mute bit of the chord's type are both set. Over NC only the rhythm parts play.
bool ChannelPlays(const ChannelRules& rules, const Chord& chord);

// The pitch a source note sounds over chord, or nothing when it is silent. struck: the
// other source notes the channel strikes at the same tick (the chord table gives
// notes struck together different tones); it may hold note itself.
std::optional<int> SoundingPitch(const ChannelRules& rules, const Chord& chord, int note,
                                 std::span<const std::uint8_t> struck = {});

// What a source note sounding at pitch (as SoundingPitch gave it over from) does when
// the chord changes to to.
struct ChangeDecision {
    enum class Action : std::uint8_t { Keep, Stop, Restrike };
    Action action = Action::Keep;
    int pitch = 0;  // Restrike: the new pitch, sounding for the note's remaining length
    bool operator==(const ChangeDecision&) const = default;
};
ChangeDecision DecideAtChange(const ChannelRules& rules, const Chord& from, const Chord& to, int note, int pitch,
                              std::span<const std::uint8_t> struck = {});
