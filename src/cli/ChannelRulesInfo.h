// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "format/CasmTables.h"
#include "framework/ByteView.h"

// What info says of a style's channel rules: each CSEG of its CASM with the sections
// it covers and each channel's part and rules, and why playback ignores the CASM when
// it does.
struct ChannelRulesInfo {
    std::vector<CasmSegment> segments;
    std::string damage;  // empty when the CASM is played
};

// The channel rules of a style image whose track walk ended at walkEnd.
ChannelRulesInfo ReadChannelRulesInfo(ByteView image, std::size_t walkEnd);

// Briefly, one line per CSEG and one per channel, indented for info's listing.
void PrintChannelRules(std::ostream& out, const ChannelRulesInfo& info);
// Whole, as the value of info --json's "channelRules", appended to json.
void AppendChannelRulesJson(std::string& json, const ChannelRulesInfo& info);
