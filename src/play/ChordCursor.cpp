// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/ChordCursor.h"

#include <algorithm>

#include "play/chords/ChordRules.h"

namespace {

std::uint32_t BarTicksOf(const TimelineEvent& signature, int division) {
    const std::uint64_t numerator = signature.data1 == 0 ? 4 : signature.data1;
    const int power = std::min<int>(signature.data2, 16);
    const std::uint64_t ticks = numerator * static_cast<std::uint64_t>(division) * 4 >> power;
    return static_cast<std::uint32_t>(std::clamp<std::uint64_t>(ticks, 1, std::numeric_limits<std::int32_t>::max()));
}

// The bar of the set-up's time signature, 4/4 without one.
std::uint32_t SetUpBarTicks(const Timeline& timeline) {
    TimelineEvent fourFour;
    fourFour.data1 = kBeatsWithoutTimeSignature;
    fourFour.data2 = kBeatPowerWithoutTimeSignature;
    std::uint32_t bar = BarTicksOf(fourFour, timeline.division);
    for (const TimelineEvent& e : timeline.setUp) {
        if (e.kind == TimelineEvent::Kind::TimeSignature) bar = BarTicksOf(e, timeline.division);
    }
    return bar;
}

}  // namespace

ChordCursor::ChordCursor(const Timeline& timeline, int section, int loops, const ChordPlan& plan)
    : m_cursor(timeline, section, loops), m_timeline(&timeline), m_asRecorded(plan.asRecorded) {
    for (auto& channel : m_pitch) channel.fill(kQuiet);
    // A chord change may stop or strike again every key of every channel.
    m_queue.reserve(2 * 16 * 128 + 1);
    m_queueKeys.reserve(m_queue.capacity());
    m_barTicks = SetUpBarTicks(timeline);
    if (!m_asRecorded && plan.progression.Bars() > 0) {
        m_progression = &plan.progression;
        ScheduleNextChange(0);
    }
}

const ChannelRules* ChordCursor::RulesFor(int channel) const {
    const std::optional<ChannelRules>& rules = m_timeline->rules.sections[m_cursor.Section()][channel];
    return rules ? &*rules : nullptr;
}

std::int64_t ChordCursor::BarIndex(std::uint64_t tick) const {
    return m_anchorBar + static_cast<std::int64_t>((tick - m_anchorTick) / m_barTicks);
}

std::uint64_t ChordCursor::BarStart(std::int64_t bar) const {
    return m_anchorTick + static_cast<std::uint64_t>(bar - m_anchorBar) * m_barTicks;
}

std::uint64_t ChordCursor::ProgressionTick(std::uint64_t tick) const {
    const std::int64_t bar = BarIndex(tick);
    return static_cast<std::uint64_t>(bar - m_firstBar) * m_barTicks + (tick - BarStart(bar));
}

void ChordCursor::SetBar(std::uint32_t barTicks, std::uint64_t tick) {
    if (barTicks == m_barTicks || tick < m_anchorTick) return;
    // The bar under way ends here; the next one starts with the new length.
    const std::int64_t bar = BarIndex(tick);
    m_anchorBar = tick == BarStart(bar) ? bar : bar + 1;
    m_anchorTick = tick;
    m_barTicks = barTicks;
    if (m_waiting) {
        m_nextChange = std::max(m_nextChange, tick);
    } else if (m_progression) {
        ScheduleNextChange(tick);
    }
}

void ChordCursor::ScheduleNextChange(std::uint64_t from) {
    m_nextChange = kNever;
    if (!m_progression) return;
    const std::uint64_t progressionTick = ProgressionTick(from);
    const std::optional<ChordChange> change = m_progression->NextChange(progressionTick, m_barTicks);
    if (!change) return;
    m_nextChange = from + (change->tick - progressionTick);
    m_nextChord = change->chord;
    m_nextText = m_progression->TextAt(change->tick, m_barTicks);
}

void ChordCursor::TakeBackNote() {
    if (!m_note.active) return;
    m_queue.clear();
    m_queueKeys.clear();
    m_queuePos = 0;
    m_note.active = false;
}

void ChordCursor::HoldChord(const Chord& chord, std::uint64_t tick) {
    if (m_asRecorded) return;
    // A key waiting to be given was translated in the old chord.
    TakeBackNote();
    m_progression = nullptr;
    m_waiting = nullptr;
    m_nextChange = std::max(tick, m_lastTick);
    m_nextChord = chord;
    m_nextText = {};
}

void ChordCursor::FollowProgression(const Progression& progression, std::uint64_t tick) {
    if (m_asRecorded || progression.Bars() == 0) return;
    TakeBackNote();
    tick = std::max(tick, m_lastTick);
    const std::int64_t bar = BarIndex(tick);
    const std::uint64_t start = BarStart(bar) == tick ? tick : BarStart(bar + 1);
    m_waiting = &progression;
    m_nextChange = start;
    m_nextChord = progression.ChordAt(0, m_barTicks);
    m_nextText = progression.TextAt(0, m_barTicks);
}

bool ChordCursor::ChangeDue(const TimelineEvent& next, std::uint64_t tick) const {
    if (m_nextChange > tick) return false;
    // Whatever else comes at the change's own tick goes first, so that a note ending
    // there is not struck again and the section's marker comes before the chord's.
    return m_nextChange < tick || next.IsNoteOn();
}

void ChordCursor::Push(std::uint8_t status, int pitch, std::uint8_t velocity, int sourceKey) {
    TimelineEvent event;
    event.status = status;
    event.data1 = static_cast<std::uint8_t>(pitch);
    event.data2 = velocity;
    m_queue.push_back(event);
    m_queueKeys.push_back(static_cast<std::uint8_t>(sourceKey));
}

void ChordCursor::EndPitch(int channel, int pitch, std::uint8_t status, std::uint8_t velocity, int sourceKey) {
    std::uint8_t& uses = m_uses[channel][pitch];
    if (uses > 0) --uses;
    // Two keys the chord put on one pitch: the pitch sounds until both have ended.
    if (uses == 0) Push(status, pitch, velocity, sourceKey);
}

std::bitset<128> ChordCursor::SoundingKeys(int channel) const {
    std::bitset<128> sounding;
    for (std::size_t pitch = 0; pitch < 128; ++pitch) sounding[pitch] = m_uses[channel][pitch] > 0;
    return sounding;
}

std::array<std::bitset<128>, 16> ChordCursor::KeysEndingAt(std::uint64_t tick, std::uint64_t nextTick) const {
    std::array<std::bitset<128>, 16> ending;
    std::span<const TimelineEvent> events;
    std::size_t index = 0;
    if (tick != nextTick || !m_cursor.FromSection(events, index)) return ending;
    for (std::size_t i = index; i < events.size() && events[i].tick == events[index].tick; ++i) {
        // A key struck again ends its first sound there too.
        if (events[i].IsNoteOff() || events[i].IsNoteOn()) ending[events[i].Channel()][events[i].data1] = true;
    }
    return ending;
}

void ChordCursor::ApplyChange(std::uint64_t nextTick) {
    const Chord from = m_chord;
    const Chord to = m_nextChord;
    m_queueTick = m_nextChange;
    m_chordGiven = true;
    if (m_waiting) {
        m_progression = m_waiting;
        m_waiting = nullptr;
        m_firstBar = BarIndex(m_nextChange);
    }
    if (from != to) {
        // A key whose note-off (or next note-on) comes at the change's own tick has
        // ended: it is neither stopped nor struck again, even where another note-on comes
        // first.
        const std::array<std::bitset<128>, 16> ending = KeysEndingAt(m_nextChange, nextTick);
        std::array<int, 128> restrike;
        for (int channel = 0; channel < 16; ++channel) {
            if (m_held[channel].none()) continue;
            const ChannelRules* rules = RulesFor(channel);
            const auto status = [channel](int kind) { return static_cast<std::uint8_t>((kind << 4) | channel); };
            // Every pitch that stops or moves ends first, so that a restrike landing on
            // one of them finds its key free.
            restrike.fill(kQuiet);
            for (int key = 0; key < 128; ++key) {
                const int pitch = m_pitch[channel][key];
                if (!m_held[channel][key] || pitch < 0 || ending[channel][key]) continue;
                const ChangeDecision decision = rules ? DecideAtChange(*rules, from, to, key, pitch)
                                                      : ChangeDecision{ChangeDecision::Action::Stop, pitch};
                if (decision.action == ChangeDecision::Action::Keep) continue;
                EndPitch(channel, pitch, status(0x8), 0, key);
                m_pitch[channel][key] = kSilenced;
                if (decision.action == ChangeDecision::Action::Restrike) restrike[key] = decision.pitch;
            }
            std::bitset<128> sounding = SoundingKeys(channel);
            for (int key = 0; key < 128; ++key) {
                if (restrike[key] < 0) continue;
                const int pitch = UnisonPitch(*rules, to, key, restrike[key], sounding);
                m_pitch[channel][key] = static_cast<std::int8_t>(pitch);
                if (m_uses[channel][pitch]++ == 0) Push(status(0x9), pitch, m_velocity[channel][key], key);
                sounding[static_cast<std::size_t>(pitch)] = true;
            }
        }
    }
    TimelineEvent marker;
    marker.kind = TimelineEvent::Kind::Marker;
    marker.data1 = kChordMarker;
    if (m_progression || !m_nextText.empty()) {
        m_queue.push_back(marker);
        m_queueKeys.push_back(0);
    }
    m_chord = to;
    m_chordText = m_nextText;
    ScheduleNextChange(m_nextChange + 1);
}

// What a note-on plays, found without changing anything: its events wait in the queue,
// and what they change is kept for Commit, once the first of them is given. So a swap
// before then can take them back, and the volumes it sends are heard first.
void ChordCursor::TranslateNoteOn(const TimelineEvent& event) {
    const int channel = event.Channel();
    const int key = event.data1;
    m_note = PendingNote{true, true, channel, key, kSilenced, event.data2};
    // A key struck again before its note-off: its first sound ends here.
    const int before = m_pitch[channel][key];
    std::bitset<128> sounding = SoundingKeys(channel);
    if (before >= 0 && m_uses[channel][before] <= 1) {
        Push(static_cast<std::uint8_t>(0x80 | channel), before, 0, key);
        sounding[static_cast<std::size_t>(before)] = false;
    }
    const ChannelRules* rules = RulesFor(channel);
    if (!rules || (!m_chordGiven && !rules->autostart)) return;

    const std::optional<int> rulesPitch = SoundingPitch(*rules, m_chord, key);
    if (!rulesPitch) return;
    const int pitch = UnisonPitch(*rules, m_chord, key, *rulesPitch, sounding);
    m_note.pitch = static_cast<std::int8_t>(pitch);
    // A key another note of the channel already sounds is not struck twice: it sounds on
    // until the last of them ends.
    if (!sounding[static_cast<std::size_t>(pitch)]) Push(event.status, pitch, event.data2, key);
}

void ChordCursor::TranslateNoteOff(const TimelineEvent& event) {
    const int channel = event.Channel();
    const int key = event.data1;
    m_note = PendingNote{true, false, channel, key, kQuiet, 0};
    const int pitch = m_pitch[channel][key];
    // Two keys the chord put on one pitch: the pitch sounds until both have ended.
    if (pitch >= 0 && m_uses[channel][pitch] <= 1) Push(event.status, pitch, event.data2, key);
}

void ChordCursor::CommitNote() {
    const PendingNote& note = m_note;
    std::int8_t& pitch = m_pitch[note.channel][note.key];
    if (pitch >= 0 && m_uses[note.channel][pitch] > 0) --m_uses[note.channel][pitch];
    pitch = note.pitch;
    m_held[note.channel][note.key] = note.on;
    if (note.pitch >= 0) {
        ++m_uses[note.channel][note.pitch];
        m_velocity[note.channel][note.key] = note.velocity;
    }
    m_note.active = false;
    m_cursor.Advance();
}

bool ChordCursor::Peek(TimelineEvent& event, std::uint64_t& tick) {
    while (true) {
        if (m_queuePos < m_queue.size()) {
            event = m_queue[m_queuePos];
            tick = m_queueTick;
            m_sourceKey = m_queueKeys[m_queuePos];
            return true;
        }
        m_queue.clear();
        m_queueKeys.clear();
        m_queuePos = 0;
        // After the last event no chord changes any more.
        if (!m_cursor.Peek(event, tick)) return false;
        if (ChangeDue(event, tick)) {
            ApplyChange(tick);
            continue;
        }
        m_sourceKey = event.data1;
        const bool note = event.IsNoteOn() || event.IsNoteOff();
        if (m_asRecorded || !note) return true;
        m_queueTick = tick;
        if (event.IsNoteOn()) {
            TranslateNoteOn(event);
        } else {
            TranslateNoteOff(event);
        }
        // A key nobody strikes still takes its place in time, as a marker that names
        // nothing, so that a chord given live before then can still strike it.
        if (m_queue.empty()) {
            TimelineEvent silent;
            silent.kind = TimelineEvent::Kind::Marker;
            silent.data1 = kSilentKey;
            m_queue.push_back(silent);
            m_queueKeys.push_back(event.data1);
        }
    }
}

void ChordCursor::Advance() {
    TimelineEvent event;
    std::uint64_t tick = 0;
    if (!Peek(event, tick)) return;
    m_lastTick = tick;
    if (m_queuePos < m_queue.size()) {
        if (m_note.active) CommitNote();
        ++m_queuePos;
        return;
    }
    if (event.kind == TimelineEvent::Kind::TimeSignature && !m_asRecorded)
        SetBar(BarTicksOf(event, m_timeline->division), tick);
    m_cursor.Advance();
}

std::uint32_t ChordCursor::Swap(const Timeline& timeline) {
    m_timeline = &timeline;
    TakeBackNote();
    // The cursor below may have passed keys no channel strikes: the swap is heard now.
    const std::uint32_t quarter = m_cursor.Swap(timeline, m_lastTick);
    if (!m_asRecorded) SetBar(SetUpBarTicks(timeline), m_lastTick);
    return quarter;
}

std::string_view ChordCursor::MarkerText(const TimelineEvent& marker) const {
    if (marker.data1 == kChordMarker) return m_chordText;
    if (marker.data1 == kSilentKey) return {};
    return marker.data1 < kSectionNames.size() ? kSectionNames[marker.data1] : std::string_view{};
}
