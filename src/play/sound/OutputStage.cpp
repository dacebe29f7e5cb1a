// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/sound/OutputStage.h"

#include <algorithm>
#include <cmath>

// How the limiter works, frame by frame (L frames of look-ahead):
// - need: the gain that keeps this frame's louder channel at the ceiling (1 when it is
//   below it);
// - held: the smallest need of this frame and the L before it;
// - the mean of the last L + 1 held values: each of them holds the need of the frame
//   that leaves the delay now, so the mean is never above it, and it falls towards a
//   peak over L + 1 frames instead of at once;
// - the gain follows that mean at once when it falls and eases back when it rises;
// - the frame from L frames ago leaves with that gain.
// So no frame leaves above the ceiling, and where no frame in reach needs less than 1
// the sound leaves exactly as the fixed gain made it.

OutputStage::OutputStage(int sampleRate, double gainDb)
    : m_gain(static_cast<float>(std::pow(10.0, gainDb / 20.0))),
      m_ceiling(static_cast<float>(std::pow(10.0, kLimiterCeilingDbfs / 20.0))),
      m_lookAhead(
          std::max<std::size_t>(1, static_cast<std::size_t>(std::lround(kLimiterLookAheadMs / 1000.0 * sampleRate)))),
      m_release(1.0 - std::exp(-1000.0 / (kLimiterReleaseMs * sampleRate))),
      m_delayLeft(m_lookAhead, 0.0f),
      m_delayRight(m_lookAhead, 0.0f),
      m_queue(m_lookAhead + 1),
      m_held(m_lookAhead + 1, kUnity),
      m_heldSum(std::uint64_t{kUnity} * (m_lookAhead + 1)) {}

double OutputStage::LimitingGain(float left, float right) {
    const float peak = std::max(std::fabs(left), std::fabs(right));
    // Rounded down, so that the fixed-point need never lets a frame pass the ceiling.
    const Fixed need = peak > m_ceiling ? static_cast<Fixed>(std::floor(double{m_ceiling} / peak * kUnity)) : kUnity;

    const std::size_t window = m_lookAhead + 1;
    while (m_queueSize > 0 && m_queue[m_queueFront].frame + m_lookAhead < m_frame) {
        m_queueFront = (m_queueFront + 1) % window;
        --m_queueSize;
    }
    while (m_queueSize > 0 && m_queue[(m_queueFront + m_queueSize - 1) % window].gain >= need) --m_queueSize;
    m_queue[(m_queueFront + m_queueSize) % window] = Need{need, m_frame};
    ++m_queueSize;
    ++m_frame;
    const Fixed held = m_queue[m_queueFront].gain;

    m_heldSum = m_heldSum - m_held[m_heldAt] + held;
    m_held[m_heldAt] = held;
    m_heldAt = (m_heldAt + 1) % window;
    const double smoothed = static_cast<double>(m_heldSum) / (static_cast<double>(kUnity) * window);

    if (smoothed <= m_limit || smoothed - m_limit < 1e-9) {
        m_limit = smoothed;
    } else {
        m_limit += (smoothed - m_limit) * m_release;
    }
    return m_limit;
}

void OutputStage::Process(float* left, float* right, std::size_t frames) {
    for (std::size_t i = 0; i < frames; ++i) {
        const float inLeft = left[i] * m_gain;
        const float inRight = right[i] * m_gain;
        const double limit = LimitingGain(inLeft, inRight);
        float outLeft = m_delayLeft[m_delayAt];
        float outRight = m_delayRight[m_delayAt];
        m_delayLeft[m_delayAt] = inLeft;
        m_delayRight[m_delayAt] = inRight;
        m_delayAt = (m_delayAt + 1) % m_lookAhead;
        if (limit < 1.0) {
            // The clamp only catches the last bit of rounding.
            outLeft = std::clamp(static_cast<float>(outLeft * limit), -m_ceiling, m_ceiling);
            outRight = std::clamp(static_cast<float>(outRight * limit), -m_ceiling, m_ceiling);
        }
        left[i] = outLeft;
        right[i] = outRight;
    }
}
