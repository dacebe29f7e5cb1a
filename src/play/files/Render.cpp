// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/files/Render.h"

#include <algorithm>
#include <cmath>

#include "play/sound/NoSound.h"
#include "play/Scheduler.h"

namespace {

constexpr std::size_t kBlock = 512;

std::int16_t ToSample(float value) {
    return static_cast<std::int16_t>(std::lround(std::clamp(value, -1.0f, 1.0f) * 32767.0f));
}

}  // namespace

std::uint64_t SoundFrames(const Timeline& timeline, const RenderSettings& settings) {
    NoSound none;
    Scheduler scheduler(timeline, settings.section, settings.loops, settings.chords, settings.sampleRate, none,
                        settings.channel);
    constexpr std::uint64_t kStride = std::uint64_t{1} << 32;
    while (!scheduler.Finished()) scheduler.Skip(kStride);
    return scheduler.LastEventSample();
}

bool RenderSound(const Timeline& timeline, const RenderSettings& settings, Synth& synth,
                 const SoundBlockWriter& write) {
    Scheduler scheduler(timeline, settings.section, settings.loops, settings.chords, settings.sampleRate, synth,
                        settings.channel);
    OutputStage stage(settings.sampleRate, settings.gainDb);
    float left[kBlock];
    float right[kBlock];
    std::int16_t samples[2 * kBlock];
    // The stage's first frames are its delay, silence that is left out; as many frames
    // of silence after the end bring the last of the sound out of it.
    std::size_t delay = stage.Latency();
    const auto pass = [&](std::size_t frames) {
        stage.Process(left, right, frames);
        const std::size_t first = std::min(delay, frames);
        delay -= first;
        std::size_t count = 0;
        for (std::size_t i = first; i < frames; ++i) {
            samples[count++] = ToSample(left[i]);
            samples[count++] = ToSample(right[i]);
        }
        return count == 0 || write(std::span<const std::int16_t>(samples, count));
    };

    const float quiet = static_cast<float>(std::pow(10.0, kDecayEndDbfs / 20.0));
    const std::uint64_t longestDecay = std::uint64_t{kLongestDecaySeconds} * settings.sampleRate;
    std::uint64_t decay = 0;
    bool playing = true;
    while (true) {
        std::fill(std::begin(left), std::end(left), 0.0f);
        std::fill(std::begin(right), std::end(right), 0.0f);
        scheduler.Render(left, right, kBlock);
        if (!pass(kBlock)) return false;
        if (playing) {
            playing = !scheduler.Finished();
            continue;
        }
        float peak = 0.0f;
        for (std::size_t i = 0; i < kBlock; ++i) peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
        decay += kBlock;
        if (peak < quiet || decay >= longestDecay) break;
    }
    for (std::size_t remaining = stage.Latency(); remaining > 0;) {
        const std::size_t frames = std::min(remaining, kBlock);
        std::fill(std::begin(left), std::end(left), 0.0f);
        std::fill(std::begin(right), std::end(right), 0.0f);
        if (!pass(frames)) return false;
        remaining -= frames;
    }
    return true;
}

std::vector<std::int16_t> RenderSound(const Timeline& timeline, const RenderSettings& settings, Synth& synth) {
    std::vector<std::int16_t> sound;
    RenderSound(timeline, settings, synth, [&sound](std::span<const std::int16_t> block) {
        sound.insert(sound.end(), block.begin(), block.end());
        return true;
    });
    return sound;
}
