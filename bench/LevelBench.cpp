// SPDX-License-Identifier: GPL-3.0-or-later
// The level renders have over a folder of real styles, beside the aim (play/OutputStage.h):
// "Main A" of every style that loads, played once through TimGM6mb at 44,100 Hz with
// reverb and chorus, as scripts/check-render renders it; each render's RMS level and peak
// in dBFS, against 32768 as ../shared/tools/sound-sink reads them. It prints the median,
// the quietest and the loudest RMS level and the highest peak, at the output stage's gain.
//
// With --calibrate it first prints the same without any gain (the synthesizer's own level)
// and then looks for the gain that puts the median at the aim after the limiter: it starts
// from the difference of the median to the aim and corrects it by what a render at that
// gain still misses, until that is under 0.05 dB. kOutputGainDb is that gain, rounded.
//
// usage: korvane_level_bench [--calibrate] [CORPUS_FOLDER]

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "document/KorvaneDoc.h"
#include "msg/MessagePresenter.h"
#include "play/files/Render.h"
#include "play/sound/SynthFactory.h"

namespace {

const std::filesystem::path kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
constexpr int kRate = 44100;
constexpr double kAimMedianDbfs = -20.0;
constexpr double kAimToleranceDb = 3.0;
constexpr double kCloseEnoughDb = 0.05;
constexpr int kMostPasses = 8;

struct Quiet : CMessagePresenter {
    int Present(const MessageBoxRequest&) override { return 0; }
};

struct PlayableMainA {
    std::filesystem::path path;
    Timeline timeline;
    int section = 0;
};

struct Level {
    double rmsDbfs;
    double peakDbfs;
};

double Dbfs(double value) { return value > 0 ? 20 * std::log10(value / 32768.0) : -300.0; }

Level RenderLevel(const PlayableMainA& style, double gainDb) {
    PlayError error;
    std::unique_ptr<Synth> synth = MakeRenderSynth(SystemFileSystem(), kSoundFont, kRate, true, error);
    double sum = 0;
    std::uint64_t count = 0;
    int peak = 0;
    RenderSettings settings{style.section, 1, kRate, -1, ChordPlan{}};
    settings.gainDb = gainDb;
    RenderSound(style.timeline, settings, *synth, [&](std::span<const std::int16_t> block) {
        for (const std::int16_t sample : block) {
            sum += double(sample) * sample;
            peak = std::max(peak, std::abs(int{sample}));
        }
        count += block.size();
        return true;
    });
    return {count ? Dbfs(std::sqrt(sum / count)) : -300.0, Dbfs(peak)};
}

struct Distribution {
    double median;
    double quietest;
    double loudest;
    double highestPeak;
};

// Styles without a note in Main A render silence and are left out.
Distribution Measure(const std::vector<PlayableMainA>& styles, double gainDb) {
    std::vector<double> rms;
    double highestPeak = -300.0;
    for (const PlayableMainA& style : styles) {
        const Level level = RenderLevel(style, gainDb);
        if (level.peakDbfs <= -300.0) continue;
        rms.push_back(level.rmsDbfs);
        highestPeak = std::max(highestPeak, level.peakDbfs);
    }
    std::sort(rms.begin(), rms.end());
    const std::size_t middle = rms.size() / 2;
    const double median = rms.size() % 2 ? rms[middle] : (rms[middle - 1] + rms[middle]) / 2;
    return {median, rms.front(), rms.back(), highestPeak};
}

void Print(const char* what, std::size_t styles, const Distribution& d) {
    std::printf(
        "%s, Main A of %zu styles: median %.1f dBFS RMS (aim: %.0f +/- %.0f), quietest %.1f, loudest %.1f; "
        "highest peak %.1f dBFS (aim: none above %.0f dBFS)\n",
        what, styles, d.median, kAimMedianDbfs, kAimToleranceDb, d.quietest, d.loudest, d.highestPeak,
        kLimiterCeilingDbfs);
}

}  // namespace

int main(int argc, char** argv) {
    bool calibrate = false;
    std::filesystem::path folder = "../shared/corpus";
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--calibrate") == 0) {
            calibrate = true;
        } else {
            folder = argv[i];
        }
    }
    if (!HasSynthesizer() || !std::filesystem::exists(kSoundFont)) {
        std::printf("skipped: no synthesizer in this build, or %s is not installed\n", kSoundFont.string().c_str());
        return 0;
    }
    Quiet quiet;
    InstallMessagePresenter(&quiet);
    std::vector<std::filesystem::path> paths;
    if (std::filesystem::is_directory(folder)) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (entry.is_regular_file() && name != "SOURCES.tsv" && name != "README.md") paths.push_back(entry.path());
        }
    }
    std::sort(paths.begin(), paths.end());
    std::vector<PlayableMainA> styles;
    for (const std::filesystem::path& path : paths) {
        CKorvaneDoc doc;
        PlayableMainA style{path, {}, 0};
        if (doc.OnOpenDocument(path) && !BuildTimeline(doc.Image(), doc.CurrentTrackEdits(), style.timeline) &&
            !FindPlaySection(style.timeline, "Main A", style.section)) {
            styles.push_back(std::move(style));
        }
    }
    InstallMessagePresenter(nullptr);
    if (styles.empty()) {
        std::printf("skipped: no style with a Main A in %s\n", folder.string().c_str());
        return 0;
    }

    if (calibrate) {
        const Distribution unscaled = Measure(styles, 0.0);
        Print("without gain", styles.size(), unscaled);
        double gain = kAimMedianDbfs - unscaled.median;
        for (int pass = 0; pass < kMostPasses; ++pass) {
            const Distribution tried = Measure(styles, gain);
            std::printf("gain %.2f dB: median %.2f dBFS RMS\n", gain, tried.median);
            if (std::fabs(tried.median - kAimMedianDbfs) < kCloseEnoughDb) break;
            gain += kAimMedianDbfs - tried.median;
        }
        std::printf("the gain that puts the median at %.0f dBFS: %.1f dB (kOutputGainDb: %.1f dB)\n", kAimMedianDbfs,
                    gain, kOutputGainDb);
    }
    Print("at the output gain", styles.size(), Measure(styles, kOutputGainDb));
    return 0;
}
