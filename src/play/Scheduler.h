// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

#include "play/ChordCursor.h"
#include "play/sound/Synth.h"
#include "play/Voices.h"

// Sends a timeline's events to a synthesizer, each at its exact sample
// (ticks x microseconds per quarter / division, at the sample rate), and has the
// synthesizer render the sound between them. A file render and the audio driver's
// callback both call Render, so both play alike. Render neither allocates nor blocks.
class Scheduler {
public:
    // loops as PlayCursor takes them; chords as ChordCursor follows them (they must
    // outlive the scheduler); channel -1 plays all, 0-15 only that one (a stem).
    Scheduler(const Timeline& timeline, int section, int loops, const ChordPlan& chords, int sampleRate, Synth& synth,
              int channel = -1);

    // Adds frames of sound to left and right (zeroed by the caller).
    void Render(float* left, float* right, std::size_t frames);
    // Sends the events of the next frames and renders nothing.
    void Skip(std::uint64_t frames);
    bool Finished();
    // A timeline of the same track with other values, heard from the next event on.
    void Swap(const Timeline& timeline);

    // The chord held from the next frame on, or the progression from the next bar line.
    void HoldChord(const Chord& chord) { m_cursor.HoldChord(chord, TickAt(m_samples)); }
    void FollowProgression(const Progression& progression) {
        m_cursor.FollowProgression(progression, TickAt(m_samples));
    }
    void AwaitChord() { m_cursor.AwaitChord(); }
    const Chord& ChordNow() const { return m_cursor.ChordNow(); }

    int Section() const { return m_cursor.Section(); }
    std::uint32_t Quarter() const { return m_quarter; }  // microseconds per quarter now
    std::uint64_t Samples() const { return m_samples; }
    // The sample of the last event sent.
    std::uint64_t LastEventSample() const { return m_lastEventSample; }

private:
    template <class RenderGap>
    void Run(std::uint64_t frames, RenderGap renderGap);
    std::uint64_t SampleOf(std::uint64_t tick) const;
    std::uint64_t TickAt(std::uint64_t sample) const;
    void Dispatch(const TimelineEvent& event, std::uint64_t tick, int sourceKey);
    void SelectVoice(int channel);

    const Timeline* m_timeline;
    ChordCursor m_cursor;
    Synth& m_synth;
    int m_rate;
    int m_channel;
    StyleVoices m_voices{};
    // Time: the sample of a tick is counted from the last tempo change.
    std::uint64_t m_baseTick = 0;
    std::uint64_t m_baseSample = 0;
    std::uint32_t m_quarter;
    std::uint64_t m_samples = 0;
    std::uint64_t m_lastEventSample = 0;
};
