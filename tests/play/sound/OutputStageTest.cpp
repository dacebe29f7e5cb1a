// SPDX-License-Identifier: GPL-3.0-or-later
// The output stage every sound passes (renders, stems, live play): the fixed gain, and a
// look-ahead limiter that lets no sample out above -1 dBFS and leaves the rest alone.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "play/sound/OutputStage.h"

namespace {

constexpr int kRate = 44100;

struct Stereo {
    std::vector<float> left;
    std::vector<float> right;
};

// Runs the sound through a new stage in blocks of the given size, as a render or the
// audio driver hands them over.
Stereo Process(Stereo sound, std::size_t block, double gainDb = kOutputGainDb) {
    OutputStage stage(kRate, gainDb);
    for (std::size_t at = 0; at < sound.left.size(); at += block) {
        const std::size_t frames = std::min(block, sound.left.size() - at);
        stage.Process(sound.left.data() + at, sound.right.data() + at, frames);
    }
    return sound;
}

// A sine at a level in dBFS (its peak), on both channels, plus an impulse train.
Stereo Sine(double peakDbfs, std::size_t frames, double hertz = 220.0) {
    Stereo sound{std::vector<float>(frames), std::vector<float>(frames)};
    const double amplitude = std::pow(10.0, peakDbfs / 20.0);
    for (std::size_t i = 0; i < frames; ++i) {
        sound.left[i] = static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * hertz * i / kRate));
        sound.right[i] = sound.left[i] * 0.5f;
    }
    return sound;
}

float Ceiling() { return static_cast<float>(std::pow(10.0, kLimiterCeilingDbfs / 20.0)); }

float Peak(const Stereo& sound) {
    float peak = 0.0f;
    for (const auto* channel : {&sound.left, &sound.right}) {
        for (const float v : *channel) peak = std::max(peak, std::fabs(v));
    }
    return peak;
}

// Full-scale clicks (a drum machine's worst), both signs, every 1,000 frames, some on
// one channel only: none leaves above the ceiling, and each still reaches it, where a
// clip or a slow compressor would flatten or dull it.
TEST(OutputStage, FullScaleImpulseTrainStaysBelowTheCeiling) {
    Stereo clicks{std::vector<float>(kRate), std::vector<float>(kRate)};
    for (std::size_t i = 500; i < clicks.left.size(); i += 1000) {
        clicks.left[i] = (i / 1000) % 2 ? 1.0f : -1.0f;
        clicks.right[i] = (i / 1000) % 3 ? -1.0f : 0.0f;
    }
    for (const std::size_t block : {std::size_t{1}, std::size_t{64}, std::size_t{333}, std::size_t{4096}}) {
        const Stereo out = Process(clicks, block);
        EXPECT_LE(Peak(out), Ceiling()) << "blocks of " << block;
        OutputStage stage(kRate);
        for (std::size_t i = 500; i + stage.Latency() < out.left.size(); i += 1000) {
            EXPECT_NEAR(std::fabs(out.left[i + stage.Latency()]), Ceiling(), 1e-3) << "click at " << i;
        }
    }
}

// A loud, steady tone 20 dB over full scale once the gain has had its way still leaves
// below the ceiling, and so does one that jumps there from silence.
TEST(OutputStage, LoudToneStaysBelowTheCeiling) {
    Stereo sound = Sine(-2.0, kRate, 997.0);
    std::fill(sound.left.begin(), sound.left.begin() + kRate / 2, 0.0f);
    std::fill(sound.right.begin(), sound.right.begin() + kRate / 2, 0.0f);
    const Stereo out = Process(sound, 512);
    EXPECT_LE(Peak(out), Ceiling());
    EXPECT_GT(Peak(out), Ceiling() * 0.95f);
}

// A sound that stays below the ceiling with the gain leaves as the gain made it, sample
// for sample, only later by the look-ahead.
TEST(OutputStage, QuietSoundPassesWithOnlyTheGain) {
    const double quietDbfs = kLimiterCeilingDbfs - kOutputGainDb - 3.0;
    const Stereo in = Sine(quietDbfs, kRate);
    const Stereo out = Process(in, 333);
    OutputStage stage(kRate);
    const std::size_t delay = stage.Latency();
    for (std::size_t i = 0; i < delay; ++i) ASSERT_EQ(out.left[i], 0.0f);
    for (std::size_t i = 0; i + delay < in.left.size(); ++i) {
        ASSERT_EQ(out.left[i + delay], in.left[i] * stage.Gain()) << i;
        ASSERT_EQ(out.right[i + delay], in.right[i] * stage.Gain()) << i;
    }
    // The gain is the one the constant names.
    EXPECT_NEAR(20 * std::log10(stage.Gain()), kOutputGainDb, 1e-5);
}

// One loud click on a quiet tone: the tone is left alone until the look-ahead reaches the
// click, and is back at its full level a second after it.
TEST(OutputStage, LimiterActsOnlyAroundAPeak) {
    const double quietDbfs = kLimiterCeilingDbfs - kOutputGainDb - 12.0;
    Stereo in = Sine(quietDbfs, 2 * kRate);
    const std::size_t click = kRate / 2;
    in.left[click] = 1.0f;
    const Stereo out = Process(in, 512);
    OutputStage stage(kRate);
    const std::size_t delay = stage.Latency();
    for (std::size_t i = 0; i + delay < click; ++i) ASSERT_EQ(out.left[i + delay], in.left[i] * stage.Gain()) << i;
    EXPECT_NEAR(out.left[click + delay], Ceiling(), 1e-3);
    for (std::size_t i = click + kRate; i + delay < in.left.size(); ++i) {
        ASSERT_NEAR(out.left[i + delay], in.left[i] * stage.Gain(), 1e-4) << i;
    }
}

// Whatever blocks the sound comes in, the same sound leaves, bit for bit.
TEST(OutputStage, BlocksDoNotChangeTheSound) {
    Stereo in = Sine(-6.0, kRate, 61.0);
    for (std::size_t i = 100; i < in.left.size(); i += 2205) in.right[i] = -1.0f;
    const Stereo whole = Process(in, in.left.size());
    for (const std::size_t block : {std::size_t{1}, std::size_t{7}, std::size_t{256}, std::size_t{1000}}) {
        const Stereo parts = Process(in, block);
        EXPECT_EQ(parts.left, whole.left) << "blocks of " << block;
        EXPECT_EQ(parts.right, whole.right) << "blocks of " << block;
    }
}

}  // namespace
