// SPDX-License-Identifier: GPL-3.0-or-later
// Playback figures, each printed beside its aim:
// - render speed: "Main A" of every style in a folder (one loop, TimGM6mb, reverb and
//   chorus on) rendered to samples, as a multiple of the sound's own length; the
//   median over the folder is the figure (aim: at least 100 times real time);
// - Play to first sound: from CStylePlayer::Play, the SoundFont already loaded, to the
//   audio callback's first buffer that holds sound, plus the driver's buffer it still
//   has to pass (aim: under 50 ms). Needs a sound server: run it under
//   ../shared/tools/sound-sink.
//
// usage: korvane_render_bench [CORPUS_FOLDER] [benchmark options]

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "document/KorvaneDoc.h"
#include "msg/MessagePresenter.h"
#include "play/Player.h"
#include "play/files/Render.h"
#include "play/sound/SynthFactory.h"

namespace {

const std::filesystem::path kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
constexpr int kRate = 44100;
constexpr double kRenderAim = 100.0;
constexpr double kLatencyAimMs = 50.0;
// The live output's period size and count (FluidAudioOutput).
constexpr double kDriverBufferMs = 256.0 * 4 / kRate * 1000;

struct Quiet : CMessagePresenter {
    int Present(const MessageBoxRequest&) override { return 0; }
};

std::vector<double> g_speeds;

void RenderStyle(benchmark::State& state, const std::filesystem::path& path) {
    CKorvaneDoc doc;
    Timeline timeline;
    int section = 0;
    if (!doc.OnOpenDocument(path) || BuildTimeline(doc.Image(), doc.CurrentTrackEdits(), timeline) || FindPlaySection(timeline, "Main A", section)) {
        state.SkipWithError("does not load or has no Main A");
        return;
    }
    double speed = 0;
    for (auto _ : state) {
        PlayError error;
        std::unique_ptr<Synth> synth = MakeRenderSynth(SystemFileSystem(), kSoundFont, kRate, true, error);
        const auto start = std::chrono::steady_clock::now();
        const std::vector<std::int16_t> sound =
            RenderSound(timeline, RenderSettings{section, 1, kRate, -1, ChordPlan{}}, *synth);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        benchmark::DoNotOptimize(sound.data());
        speed = sound.size() / 2.0 / kRate / took.count();
    }
    state.counters["x_real_time"] = speed;
    g_speeds.push_back(speed);
}

// Wraps the system's output to see when the first buffer with sound is filled.
struct TimedSource : AudioSource {
    AudioSource* inner = nullptr;
    std::atomic<bool> sounded{false};
    std::chrono::steady_clock::time_point at;
    void Fill(float* left, float* right, std::size_t frames) override {
        inner->Fill(left, right, frames);
        if (!sounded && std::any_of(left, left + frames, [](float v) { return v != 0.0f; })) {
            at = std::chrono::steady_clock::now();
            sounded = true;
        }
    }
};

struct TimedOutput : AudioOutput {
    std::unique_ptr<AudioOutput> system;
    TimedSource source;
    PlayError LoadSoundFont(FileSystem& files, const std::filesystem::path& file) override {
        return system->LoadSoundFont(files, file);
    }
    Synth& GetSynth() override { return system->GetSynth(); }
    int SampleRate() const override { return system->SampleRate(); }
    PlayError Start(AudioSource& inner) override {
        source.inner = &inner;
        source.sounded = false;
        return system->Start(source);
    }
    void Stop() override { system->Stop(); }
};

void PlayToFirstSound(benchmark::State& state, const std::filesystem::path& path) {
    TimedOutput* timed = nullptr;
    CStylePlayer player([&timed](PlayError& error) -> std::unique_ptr<AudioOutput> {
        auto output = std::make_unique<TimedOutput>();
        output->system = MakeSystemAudioOutput(error);
        if (!output->system) return nullptr;
        timed = output.get();
        return output;
    });
    CKorvaneDoc doc;
    if (!doc.OnOpenDocument(path)) {
        state.SkipWithError("does not load");
        return;
    }
    if (PlayError error = player.Play(doc.Image(), doc.CurrentTrackEdits(), doc.Files(), "Main A", kSoundFont)) {  // loads the SoundFont
        state.SkipWithError(error->c_str());
        return;
    }
    player.Stop();
    std::vector<double> latencies;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (player.Play(doc.Image(), doc.CurrentTrackEdits(), doc.Files(), "Main A", kSoundFont)) break;
        while (!timed->source.sounded) std::this_thread::sleep_for(std::chrono::microseconds(200));
        latencies.push_back(std::chrono::duration<double, std::milli>(timed->source.at - start).count());
        player.Stop();
    }
    if (latencies.empty()) return;
    std::sort(latencies.begin(), latencies.end());
    const double median = latencies[latencies.size() / 2];
    state.counters["ms_to_buffer"] = median;
    std::printf(
        "Play to first sound: %.1f ms to the first buffer with sound + %.1f ms driver buffer = %.1f ms "
        "(aim: under %.0f ms)\n",
        median, kDriverBufferMs, median + kDriverBufferMs, kLatencyAimMs);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const std::filesystem::path folder = argc > 1 ? argv[1] : "../shared/corpus";
    Quiet quiet;
    InstallMessagePresenter(&quiet);
    if (!HasSynthesizer()) {
        std::printf("skipped: this build has no synthesizer\n");
        return 0;
    }
    if (!std::filesystem::exists(kSoundFont)) {
        std::printf("skipped: %s is not installed\n", kSoundFont.string().c_str());
        return 0;
    }
    std::vector<std::filesystem::path> styles;
    if (std::filesystem::is_directory(folder)) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (entry.is_regular_file() && name != "SOURCES.tsv" && name != "README.md") styles.push_back(entry.path());
        }
    }
    std::sort(styles.begin(), styles.end());
    if (styles.empty()) {
        std::printf("skipped: no styles in %s\n", folder.string().c_str());
        return 0;
    }
    for (const auto& style : styles) {
        benchmark::RegisterBenchmark(("render/" + style.filename().string()).c_str(), RenderStyle, style)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("play_to_first_sound", PlayToFirstSound, styles.front())->Iterations(10);
    benchmark::RunSpecifiedBenchmarks();
    if (!g_speeds.empty()) {
        std::sort(g_speeds.begin(), g_speeds.end());
        std::printf("Render speed over %zu styles: median %.0fx real time, slowest %.0fx (aim: at least %.0fx)\n",
                    g_speeds.size(), g_speeds[g_speeds.size() / 2], g_speeds.front(), kRenderAim);
    }
    InstallMessagePresenter(nullptr);
    benchmark::Shutdown();
    return 0;
}
