// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/chords/ChordRules.h"

#include <algorithm>

#include "play/chords/GuitarVoicing.h"
#include "play/chords/NoteTables.h"

namespace {

constexpr int kHighestNote = 127;

int PitchClass(int value) { return ((value % 12) + 12) % 12; }

// The chord the channel plays over: over NC a rhythm part plays as recorded. False
// when the channel is silent.
bool ResolveChord(const ChannelRules& rules, const Chord& chord, Chord& played) {
    if (!ChannelPlays(rules, chord)) return false;
    played = chord.none ? Chord{static_cast<std::uint8_t>(PitchClass(rules.sourceRoot)), rules.sourceType, -1, false}
                        : chord;
    return true;
}

// Root transposition moves by the distance from the source root to the chord's root,
// a root above the high key counting one octave lower (so with the high key at F the
// part goes up to F and down to F#).
int RootShift(int sourceRoot, int chordRoot, int highKey) {
    const auto fromC = [&](int root) { return root <= highKey ? root : root - 12; };
    return fromC(PitchClass(chordRoot)) - fromC(PitchClass(sourceRoot));
}

// A note outside the limits moves by octaves to the nearest octave inside; where the
// limits hold less than an octave and none fits, to the octave nearest to them.
int ApplyLimits(int pitch, const ZoneRules& zone) {
    const int low = std::clamp(std::min(zone.lowLimit, zone.highLimit), 0, kHighestNote);
    const int high = std::clamp(std::max(zone.lowLimit, zone.highLimit), 0, kHighestNote);
    if (pitch < low) pitch += (low - pitch + 11) / 12 * 12;
    if (pitch > high) pitch -= (pitch - high + 11) / 12 * 12;
    if (pitch < low && pitch + 12 <= kHighestNote && pitch + 12 - high < low - pitch) pitch += 12;
    while (pitch < 0) pitch += 12;
    while (pitch > kHighestNote) pitch -= 12;
    return pitch;
}

bool IsGuitarTable(Ntt table) { return table == Ntt::AllPurpose || table == Ntt::Stroke || table == Ntt::Arpeggio; }

std::optional<int> PitchBeforeLimits(const ChannelRules& rules, const ZoneRules& zone, const Chord& chord, int note) {
    if (zone.ntr == Ntr::Guitar) return GuitarPitch(chord, note, zone.table.bassOn);
    const int shift = zone.ntr == Ntr::RootTransposition ? RootShift(rules.sourceRoot, chord.root, zone.highKey) : 0;
    const int moved = note + shift;
    const int sourceRoot = PitchClass(rules.sourceRoot);
    const int rel = PitchClass(note - sourceRoot);
    if (zone.table.bassOn && rel == 0) return NearestWithPitchClass(moved, chord.Bass());

    const Ntt table = zone.table.ntt;
    if (table == Ntt::Bypass || IsGuitarTable(table)) return moved;
    if (table == Ntt::Melody)
        return NearestWithPitchClass(moved, chord.root + MelodyInterval(rules.sourceType, chord.type, rel));
    if (table != Ntt::Chord) {
        return NearestWithPitchClass(moved, chord.root + MinorTableInterval(table, rules.sourceType, chord.type, rel));
    }
    // Over the source chord itself (moved to the new root) the part plays as recorded,
    // its passing notes included.
    const bool sameChord = chord.type == rules.sourceType && chord.bass < 0 &&
                           (zone.ntr == Ntr::RootTransposition || chord.root == sourceRoot);
    if (sameChord) return moved;
    return ChordTablePitch(chord, rules.sourceType, PitchClass(sourceRoot + shift), moved);
}

}  // namespace

bool ChannelPlays(const ChannelRules& rules, const Chord& chord) {
    if (chord.none) return IsRhythmPart(rules.part);
    return (rules.noteMute & (1u << PitchClass(chord.root))) != 0 &&
           (rules.chordMute & (std::uint64_t{1} << static_cast<int>(chord.type))) != 0;
}

std::optional<int> SoundingPitch(const ChannelRules& rules, const Chord& chord, int note) {
    Chord played;
    if (note < 0 || note > kHighestNote || !ResolveChord(rules, chord, played)) return std::nullopt;
    const ZoneRules& zone = rules.RulesFor(note);
    const std::optional<int> pitch = PitchBeforeLimits(rules, zone, played, note);
    if (!pitch) return std::nullopt;
    return ApplyLimits(*pitch, zone);
}

int UnisonPitch(const ChannelRules& rules, const Chord& chord, int note, int pitch, const std::bitset<128>& sounding) {
    Chord played;
    if (pitch < 0 || pitch > kHighestNote || !sounding[static_cast<std::size_t>(pitch)] ||
        !ResolveChord(rules, chord, played))
        return pitch;
    const ZoneRules& zone = rules.RulesFor(note);
    if (zone.ntr == Ntr::Guitar || zone.table.ntt != Ntt::Chord || TonesOf(played.type).count < 3) return pitch;
    for (const int octave : {pitch + 12, pitch - 12}) {
        const bool free = octave >= 0 && octave <= kHighestNote && !sounding[static_cast<std::size_t>(octave)];
        if (free && ApplyLimits(octave, zone) == octave) return octave;
    }
    return pitch;
}

ChangeDecision DecideAtChange(const ChannelRules& rules, const Chord& from, const Chord& to, int note, int pitch) {
    using Action = ChangeDecision::Action;
    if (from == to) return {Action::Keep, pitch};
    const std::optional<int> next = SoundingPitch(rules, to, note);
    if (!next) return {Action::Stop, pitch};
    if (*next == pitch) return {Action::Keep, pitch};
    const ZoneRules& zone = rules.RulesFor(note);
    switch (zone.rtr) {
        case Rtr::Stop: return {Action::Stop, pitch};
        // The synthesizer interface cannot move a sounding note's pitch, so a pitch
        // shift strikes the note again at its new pitch, as a retrigger does.
        case Rtr::PitchShift:
        case Rtr::Retrigger:
        case Rtr::NoteGenerator: return {Action::Restrike, *next};
        case Rtr::PitchShiftToRoot:
        case Rtr::RetriggerToRoot: {
            Chord played;
            ResolveChord(rules, to, played);
            const int root = zone.table.bassOn ? played.Bass() : played.root;
            const int restrike = ApplyLimits(NearestWithPitchClass(pitch, root), zone);
            if (restrike == pitch) return {Action::Keep, pitch};
            return {Action::Restrike, restrike};
        }
    }
    return {Action::Stop, pitch};
}
