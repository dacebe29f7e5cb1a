// SPDX-License-Identifier: GPL-3.0-or-later
// The load, and the load plus save, of a 200,000-byte style in memory, SFF1 and SFF2,
// beside a plain copy of the same bytes.

#include <benchmark/benchmark.h>

#include <cstring>
#include <utility>
#include <vector>

#include "StyleBytes.h"
#include "format/Chunks.h"
#include "format/SavedStyle.h"
#include "format/StyleReader.h"
#include "format/TrackRewriter.h"

namespace {

// A style shaped like a keyboard's: sections of notes with volume changes, filled up
// with note events until the file is exactly 200,000 bytes. The SFF2 one has the
// longer "Ctb2" records and an OTS chunk of four members.
Bytes LargestStyle(StyleFormat format) {
    const bool sff2 = format == StyleFormat::Sff2;
    const Bytes tables = sff2 ? Ctb2(9, 10) + Ctb2(10, 11, 51) : Ctab(9, 10) + Ctab(10, 11);
    const Bytes ots = sff2 ? OtsOfFourMembers() : Ots(Bytes::Repeat(0x20, 2000));
    const Bytes after = Casm(Cseg(Sdec() + tables + Cntt())) + ots;
    Bytes events = (sff2 ? BasicSff2Events("Benchmark Style") : BasicEvents("Benchmark Style")) + TempoEvent(500000) +
                   TimeSignatureEvent(4, 2);
    for (std::uint8_t c = 8; c < 16; ++c) events += VolumeEvent(c, 100);
    const std::size_t fixed = HeaderChunk().size() + 8 + after.size() + EndOfTrack().size();
    std::size_t section = 0;
    while (fixed + events.size() + 200 < 200000) {
        events += MarkerEvent(std::string(FormSectionName(section++ % kFormSectionCount)));
        for (int i = 0; i < 40 && fixed + events.size() + 100 < 200000; ++i) {
            events += NoteOn(static_cast<std::uint8_t>(8 + i % 8), 60, 100) + Running(60, 0);
        }
        events += VolumeEvent(static_cast<std::uint8_t>(8 + section % 8), 90);
    }
    std::size_t remaining = 200000 - fixed - events.size();
    for (; remaining >= 8; remaining -= 4) events += NoteOn(9, 42, 80);
    events += Meta(0x7F, Bytes::Repeat(0, remaining - 4));
    return StyleFile(events + EndOfTrack(), after);
}

const Bytes& Style(StyleFormat format) {
    static const Bytes sff1 = LargestStyle(StyleFormat::Sff1);
    static const Bytes sff2 = LargestStyle(StyleFormat::Sff2);
    return format == StyleFormat::Sff2 ? sff2 : sff1;
}

void LoadStyleFromMemory(benchmark::State& state, StyleFormat format) {
    const Bytes& style = Style(format);
    if (style.size() != 200000) state.SkipWithError("the style is not 200,000 bytes");
    for (auto _ : state) {
        StyleFacts facts;
        benchmark::DoNotOptimize(ReadStyle(style.view(), facts));
        benchmark::DoNotOptimize(facts);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * style.size()));
}
BENCHMARK_CAPTURE(LoadStyleFromMemory, SFF1, StyleFormat::Sff1);
BENCHMARK_CAPTURE(LoadStyleFromMemory, SFF2, StyleFormat::Sff2);

// Everything a save does but the writing: the track rewritten with a new title and
// every volume scaled, the CASM chunk copied without its "Cntt" data, the file's
// pieces joined, by the save's own code.
void LoadAndSaveInMemory(benchmark::State& state, StyleFormat format) {
    const Bytes& style = Style(format);
    if (style.size() != 200000) state.SkipWithError("the style is not 200,000 bytes");
    for (auto _ : state) {
        StyleFacts facts;
        ReadStyle(style.view(), facts);
        TrackEdits edits;
        edits.title = "A Longer Benchmark Title";
        edits.tempo = facts.tempo;
        edits.timeSigNumerator = facts.timeSigNumerator;
        edits.timeSigDenominator = facts.timeSigDenominator;
        edits.allChannelsPercent = 90;
        RewrittenTrack track;
        RewriteTrack(style.view(), edits, track);
        ChunkLayout layout;
        LocateChunks(style.view(), track.walkEnd, layout);
        ChunkChoices choices;
        choices.deleteAllCntt = true;
        SavedStyle saved;
        AssembleSavedStyle(style.view(), std::move(track), layout, choices, saved);
        const std::vector<std::uint8_t> file = saved.Joined();
        benchmark::DoNotOptimize(file.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * style.size()));
}
BENCHMARK_CAPTURE(LoadAndSaveInMemory, SFF1, StyleFormat::Sff1);
BENCHMARK_CAPTURE(LoadAndSaveInMemory, SFF2, StyleFormat::Sff2);

void CopySameBytes(benchmark::State& state) {
    const Bytes& style = Style(StyleFormat::Sff1);
    std::vector<std::uint8_t> copy(style.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), style.data.data(), style.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * style.size()));
}
BENCHMARK(CopySameBytes);

}  // namespace
