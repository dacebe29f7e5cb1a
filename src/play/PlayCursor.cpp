// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/PlayCursor.h"

namespace {

constexpr std::uint8_t kSustain = 64;
constexpr std::uint8_t kModulation = 1;
constexpr std::uint8_t kExpression = 11;
constexpr std::uint8_t kVolume = 7;

TimelineEvent SectionMarker(int section) {
    TimelineEvent event;
    event.kind = TimelineEvent::Kind::Marker;
    event.data1 = static_cast<std::uint8_t>(section);
    return event;
}

TimelineEvent ChannelMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    TimelineEvent event;
    event.status = status;
    event.data1 = data1;
    event.data2 = data2;
    return event;
}

bool IsVolume(const TimelineEvent& event) {
    return event.kind == TimelineEvent::Kind::Channel && event.MessageKind() == 0xB && event.data1 == kVolume;
}

}  // namespace

PlayCursor::PlayCursor(const Timeline& timeline, int section, int loops)
    : m_timeline(&timeline), m_section(section), m_loops(loops), m_present(timeline.Present()) {
    // Every note of every channel, four resets each, the tempo and the marker at a boundary, and a volume
    // each after a swap.
    m_queue.reserve(16 * 128 + 16 * 6 + 1);
}

const std::vector<TimelineEvent>& PlayCursor::Events() const {
    return m_phase == Phase::SetUp ? m_timeline->setUp : m_current->events;
}

void PlayCursor::Settle() {
    while (m_queuePos == m_queue.size()) {
        m_queue.clear();
        m_queuePos = 0;
        m_endedSection = -1;
        if (m_phase == Phase::Done) return;
        if (m_index < Events().size()) return;
        if (m_phase == Phase::SetUp) {
            m_current = m_timeline->Find(m_section);
            m_phase = m_current ? Phase::Section : Phase::Done;
            m_index = 0;
            if (m_current) {
                m_queueTick = 0;
                m_queue.push_back(SectionMarker(m_section));
            }
        } else {
            EndSection();
        }
    }
}

void PlayCursor::EndSection() {
    m_endedSection = m_section;
    m_queueTick = m_sectionStart + m_current->length;
    for (int channel = 0; channel < 16; ++channel) {
        const auto status = [channel](int kind) { return static_cast<std::uint8_t>((kind << 4) | channel); };
        for (int note = 0; note < 128; ++note) {
            if (m_sounding[channel][note]) m_queue.push_back(ChannelMessage(status(0x8), std::uint8_t(note), 0));
        }
        m_sounding[channel].reset();
        if (!m_timeline->channelsUsed[channel]) continue;
        m_queue.push_back(ChannelMessage(status(0xB), kSustain, 0));
        m_queue.push_back(ChannelMessage(status(0xB), kModulation, 0));
        m_queue.push_back(ChannelMessage(status(0xB), kExpression, 127));
        m_queue.push_back(ChannelMessage(status(0xE), 0, 64));
    }

    const std::optional<int> next = NextSection(m_section, m_present);
    ++m_played;
    // A section of no length would loop without time passing.
    const bool again = next == m_section && m_current->length > 0 && (m_loops == 0 || m_played < m_loops);
    if (!next || (*next == m_section && !again)) {
        m_phase = Phase::Done;
        return;
    }
    if (*next != m_section) m_played = 0;
    m_sectionStart = m_queueTick;
    m_section = *next;
    m_current = m_timeline->Find(m_section);
    m_index = 0;
    // Each section starts at the style's tempo, as the set-up gives it; Peek reads it
    // when the boundary plays, so a tempo edit swapped in before then holds.
    TimelineEvent tempo;
    tempo.kind = TimelineEvent::Kind::Tempo;
    m_queue.push_back(tempo);
    m_queue.push_back(SectionMarker(m_section));
}

bool PlayCursor::FromSection(std::span<const TimelineEvent>& events, std::size_t& index) const {
    if (m_queuePos < m_queue.size() || m_phase != Phase::Section || m_index >= m_current->events.size()) return false;
    events = m_current->events;
    index = m_index;
    return true;
}

bool PlayCursor::Peek(TimelineEvent& event, std::uint64_t& tick) {
    Settle();
    if (m_queuePos < m_queue.size()) {
        event = m_queue[m_queuePos];
        if (event.kind == TimelineEvent::Kind::Tempo) event.value = m_timeline->setUpTempo;
        tick = m_queueTick;
        return true;
    }
    if (m_phase == Phase::Done) return false;
    event = Events()[m_index];
    tick = m_phase == Phase::SetUp ? 0 : m_sectionStart + event.tick;
    return true;
}

void PlayCursor::Advance() {
    TimelineEvent event;
    std::uint64_t tick = 0;
    if (!Peek(event, tick)) return;
    if (m_queuePos < m_queue.size()) {
        ++m_queuePos;
    } else {
        ++m_index;
    }
    m_lastTick = tick;
    Emit(event);
}

void PlayCursor::Emit(const TimelineEvent& event) {
    if (event.IsNoteOn()) m_sounding[event.Channel()][event.data1] = true;
    if (event.IsNoteOff()) m_sounding[event.Channel()][event.data1] = false;
}

std::uint32_t PlayCursor::Swap(const Timeline& timeline, std::uint64_t now) {
    m_timeline = &timeline;
    if (m_current) m_current = m_timeline->Find(m_section);
    if (m_current == nullptr && m_phase == Phase::Section) m_phase = Phase::Done;
    m_present = timeline.Present();

    // The volume and tempo last set before this point, in the set-up or the section.
    std::array<int, 16> volume;
    volume.fill(-1);
    std::uint32_t tempo = timeline.setUpTempo;
    const auto take = [&](const TimelineEvent& e) {
        if (IsVolume(e)) volume[e.Channel()] = e.data2;
        if (e.kind == TimelineEvent::Kind::Tempo) tempo = e.value;
    };
    for (const TimelineEvent& e : timeline.setUp) take(e);
    // Until the boundary plays, the section that ended is still heard, all of it.
    const TimelineSection* ended = m_endedSection >= 0 ? timeline.Find(m_endedSection) : nullptr;
    if (ended) {
        tempo = timeline.setUpTempo;
        for (const TimelineEvent& e : ended->events) take(e);
    } else if (m_phase == Phase::Section) {
        tempo = timeline.setUpTempo;
        for (std::size_t i = 0; i < m_index && i < m_current->events.size(); ++i) take(m_current->events[i]);
    }
    if (m_queuePos == m_queue.size()) {
        m_queue.clear();
        m_queuePos = 0;
        m_endedSection = -1;
        m_queueTick = now;
    }
    for (int channel = 0; channel < 16; ++channel) {
        if (volume[channel] >= 0 && m_queue.size() < m_queue.capacity()) {
            m_queue.push_back(ChannelMessage(static_cast<std::uint8_t>(0xB0 | channel), kVolume,
                                             static_cast<std::uint8_t>(volume[channel])));
        }
    }
    return tempo;
}
