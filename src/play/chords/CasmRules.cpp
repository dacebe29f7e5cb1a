// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/chords/CasmRules.h"

#include <algorithm>

#include "msg/FillIn.h"
#include "msg/StyleMessages.h"

namespace {

std::optional<ZoneRules> ZoneOf(const CasmZone& zone, bool sff2, std::optional<std::uint8_t> cnttNtt) {
    const std::optional<Ntr> ntr = NtrFromNumber(zone.ntr, sff2);
    const std::optional<Rtr> rtr = RtrFromNumber(zone.rtr);
    if (!ntr || !rtr || zone.highKey > 11 || zone.lowLimit > 127 || zone.highLimit > 127) return std::nullopt;
    // A "Cntt" entry numbers its table as SFF2 does, whatever the style's kind.
    std::optional<NttSetting> table;
    if (cnttNtt && *ntr != Ntr::Guitar)
        table = NttFromSff2(*ntr, *cnttNtt);
    else
        table = sff2 ? NttFromSff2(*ntr, zone.ntt) : NttFromSff1(zone.ntt);
    if (!table) return std::nullopt;
    return ZoneRules{*ntr, *table, zone.highKey, zone.lowLimit, zone.highLimit, *rtr};
}

SectionChannelRules DefaultSection() {
    SectionChannelRules rules;
    for (int channel = 0; channel < 16; ++channel) rules[channel] = DefaultRules(channel);
    return rules;
}

StyleChannelRules Defaults(std::string damage) {
    StyleChannelRules style;
    style.sections.fill(DefaultSection());
    style.damage = std::move(damage);
    return style;
}

std::string UnknownRuleText(const CasmChannelTable& table) {
    return StyleError::At(style_messages::kUnknownChannelRule, table.offset).Text();
}

}  // namespace

std::optional<std::uint8_t> CnttOf(const CasmSegment& segment, std::uint8_t channel) {
    std::optional<std::uint8_t> ntt;
    for (const CasmNttOverride& entry : segment.nttOverrides) {
        if (entry.sourceChannel == channel) ntt = entry.ntt;
    }
    return ntt;
}

std::optional<ChannelRules> RulesOfTable(const CasmChannelTable& table, std::optional<std::uint8_t> cnttNtt) {
    if (table.sourceChannel > 15 || table.sourceRoot > 11 || table.sourceType >= kChordTypeCount) {
        return std::nullopt;
    }
    ChannelRules rules;
    rules.sourceChannel = table.sourceChannel;
    rules.part = static_cast<Part>(std::clamp<int>(table.destination, kFirstPlayedPart, kLastPlayedPart));
    rules.noteMute = table.noteMute;
    rules.chordMute = table.chordMute;
    rules.autostart = table.autostart;
    rules.sourceRoot = table.sourceRoot;
    rules.sourceType = static_cast<ChordType>(table.sourceType);
    if (table.sff2) {
        rules.middleLow = table.middleLow;
        rules.middleHigh = table.middleHigh;
        for (std::size_t zone = 0; zone < 3; ++zone) {
            const std::optional<ZoneRules> decoded = ZoneOf(table.zones[zone], true, cnttNtt);
            if (!decoded) return std::nullopt;
            rules.zones[zone] = *decoded;
        }
    } else {
        const std::optional<ZoneRules> decoded = ZoneOf(table.zones[1], false, cnttNtt);
        if (!decoded) return std::nullopt;
        rules.zones.fill(*decoded);
    }
    return rules;
}

std::string DamageOfSegments(const std::vector<CasmSegment>& segments) {
    for (const CasmSegment& segment : segments) {
        for (const CasmChannelTable& table : segment.tables) {
            // Styles made on a computer name parts 0-7, which a keyboard does not have:
            // such a channel is not played, and the others keep their rules.
            if (!IsPlayedPart(table.destination)) continue;
            if (!RulesOfTable(table, CnttOf(segment, table.sourceChannel))) return UnknownRuleText(table);
        }
    }
    return {};
}

StyleChannelRules RulesOfSegments(const std::vector<CasmSegment>& segments) {
    if (std::string damage = DamageOfSegments(segments); !damage.empty()) return Defaults(std::move(damage));
    StyleChannelRules style;
    style.sections.fill(DefaultSection());
    style.fromCasm = true;
    for (const CasmSegment& segment : segments) {
        SectionChannelRules rules;
        for (const CasmChannelTable& table : segment.tables) {
            if (IsPlayedPart(table.destination))
                rules[table.sourceChannel] = RulesOfTable(table, CnttOf(segment, table.sourceChannel));
        }
        for (const std::string& name : segment.sections) {
            if (const std::optional<int> section = SectionOfMarker(name)) style.sections[*section] = rules;
        }
    }
    return style;
}

StyleChannelRules RulesOfStyle(ByteView image, std::size_t walkEnd) {
    std::vector<CasmSegment> segments;
    bool found = false;
    if (MaybeStyleError error = ReadStyleCasm(image, walkEnd, segments, found)) return Defaults(error->Text());
    return found ? RulesOfSegments(segments) : Defaults({});
}
