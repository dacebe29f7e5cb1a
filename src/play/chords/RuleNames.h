// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "play/chords/ChannelRules.h"

// The names the companion lists a channel's rules by, lower case as in a sentence:
// "sub-rhythm" ... "phrase 2", "root transposition", "melodic minor 5th", "retrigger
// to root" ...
std::string_view PartName(Part part);
std::string_view NtrName(Ntr ntr);
std::string_view NttName(Ntt ntt);
std::string_view RtrName(Rtr rtr);

// One zone's rules in a few words: "root transposition, melody + bass, high key F,
// notes 36-84, retrigger".
std::string ZoneSummary(const ZoneRules& zone);
// Where a channel is muted, in a few words: "plays on every chord", or "not on Bb, B;
// not on min, min7" naming what it does not play on (types by the keyboard's names),
// "only on ..." when that is shorter.
std::string MuteSummary(const ChannelRules& rules);
