// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/Scheduler.h"

#include <algorithm>

namespace {
__extension__ using Wide = unsigned __int128;
constexpr std::uint64_t kMicrosecondsPerSecond = 1000000;
}  // namespace

Scheduler::Scheduler(const Timeline& timeline, int section, int loops, const ChordPlan& chords, int sampleRate,
                     Synth& synth, int channel)
    : m_timeline(&timeline),
      m_cursor(timeline, section, loops, chords),
      m_synth(synth),
      m_rate(sampleRate),
      m_channel(channel),
      m_quarter(timeline.setUpTempo) {}

std::uint64_t Scheduler::SampleOf(std::uint64_t tick) const {
    // The volumes resent after a swap carry the tick of the last event, which may lie
    // before a tempo change made at the swap.
    if (tick <= m_baseTick) return m_baseSample;
    const Wide elapsed = Wide{tick - m_baseTick} * m_quarter * static_cast<std::uint64_t>(m_rate) /
                         (Wide{static_cast<std::uint64_t>(m_timeline->division)} * kMicrosecondsPerSecond);
    return m_baseSample + static_cast<std::uint64_t>(elapsed);
}

std::uint64_t Scheduler::TickAt(std::uint64_t sample) const {
    const Wide elapsed = Wide{sample - m_baseSample} * static_cast<std::uint64_t>(m_timeline->division) *
                         kMicrosecondsPerSecond / (Wide{m_quarter} * static_cast<std::uint64_t>(m_rate));
    return m_baseTick + static_cast<std::uint64_t>(elapsed);
}

bool Scheduler::Finished() {
    TimelineEvent event;
    std::uint64_t tick = 0;
    return !m_cursor.Peek(event, tick);
}

void Scheduler::Render(float* left, float* right, std::size_t frames) {
    Run(frames, [&](std::size_t offset, std::size_t count) { m_synth.Render(left + offset, right + offset, count); });
}

void Scheduler::Skip(std::uint64_t frames) {
    Run(frames, [](std::uint64_t, std::uint64_t) {});
}

template <class RenderGap>
void Scheduler::Run(std::uint64_t frames, RenderGap renderGap) {
    const std::uint64_t start = m_samples;
    const std::uint64_t end = m_samples + frames;
    TimelineEvent event;
    std::uint64_t tick = 0;
    while (m_cursor.Peek(event, tick)) {
        const std::uint64_t at = std::max(SampleOf(tick), m_samples);
        if (at >= end) break;
        if (at > m_samples) {
            renderGap(static_cast<std::size_t>(m_samples - start), static_cast<std::size_t>(at - m_samples));
            m_samples = at;
        }
        const int sourceKey = m_cursor.SourceKey();
        m_cursor.Advance();
        m_lastEventSample = at;
        Dispatch(event, tick, sourceKey);
    }
    if (m_samples < end)
        renderGap(static_cast<std::size_t>(m_samples - start), static_cast<std::size_t>(end - m_samples));
    m_samples = end;
}

void Scheduler::Dispatch(const TimelineEvent& event, std::uint64_t tick, int sourceKey) {
    if (event.kind == TimelineEvent::Kind::Tempo) {
        // Counting on from the last change keeps every sample exact while the tempo
        // stays (each loop starts with the style's tempo once more).
        if (event.value == m_quarter) return;
        m_baseSample = std::max(SampleOf(tick), m_samples);
        m_baseTick = tick;
        m_quarter = std::max<std::uint32_t>(event.value, 1);
        return;
    }
    int channel = 0;
    const bool asStored = m_synth.TakesStyleVoices();
    if (TakeVoiceEvent(m_voices, event, *m_timeline, channel) && !asStored) {
        SelectVoice(channel);
        return;
    }
    if (event.kind == TimelineEvent::Kind::SysEx && asStored) {
        m_synth.SendSysEx(std::span(m_timeline->sysex).subspan(event.value, event.length));
        return;
    }
    if (event.kind != TimelineEvent::Kind::Channel) return;
    const std::uint8_t kind = event.MessageKind();
    // Bank selects: for a SoundFont the voice decides; another instrument takes them as stored.
    if (kind == 0xB && (event.data1 == 0 || event.data1 == 32) && !asStored) return;
    if (m_channel >= 0 && event.Channel() != m_channel) return;
    // Effect notes are keys of the recording, wherever a chord moved them.
    if (event.IsNoteOn() && IsMegaVoice(m_voices[event.Channel()]) && sourceKey >= kMegaVoiceEffectNotesFrom) return;
    m_synth.SendChannelMessage(event.status, event.data1, event.data2);
}

void Scheduler::SelectVoice(int channel) {
    m_synth.SelectVoice(channel, DecideVoice(m_voices[channel], channel, m_synth));
}

void Scheduler::Swap(const Timeline& timeline) {
    const std::uint64_t now = TickAt(m_samples);
    m_timeline = &timeline;
    const std::uint32_t quarter = m_cursor.Swap(timeline);
    if (quarter != m_quarter) {
        m_baseTick = now;
        m_baseSample = m_samples;
        m_quarter = std::max<std::uint32_t>(quarter, 1);
    }
}
