// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ChannelRulesInfo.h"

#include "cli/Json.h"
#include "framework/Cp1252.h"
#include "play/chords/CasmRules.h"
#include "play/chords/Chord.h"
#include "play/chords/RuleNames.h"

namespace {

constexpr const char* kIndent = "                  ";

std::string TrimmedName(const std::string& cp1252) {
    std::string name = cp1252;
    while (!name.empty() && (name.back() == ' ' || name.back() == '\0')) name.pop_back();
    return Cp1252ToUtf8(name);
}

std::string Joined(const std::vector<std::string>& names, const std::string& separator) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : separator) + name;
    return text;
}

// The zones a channel's notes fall in: one for SFF1 and for an SFF2 table without a
// split, else low (when the middle starts above 0), middle, high (when it ends below 127).
struct ZoneSpan {
    int lowest;
    int highest;
    const ZoneRules* rules;
};
std::vector<ZoneSpan> ZonesOf(const ChannelRules& rules) {
    std::vector<ZoneSpan> zones;
    if (rules.middleLow > 0) zones.push_back({0, rules.middleLow - 1, &rules.zones[0]});
    zones.push_back({rules.middleLow, rules.middleHigh, &rules.zones[1]});
    if (rules.middleHigh < 127) zones.push_back({rules.middleHigh + 1, 127, &rules.zones[2]});
    return zones;
}

std::string BriefRules(const CasmChannelTable& table, const std::optional<ChannelRules>& rules) {
    if (table.destination < 8 || table.destination > 15)
        return "part " + std::to_string(table.destination) + ": not played";
    if (!rules) return "unknown rule";
    std::string text;
    const std::vector<ZoneSpan> zones = ZonesOf(*rules);
    for (const ZoneSpan& zone : zones) {
        if (!text.empty()) text += " / ";
        if (zones.size() > 1)
            text += "notes " + std::to_string(zone.lowest) + "-" + std::to_string(zone.highest) + ": ";
        text += ZoneSummary(*zone.rules);
    }
    return text + "; " + MuteSummary(*rules);
}

// The JSON is appended to one string: info writes hundreds of channels per folder.
void AppendList(std::string& json, const std::vector<std::string_view>& items) {
    json += '[';
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) json += ", ";
        json += JsonString(items[i]);
    }
    json += ']';
}

// The roots and chord types as JSON strings, made once: a folder of styles lists them
// for every channel.
const std::vector<std::string>& RootLiterals() {
    static const std::vector<std::string> literals = [] {
        std::vector<std::string> made;
        for (int root = 0; root < 12; ++root) made.push_back(JsonString(PitchClassName(root)));
        return made;
    }();
    return literals;
}

const std::vector<std::string>& TypeLiterals() {
    static const std::vector<std::string> literals = [] {
        std::vector<std::string> made;
        for (int type = 0; type < kChordTypeCount; ++type) {
            made.push_back(JsonString(TypeInfo(static_cast<ChordType>(type)).name));
        }
        return made;
    }();
    return literals;
}

// The names of the bits set in mask, as a JSON list.
void AppendMask(std::string& json, std::uint64_t mask, const std::vector<std::string>& literals) {
    json += '[';
    bool first = true;
    for (std::size_t bit = 0; bit < literals.size(); ++bit) {
        if ((mask >> bit & 1) == 0) continue;
        if (!first) json += ", ";
        first = false;
        json += literals[bit];
    }
    json += ']';
}

void AppendField(std::string& json, std::string_view name, const std::string& value) {
    json += ", \"";
    json += name;
    json += "\": ";
    json += value;
}

void AppendZone(std::string& json, const ZoneSpan& zone) {
    const ZoneRules& z = *zone.rules;
    json += "{\"lowest\": " + std::to_string(zone.lowest);
    AppendField(json, "highest", std::to_string(zone.highest));
    AppendField(json, "ntr", JsonString(NtrName(z.ntr)));
    AppendField(json, "ntt", JsonString(NttName(z.table.ntt)));
    AppendField(json, "bassOn", z.table.bassOn ? "true" : "false");
    AppendField(json, "highKey", JsonString(PitchClassName(z.highKey)));
    AppendField(json, "lowLimit", std::to_string(z.lowLimit));
    AppendField(json, "highLimit", std::to_string(z.highLimit));
    AppendField(json, "rtr", JsonString(RtrName(z.rtr)));
    json += '}';
}

void AppendChannel(std::string& json, const CasmChannelTable& table, const std::optional<ChannelRules>& rules) {
    const bool part = table.destination >= 8 && table.destination <= 15;
    json += "{\"channel\": " + std::to_string(table.sourceChannel + 1);
    AppendField(json, "name", JsonString(TrimmedName(table.name)));
    AppendField(json, "part", part ? JsonString(PartName(static_cast<Part>(table.destination))) : "null");
    AppendField(json, "editable", table.editable ? "true" : "false");
    AppendField(json, "autostart", table.autostart ? "true" : "false");
    if (!part || !rules) {
        json += ", \"played\": false}";
        return;
    }
    json += ", \"played\": true, \"roots\": ";
    AppendMask(json, rules->noteMute, RootLiterals());
    json += ", \"chordTypes\": ";
    AppendMask(json, rules->chordMute, TypeLiterals());
    AppendField(json, "sourceChord",
                JsonString(ChordText(Chord{static_cast<std::uint8_t>(rules->sourceRoot), rules->sourceType})));
    json += ", \"zones\": [";
    bool first = true;
    for (const ZoneSpan& zone : ZonesOf(*rules)) {
        if (!first) json += ", ";
        first = false;
        AppendZone(json, zone);
    }
    json += "]}";
}

}  // namespace

ChannelRulesInfo ReadChannelRulesInfo(ByteView image, std::size_t walkEnd) {
    ChannelRulesInfo info;
    ChunkLayout layout;
    if (walkEnd == 0 || LocateChunks(image, walkEnd, layout) || !layout.casm) return info;
    if (MaybeStyleError error = ReadCasmTables(image, *layout.casm, info.segments)) {
        info.damage = Cp1252ToUtf8(error->Text());
        info.segments.clear();
        return info;
    }
    info.damage = Cp1252ToUtf8(RulesOfSegments(info.segments).damage);
    return info;
}

void PrintChannelRules(std::ostream& out, const ChannelRulesInfo& info) {
    out << "  Channel rules:";
    if (info.segments.empty() && info.damage.empty()) out << "  (none: channels 9-16 as their own parts)\n";
    bool first = true;
    for (const CasmSegment& segment : info.segments) {
        out << (first ? "  " : kIndent) << (segment.sections.empty() ? "(no section)" : Joined(segment.sections, ", "))
            << "\n";
        first = false;
        for (const CasmChannelTable& table : segment.tables) {
            const std::string name = TrimmedName(table.name);
            out << kIndent << "  channel " << table.sourceChannel + 1 << (table.sourceChannel + 1 < 10 ? "  " : " ")
                << name << std::string(name.size() < 10 ? 10 - name.size() : 1, ' ')
                << BriefRules(table, RulesOfTable(table, CnttOf(segment, table.sourceChannel))) << "\n";
        }
    }
    if (!info.damage.empty()) {
        std::string damage = info.damage;
        for (std::size_t pos = 0; (pos = damage.find("\n\n", pos)) != std::string::npos;) damage.replace(pos, 2, " ");
        out << (first ? "  " : kIndent) << "played without them: " << damage << "\n";
    }
}

std::string ChannelRulesJson(const ChannelRulesInfo& info) {
    std::string json = "{\"segments\": [";
    for (std::size_t i = 0; i < info.segments.size(); ++i) {
        const CasmSegment& segment = info.segments[i];
        if (i > 0) json += ", ";
        json += "{\"sections\": ";
        AppendList(json, std::vector<std::string_view>(segment.sections.begin(), segment.sections.end()));
        json += ", \"channels\": [";
        for (std::size_t t = 0; t < segment.tables.size(); ++t) {
            const CasmChannelTable& table = segment.tables[t];
            if (t > 0) json += ", ";
            AppendChannel(json, table, RulesOfTable(table, CnttOf(segment, table.sourceChannel)));
        }
        json += "]}";
    }
    json += "], \"damage\": ";
    json += info.damage.empty() ? std::string("null") : JsonString(info.damage);
    return json + "}";
}
