// SPDX-License-Identifier: GPL-3.0-or-later
// What the chord rules cost a note-on in the audio callback: the pitch of each note of
// a four-note chord part, over every chord in turn, against plain transposition.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "play/chords/ChordRules.h"
#include "play/chords/GuitarVoicing.h"

namespace {

constexpr std::array<std::uint8_t, 4> kStruck = {60, 64, 67, 71};

Chord NthChord(std::size_t n) {
    return Chord{static_cast<std::uint8_t>(n % 12), static_cast<ChordType>(n / 12 % kChordTypeCount), -1, false};
}

void RunRules(benchmark::State& state, const ChannelRules& rules) {
    std::size_t n = 0;
    for (auto _ : state) {
        const Chord chord = NthChord(n++);
        for (const std::uint8_t note : kStruck) benchmark::DoNotOptimize(SoundingPitch(rules, chord, note));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kStruck.size()));
}

ChannelRules RulesWith(Ntr ntr, Ntt table) {
    ChannelRules rules = *DefaultRules(11);
    for (ZoneRules& zone : rules.zones) {
        zone.ntr = ntr;
        zone.table = {table, false};
    }
    return rules;
}

void PlainTransposition(benchmark::State& state) {
    std::size_t n = 0;
    for (auto _ : state) {
        const Chord chord = NthChord(n++);
        for (const std::uint8_t note : kStruck) benchmark::DoNotOptimize(note + chord.root);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kStruck.size()));
}
BENCHMARK(PlainTransposition);

void MelodyTable(benchmark::State& state) { RunRules(state, RulesWith(Ntr::RootTransposition, Ntt::Melody)); }
BENCHMARK(MelodyTable);

void ChordTable(benchmark::State& state) { RunRules(state, RulesWith(Ntr::RootFixed, Ntt::Chord)); }
BENCHMARK(ChordTable);

void GuitarStrings(benchmark::State& state) { RunRules(state, RulesWith(Ntr::Guitar, Ntt::AllPurpose)); }
BENCHMARK(GuitarStrings);

}  // namespace

BENCHMARK_MAIN();
