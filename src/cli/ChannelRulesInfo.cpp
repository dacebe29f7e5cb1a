// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ChannelRulesInfo.h"

#include <array>
#include <bit>

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
    int lowest = 0;
    int highest = 0;
    const ZoneRules* rules = nullptr;
};
// At most three, kept in place: info lists the zones of every channel.
struct ZoneSpans {
    std::array<ZoneSpan, 3> spans;
    std::size_t count = 0;

    void Add(int lowest, int highest, const ZoneRules& rules) { spans[count++] = {lowest, highest, &rules}; }
    std::size_t size() const { return count; }
    const ZoneSpan* begin() const { return spans.data(); }
    const ZoneSpan* end() const { return spans.data() + count; }
};
ZoneSpans ZonesOf(const ChannelRules& rules) {
    ZoneSpans zones;
    if (rules.middleLow > 0) zones.Add(0, rules.middleLow - 1, rules.zones[0]);
    zones.Add(rules.middleLow, rules.middleHigh, rules.zones[1]);
    if (rules.middleHigh < 127) zones.Add(rules.middleHigh + 1, 127, rules.zones[2]);
    return zones;
}

std::string BriefRules(const CasmChannelTable& table, const std::optional<ChannelRules>& rules) {
    if (!IsPlayedPart(table.destination)) return "part " + std::to_string(table.destination) + ": not played";
    if (!rules) return "unknown rule";
    std::string text;
    const ZoneSpans zones = ZonesOf(*rules);
    for (const ZoneSpan& zone : zones) {
        if (!text.empty()) text += " / ";
        if (zones.size() > 1)
            text += "notes " + std::to_string(zone.lowest) + "-" + std::to_string(zone.highest) + ": ";
        text += ZoneSummary(*zone.rules);
    }
    return text + "; " + MuteSummary(*rules);
}

// The JSON is appended to one string, each value in place: info writes thousands of
// channels for a folder of styles.
void AppendName(std::string& json, std::string_view cp1252) {
    while (!cp1252.empty() && (cp1252.back() == ' ' || cp1252.back() == '\0')) cp1252.remove_suffix(1);
    for (const char c : cp1252) {
        if (static_cast<unsigned char>(c) >= 0x80) return AppendJsonString(json, Cp1252ToUtf8(cp1252));
    }
    AppendJsonString(json, cp1252);  // ASCII reads the same in both
}

void AppendList(std::string& json, const std::vector<std::string>& items) {
    json += '[';
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) json += ", ";
        AppendJsonString(json, items[i]);
    }
    json += ']';
}

// The names a mask's bits stand for as a JSON list, made once: a folder of styles
// lists them for every channel, nearly always all of them.
class MaskNames {
public:
    explicit MaskNames(const std::vector<std::string_view>& names) {
        for (const std::string_view name : names) {
            std::string item = ", ";
            AppendJsonString(item, name);
            m_all += m_all.empty() ? "[" : ", ";
            m_all.append(item, kSeparator.size());
            m_items.push_back(std::move(item));
        }
        m_all += ']';
        m_allBits = (std::uint64_t{1} << names.size()) - 1;
    }

    void Append(std::string& json, std::uint64_t mask) const {
        mask &= m_allBits;
        if (mask == m_allBits) {
            json += m_all;
            return;
        }
        json += '[';
        for (std::size_t skip = kSeparator.size(); mask != 0; mask &= mask - 1, skip = 0) {
            const std::string& item = m_items[static_cast<std::size_t>(std::countr_zero(mask))];
            json.append(item.data() + skip, item.size() - skip);
        }
        json += ']';
    }

private:
    static constexpr std::string_view kSeparator = ", ";
    std::vector<std::string> m_items;  // each after its separator
    std::string m_all;
    std::uint64_t m_allBits = 0;
};

const MaskNames& RootNames() {
    static const MaskNames names([] {
        std::vector<std::string_view> made;
        for (int root = 0; root < 12; ++root) made.push_back(PitchClassName(root));
        return made;
    }());
    return names;
}

const MaskNames& TypeNames() {
    static const MaskNames names([] {
        std::vector<std::string_view> made;
        for (int type = 0; type < kChordTypeCount; ++type) made.push_back(TypeInfo(static_cast<ChordType>(type)).name);
        return made;
    }());
    return names;
}

// The JSON literal of a name, made on its first use: a folder of styles writes the
// same few names for every channel and zone. Each thread that writes info (InOrder.h)
// keeps its own.
template <class Value, std::string_view (*NameOf)(Value)>
const std::string& NameLiteral(Value value) {
    thread_local std::array<std::string, 256> literals;
    std::string& literal = literals[static_cast<std::uint8_t>(value)];
    if (literal.empty()) AppendJsonString(literal, NameOf(value));
    return literal;
}

std::string_view PartNameOf(std::uint8_t destination) { return PartName(static_cast<Part>(destination)); }

const std::string& ChordLiteral(int root, ChordType type) {
    thread_local std::array<std::string, 12 * kChordTypeCount> literals;
    std::string& literal = literals[static_cast<std::size_t>(root * kChordTypeCount) + static_cast<std::size_t>(type)];
    if (literal.empty()) AppendJsonString(literal, ChordText(Chord{static_cast<std::uint8_t>(root), type}));
    return literal;
}

void AppendBool(std::string& json, bool value) { json += value ? "true" : "false"; }

void AppendZone(std::string& json, const ZoneSpan& zone) {
    const ZoneRules& z = *zone.rules;
    json += "{\"lowest\": ";
    AppendJsonNumber(json, zone.lowest);
    json += ", \"highest\": ";
    AppendJsonNumber(json, zone.highest);
    json += ", \"ntr\": ";
    json += NameLiteral<Ntr, NtrName>(z.ntr);
    json += ", \"ntt\": ";
    json += NameLiteral<Ntt, NttName>(z.table.ntt);
    json += ", \"bassOn\": ";
    AppendBool(json, z.table.bassOn);
    json += ", \"highKey\": ";
    json += NameLiteral<int, PitchClassName>(z.highKey);
    json += ", \"lowLimit\": ";
    AppendJsonNumber(json, z.lowLimit);
    json += ", \"highLimit\": ";
    AppendJsonNumber(json, z.highLimit);
    json += ", \"rtr\": ";
    json += NameLiteral<Rtr, RtrName>(z.rtr);
    json += '}';
}

void AppendChannel(std::string& json, const CasmChannelTable& table, const std::optional<ChannelRules>& rules) {
    const bool part = IsPlayedPart(table.destination);
    json += "{\"channel\": ";
    AppendJsonNumber(json, table.sourceChannel + 1);
    json += ", \"name\": ";
    AppendName(json, table.name);
    json += ", \"part\": ";
    json += part ? NameLiteral<std::uint8_t, PartNameOf>(table.destination) : "null";
    json += ", \"editable\": ";
    AppendBool(json, table.editable);
    json += ", \"autostart\": ";
    AppendBool(json, table.autostart);
    if (!part || !rules) {
        json += ", \"played\": false}";
        return;
    }
    json += ", \"played\": true, \"roots\": ";
    RootNames().Append(json, rules->noteMute);
    json += ", \"chordTypes\": ";
    TypeNames().Append(json, rules->chordMute);
    json += ", \"sourceChord\": ";
    json += ChordLiteral(rules->sourceRoot, rules->sourceType);
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
    bool found = false;
    if (walkEnd == 0) return info;
    if (MaybeStyleError error = ReadStyleCasm(image, walkEnd, info.segments, found)) {
        info.damage = Cp1252ToUtf8(error->Text());
        info.segments.clear();
        return info;
    }
    if (!found) return info;
    info.damage = Cp1252ToUtf8(DamageOfSegments(info.segments));
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

void AppendChannelRulesJson(std::string& json, const ChannelRulesInfo& info) {
    json += "{\"segments\": [";
    for (std::size_t i = 0; i < info.segments.size(); ++i) {
        const CasmSegment& segment = info.segments[i];
        if (i > 0) json += ", ";
        json += "{\"sections\": ";
        AppendList(json, segment.sections);
        json += ", \"channels\": [";
        for (std::size_t t = 0; t < segment.tables.size(); ++t) {
            const CasmChannelTable& table = segment.tables[t];
            if (t > 0) json += ", ";
            AppendChannel(json, table, RulesOfTable(table, CnttOf(segment, table.sourceChannel)));
        }
        json += "]}";
    }
    json += "], \"damage\": ";
    if (info.damage.empty()) {
        json += "null";
    } else {
        AppendJsonString(json, info.damage);
    }
    json += '}';
}
