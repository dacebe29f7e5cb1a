// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "format/CasmTables.h"
#include "format/Sections.h"
#include "play/chords/ChannelRules.h"

// The rules of every source channel (0-15) in one section; nothing for a channel that
// a keyboard does not play there.
using SectionChannelRules = std::array<std::optional<ChannelRules>, 16>;

// What a keyboard plays in each section (as kSectionNames counts them): the
// channel tables of the CSEG whose "Sdec" names the section, or, for a section no CSEG
// names, channels 9-16 as their own parts (DefaultRules).
struct StyleChannelRules {
    std::array<SectionChannelRules, kSectionCount> sections;
    bool fromCasm = false;
    // Why the style's CASM is played as if it had none; empty when it is not.
    std::string damage;
};

// The table a "Cntt" entry of segment gives channel in place of its own, if any (the
// last entry for it counts).
std::optional<std::uint8_t> CnttOf(const CasmSegment& segment, std::uint8_t channel);
// One channel table's numbers as rules, a "Cntt" entry's table in place of the
// table's own when there is one; nothing when a number names no setting.
std::optional<ChannelRules> RulesOfTable(const CasmChannelTable& table, std::optional<std::uint8_t> cnttNtt);

// Why a keyboard plays these CASM segments as if the style had none: the first table
// of a part it plays whose numbers name no setting. Empty when there is none.
std::string DamageOfSegments(const std::vector<CasmSegment>& segments);
// The rules of every section from the CASM segments read whole. A CASM that holds a
// number naming no setting is played as if the style had none, and says why.
StyleChannelRules RulesOfSegments(const std::vector<CasmSegment>& segments);
// The rules of a style image: its CASM chunk after the track when it has one (walkEnd
// is where the track walk ended), the defaults when it has none or it is damaged.
StyleChannelRules RulesOfStyle(ByteView image, std::size_t walkEnd);
