// SPDX-License-Identifier: GPL-3.0-or-later
// Playing over chords against playing as recorded, on a made-up style of eight parts
// with channel rules (bass, chords, pad, phrases, drums), each printed as a ratio:
// - the events alone (a synthesizer that sounds nothing): the chord cursor's own cost;
// - a whole render through fluidsynth (TimGM6mb), when the build has it (aim: within 5 %);
// - live, the audio time from HoldChord to the first note of the new chord, blocks of
//   512 frames at 120 bpm (aim: under one beat, 500 ms).

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "PlayStyles.h"
#include "PumpedOutput.h"
#include "TempDir.h"
#include "document/KorvaneDoc.h"
#include "play/sound/NoSound.h"
#include "play/Player.h"
#include "play/files/Render.h"
#include "play/sound/SynthFactory.h"

namespace {

constexpr std::uint16_t kDivision = 480;

// Four bars of eighths on every part, a chord part striking three keys together.
Bytes ChordedStyle() {
    Bytes tables;
    const CtabFields parts[] = {
        {.source = 9, .part = 9, .ntr = 1, .ntt = 0},
        {.source = 10, .part = 10, .ntt = 3, .rtr = 3},
        {.source = 11, .part = 11, .ntr = 1, .ntt = 2, .rtr = 3},
        {.source = 12, .part = 12, .ntr = 1, .ntt = 2, .rtr = 3},
        {.source = 13, .part = 13, .ntr = 1, .ntt = 2, .rtr = 1},
        {.source = 14, .part = 14, .ntt = 1},
        {.source = 15, .part = 15, .ntt = 1},
    };
    for (const CtabFields& part : parts) tables += Ctab(part);
    Bytes events = MarkerAt(0, "Main A");
    for (int eighth = 0; eighth < 32; ++eighth) {
        for (std::uint8_t channel = 9; channel < 16; ++channel) {
            events += At(0, std::uint8_t(0x90 | channel), std::uint8_t(48 + channel), 100);
            if (channel == 11) events += At(0, 0x9B, 64, 90) + At(0, 0x9B, 67, 90);
        }
        events += At(kDivision / 2 - 10, 0x89, 57, 0);
        for (std::uint8_t channel = 10; channel < 16; ++channel)
            events += At(0, std::uint8_t(0x80 | channel), std::uint8_t(48 + channel), 0);
        events += At(0, 0x8B, 64, 0) + At(0, 0x8B, 67, 0) + At(10, 0xB9, 7, 100);
    }
    return HeaderWithDivision(kDivision) + Chunk("MTrk", BasicEvents() + TempoAt(0, 500000) + events + EndAt(0)) +
           Casm(Cseg(Sdec("Main A") + tables));
}

ChordPlan TwelveRoots() {
    ChordPlan plan;
    Progression::Parse("C | Db7 | Dm7 | Eb | Em | F6 | F#m7b5 | G7 | Ab | Am7 | Bb7 | Bm", 4, plan.progression);
    return plan;
}

const Timeline& Chorded() {
    static const Timeline timeline = Build(ChordedStyle());
    return timeline;
}

void EventsOnly(benchmark::State& state, const ChordPlan& plan) {
    NoSound synth;
    float left[512], right[512];
    for (auto _ : state) {
        Scheduler scheduler(Chorded(), kSectionMainA, 12, plan, 44100, synth);
        while (!scheduler.Finished()) scheduler.Render(left, right, 512);
        benchmark::DoNotOptimize(scheduler.Samples());
    }
}

void WholeRender(benchmark::State& state, const ChordPlan& plan) {
    const std::filesystem::path font = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    if (!HasSynthesizer() || !std::filesystem::exists(font)) {
        state.SkipWithError("no synthesizer or no TimGM6mb");
        return;
    }
    PlayError error;
    std::unique_ptr<Synth> synth = MakeRenderSynth(SystemFileSystem(), font, 44100, true, error);
    RenderSettings settings{kSectionMainA, 3, 44100, -1, plan};
    for (auto _ : state) benchmark::DoNotOptimize(RenderSound(Chorded(), settings, *synth).data());
}

const ChordPlan kRecorded{true, {}};
const ChordPlan kTwelve = TwelveRoots();

BENCHMARK_CAPTURE(EventsOnly, as_recorded, kRecorded)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(EventsOnly, twelve_roots, kTwelve)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(WholeRender, as_recorded, kRecorded)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeRender, twelve_roots, kTwelve)->Unit(benchmark::kMillisecond);

// Audio time from HoldChord to the first note-on of the new chord, over holds at many
// points of the bar; the worst and the median.
void HoldToNote(benchmark::State& state) {
    TempDir dir;
    CKorvaneDoc doc;
    if (!doc.OnOpenDocument(dir.Write("Chorded.sty", ChordedStyle()))) {
        state.SkipWithError("does not load");
        return;
    }
    PumpedOutput* output = nullptr;
    CStylePlayer player([&output](PlayError&) {
        auto made = std::make_unique<PumpedOutput>();
        output = made.get();
        return made;
    });
    std::vector<double> waits;
    for (auto _ : state) {
        for (std::size_t offset = 0; offset < 44100; offset += 1531) {
            player.HoldChord(Chord{});
            if (player.Play(doc.Image(), doc.CurrentTrackEdits(), doc.Files(), "Main A", "font.sf2")) return;
            output->Pump(44100 + offset);
            const std::size_t before = output->synth.messages.size();
            const std::uint64_t held = output->synth.samples;
            player.HoldChord(*ParseChord("F#m7"));
            std::uint64_t first = 0;
            for (int block = 0; block < 200 && first == 0; ++block) {
                output->Pump(512);
                for (std::size_t i = before; i < output->synth.messages.size(); ++i) {
                    const SentMessage& m = output->synth.messages[i];
                    // The bass (channel 11): its first key after the hold sounds in the new chord.
                    if (m.status == 0x9A && m.data2 > 0) {
                        first = m.sample;
                        break;
                    }
                }
            }
            waits.push_back((first - held) * 1000.0 / 44100);
            player.Stop();
        }
    }
    std::sort(waits.begin(), waits.end());
    state.counters["median_ms"] = waits[waits.size() / 2];
    state.counters["worst_ms"] = waits.back();
}
BENCHMARK(HoldToNote)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
