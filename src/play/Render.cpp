// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/Render.h"

#include <algorithm>
#include <cmath>

#include "play/Scheduler.h"

namespace {

constexpr std::size_t kBlock = 512;

std::int16_t ToSample(float value) {
    return static_cast<std::int16_t>(std::lround(std::clamp(value, -1.0f, 1.0f) * 32767.0f));
}

// Takes the events and makes no sound.
class NoSound : public Synth {
public:
    void SendChannelMessage(std::uint8_t, std::uint8_t, std::uint8_t) override {}
    void SelectVoice(int, const SoundFontVoice&) override {}
    void Render(float*, float*, std::size_t) override {}
    void Reset() override {}
    bool HasPreset(int, int) const override { return true; }
};

}  // namespace

std::uint64_t SoundFrames(const Timeline& timeline, const RenderSettings& settings) {
    NoSound none;
    Scheduler scheduler(timeline, settings.section, settings.loops, settings.chords, settings.sampleRate, none,
                        settings.channel);
    constexpr std::uint64_t kStride = std::uint64_t{1} << 32;
    while (!scheduler.Finished()) scheduler.Skip(kStride);
    return scheduler.LastEventSample();
}

std::vector<std::int16_t> RenderSound(const Timeline& timeline, const RenderSettings& settings, Synth& synth) {
    Scheduler scheduler(timeline, settings.section, settings.loops, settings.chords, settings.sampleRate, synth,
                        settings.channel);
    std::vector<std::int16_t> sound;
    float left[kBlock];
    float right[kBlock];
    const float quiet = static_cast<float>(std::pow(10.0, kDecayEndDbfs / 20.0));
    const std::uint64_t longestDecay = std::uint64_t{kLongestDecaySeconds} * settings.sampleRate;
    std::uint64_t decay = 0;
    bool playing = true;
    while (true) {
        std::fill(std::begin(left), std::end(left), 0.0f);
        std::fill(std::begin(right), std::end(right), 0.0f);
        scheduler.Render(left, right, kBlock);
        float peak = 0.0f;
        for (std::size_t i = 0; i < kBlock; ++i) {
            sound.push_back(ToSample(left[i]));
            sound.push_back(ToSample(right[i]));
            peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
        }
        if (playing) {
            playing = !scheduler.Finished();
            continue;
        }
        decay += kBlock;
        if (peak < quiet || decay >= longestDecay) break;
    }
    return sound;
}
