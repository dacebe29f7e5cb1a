// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/chords/ChannelRules.h"

namespace {

constexpr std::array kSff2Tables = {Ntt::Bypass,           Ntt::Melody,          Ntt::Chord,
                                    Ntt::MelodicMinor,     Ntt::MelodicMinor5th, Ntt::HarmonicMinor,
                                    Ntt::HarmonicMinor5th, Ntt::NaturalMinor,    Ntt::NaturalMinor5th,
                                    Ntt::Dorian,           Ntt::Dorian5th};
constexpr std::array kGuitarTables = {Ntt::AllPurpose, Ntt::Stroke, Ntt::Arpeggio};

// A part transposed with the chord's root stays within five semitones above and six
// below where it was recorded.
constexpr int kDefaultHighKey = 5;  // F

}  // namespace

std::optional<Ntr> NtrFromNumber(int number, bool sff2) {
    if (number < 0 || number > (sff2 ? 2 : 1)) return std::nullopt;
    return static_cast<Ntr>(number);
}

std::optional<Rtr> RtrFromNumber(int number) {
    if (number < 0 || number > static_cast<int>(Rtr::NoteGenerator)) return std::nullopt;
    return static_cast<Rtr>(number);
}

std::optional<NttSetting> NttFromSff1(int number) {
    switch (number) {
        case 0: return NttSetting{Ntt::Bypass, false};
        case 1: return NttSetting{Ntt::Melody, false};
        case 2: return NttSetting{Ntt::Chord, false};
        case 3: return NttSetting{Ntt::Melody, true};
        case 4: return NttSetting{Ntt::MelodicMinor, false};
        case 5: return NttSetting{Ntt::HarmonicMinor, false};
        default: return std::nullopt;
    }
}

std::optional<NttSetting> NttFromSff2(Ntr ntr, int byte) {
    if (byte < 0 || byte > 0xFF) return std::nullopt;
    const bool bassOn = (byte & 0x80) != 0;
    const auto table = static_cast<std::size_t>(byte & 0x7F);
    if (ntr == Ntr::Guitar) {
        if (table >= kGuitarTables.size()) return std::nullopt;
        return NttSetting{kGuitarTables[table], bassOn};
    }
    if (table >= kSff2Tables.size()) return std::nullopt;
    return NttSetting{kSff2Tables[table], bassOn};
}

std::optional<ChannelRules> DefaultRules(int channel) {
    if (channel < 8 || channel > 15) return std::nullopt;
    ChannelRules rules;
    rules.sourceChannel = channel;
    rules.part = static_cast<Part>(channel);
    ZoneRules zone;
    zone.highKey = kDefaultHighKey;
    switch (rules.part) {
        case Part::SubRhythm:
        case Part::Rhythm:
            // Drums never change; the retrigger rule never comes into play.
            zone.ntr = Ntr::RootFixed;
            zone.table = {Ntt::Bypass, false};
            zone.rtr = Rtr::Stop;
            break;
        case Part::Bass:
            // A held bass note sounds on in the new chord rather than leaving a gap.
            zone.ntr = Ntr::RootTransposition;
            zone.table = {Ntt::Melody, true};
            zone.rtr = Rtr::Retrigger;
            break;
        case Part::Chord1:
        case Part::Chord2:
            zone.ntr = Ntr::RootFixed;
            zone.table = {Ntt::Chord, false};
            zone.rtr = Rtr::Retrigger;
            break;
        case Part::Pad:
            // A pad glides into the new chord: sounds as a fresh strike here.
            zone.ntr = Ntr::RootFixed;
            zone.table = {Ntt::Chord, false};
            zone.rtr = Rtr::PitchShift;
            break;
        case Part::Phrase1:
        case Part::Phrase2:
            // A phrase cut off reads better than a phrase note struck again off its beat.
            zone.ntr = Ntr::RootTransposition;
            zone.table = {Ntt::Melody, false};
            zone.rtr = Rtr::Stop;
            break;
    }
    rules.zones = {zone, zone, zone};
    return rules;
}
