// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The level every sound Korvane makes is heard at: file renders, their stems and live play
// all pass one output stage, a fixed gain and a peak limiter, so they sound alike.
//
// How the gain was chosen: over a corpus of 232 real styles (every style of
// ../shared/corpus that loads and has a "Main A"), each Main A rendered once through
// TimGM6mb at 44,100 Hz with reverb and chorus, as scripts/check-render renders it, the
// synthesizer alone gave a median RMS level of -42.2 dBFS (quietest -58.3, loudest -29.2,
// no peak above -7.0 dBFS), about 20 dB below ordinary music. The gain is the one that
// puts that median at -20 dBFS RMS once the limiter has done its part (it takes a little
// off the louder half), found by `korvane_level_bench --calibrate FOLDER`, which renders
// the corpus at a gain and corrects the gain by what the median still misses (22.2 dB
// gave -20.75, 22.95 gave -20.06, 23.01 gave -20.00), rounded to a whole decibel. It is
// one fixed number for every sound, never fitted to a file: what a style or its edits
// make louder or softer stays louder or softer by as much, below the limiter's ceiling.
inline constexpr double kOutputGainDb = 23.0;
// The limiter leaves every sample that the gain keeps at or below this level as it is,
// and lets none out above it.
inline constexpr double kLimiterCeilingDbfs = -1.0;
// How far ahead the limiter looks, so that its gain has come down smoothly by the time a
// peak arrives: drums keep their attack instead of being clipped.
inline constexpr double kLimiterLookAheadMs = 2.0;
// How fast the limiter's gain returns (time constant) after a peak has passed.
inline constexpr double kLimiterReleaseMs = 80.0;

// The output stage: the fixed gain, then a look-ahead peak limiter with one gain for
// both channels (the stereo picture stays). The sound leaves it Latency() frames later
// than it went in. It allocates only when made, never in Process, and computes alike
// on every run: the same input gives the same output.
class OutputStage {
public:
    explicit OutputStage(int sampleRate, double gainDb = kOutputGainDb);

    // Takes frames of sound and gives back as many, in place: the gain applied, limited,
    // delayed by Latency() frames (the first ones give silence).
    void Process(float* left, float* right, std::size_t frames);
    std::size_t Latency() const { return m_lookAhead; }
    float Gain() const { return m_gain; }

private:
    // The gains the limiter needs, in fixed point so that sums of them are exact.
    using Fixed = std::uint32_t;
    static constexpr Fixed kUnity = Fixed{1} << 24;

    double LimitingGain(float left, float right);

    float m_gain;
    float m_ceiling;
    std::size_t m_lookAhead;  // frames
    double m_release;         // how much of the way back to the needed gain one frame goes

    // The sound of the last m_lookAhead frames, waiting to leave.
    std::vector<float> m_delayLeft;
    std::vector<float> m_delayRight;
    std::size_t m_delayAt = 0;

    // The smallest gain needed over the last m_lookAhead + 1 frames: a queue of rising
    // gains with the frame each was needed at, the oldest at m_queueFront.
    struct Need {
        Fixed gain;
        std::uint64_t frame;
    };
    std::vector<Need> m_queue;
    std::size_t m_queueFront = 0;
    std::size_t m_queueSize = 0;
    std::uint64_t m_frame = 0;

    // The mean of those smallest gains over the last m_lookAhead + 1 frames: the gain
    // comes down along it, reaching a peak's gain by the frame the peak leaves.
    std::vector<Fixed> m_held;
    std::size_t m_heldAt = 0;
    std::uint64_t m_heldSum;

    double m_limit = 1.0;  // the gain now
};
