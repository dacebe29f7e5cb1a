// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/chords/RuleNames.h"

#include <array>
#include <vector>

#include "play/chords/Chord.h"

namespace {

constexpr std::array<std::string_view, 8> kPartNames = {"sub-rhythm", "rhythm", "bass",     "chord 1",
                                                        "chord 2",    "pad",    "phrase 1", "phrase 2"};
constexpr std::array<std::string_view, 3> kNtrNames = {"root transposition", "root fixed", "guitar"};
constexpr std::array<std::string_view, 14> kNttNames = {"bypass",
                                                        "melody",
                                                        "chord",
                                                        "melodic minor",
                                                        "melodic minor 5th",
                                                        "harmonic minor",
                                                        "harmonic minor 5th",
                                                        "natural minor",
                                                        "natural minor 5th",
                                                        "dorian",
                                                        "dorian 5th",
                                                        "all-purpose",
                                                        "stroke",
                                                        "arpeggio"};
constexpr std::array<std::string_view, 6> kRtrNames = {"stop",      "pitch shift",       "pitch shift to root",
                                                       "retrigger", "retrigger to root", "note generator"};

// The names of what a mask leaves out and of what it keeps, "; "-free lists.
struct Listed {
    std::string playing;
    std::string silent;
    int playingCount = 0;
    int silentCount = 0;

    void Add(bool plays, std::string_view name) {
        std::string& list = plays ? playing : silent;
        if (!list.empty()) list += ", ";
        list += name;
        ++(plays ? playingCount : silentCount);
    }
    // "" when nothing is left out, else the shorter of "not on ..." and "only on ...".
    std::string Say() const {
        if (silentCount == 0) return {};
        if (playingCount == 0) return "never";
        return silentCount <= playingCount ? "not on " + silent : "only on " + playing;
    }
};

}  // namespace

std::string_view PartName(Part part) { return kPartNames[static_cast<std::size_t>(part) - 8]; }
std::string_view NtrName(Ntr ntr) { return kNtrNames[static_cast<std::size_t>(ntr)]; }
std::string_view NttName(Ntt ntt) { return kNttNames[static_cast<std::size_t>(ntt)]; }
std::string_view RtrName(Rtr rtr) { return kRtrNames[static_cast<std::size_t>(rtr)]; }

std::string ZoneSummary(const ZoneRules& zone) {
    std::string text = std::string(NtrName(zone.ntr)) + ", " + std::string(NttName(zone.table.ntt));
    if (zone.table.bassOn) text += " + bass";
    if (zone.ntr == Ntr::RootTransposition) text += ", high key " + std::string(PitchClassName(zone.highKey));
    if (zone.lowLimit != 0 || zone.highLimit != 127) {
        text += ", notes " + std::to_string(zone.lowLimit) + "-" + std::to_string(zone.highLimit);
    }
    return text + ", " + std::string(RtrName(zone.rtr));
}

std::string MuteSummary(const ChannelRules& rules) {
    Listed roots;
    for (int root = 0; root < 12; ++root) roots.Add((rules.noteMute >> root & 1) != 0, PitchClassName(root));
    Listed types;
    for (int type = 0; type < kChordTypeCount; ++type) {
        types.Add((rules.chordMute >> type & 1) != 0, TypeInfo(static_cast<ChordType>(type)).name);
    }
    std::vector<std::string> parts;
    if (const std::string said = roots.Say(); !said.empty()) parts.push_back(said == "never" ? "on no root" : said);
    if (const std::string said = types.Say(); !said.empty())
        parts.push_back(said == "never" ? "on no chord type" : said);
    if (parts.empty()) return "plays on every chord";
    std::string text = parts[0];
    for (std::size_t i = 1; i < parts.size(); ++i) text += "; " + parts[i];
    return text;
}
