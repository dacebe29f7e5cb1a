// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/Timeline.h"

#include <algorithm>
#include <limits>

#include "format/TrackScan.h"
#include "msg/FillIn.h"
#include "msg/PlayMessages.h"
#include "msg/StyleMessages.h"

namespace {

constexpr std::uint8_t kMetaTempoType = 0x51;
// Ticks past this from a section's marker are not played: no real section comes near,
// and times stay well inside what the scheduler's arithmetic holds.
constexpr std::uint64_t kLongestSection = std::numeric_limits<std::int32_t>::max();
constexpr std::uint32_t kLongestQuarter = 0xFFFFFF;  // three bytes

std::uint64_t DeltaTime(ByteView track, const TrackEvent& event) {
    std::uint64_t delta = 0;
    for (std::size_t pos = event.start; pos < event.status; ++pos) {
        delta = std::min<std::uint64_t>((delta << 7) | (track[pos] & 0x7F), kLongestSection);
    }
    return delta;
}

std::uint32_t QuarterOf(ByteView track, const TrackEvent& event) {
    return event.length >= 3 ? ReadU24BE(track, event.data) : 0;
}

// The microseconds per quarter of the tempo event the load reads (the one a tempo
// edit writes); 0 when there is none.
std::uint32_t StyleTempoQuarter(ByteView image, std::size_t trackEnd) {
    TrackWalker walker(image, trackEnd);
    TrackScan scan(image);
    for (TrackEvent event; walker.Next(event);) {
        if (scan.Classify(event) == EventRole::Tempo) return QuarterOf(image, event);
    }
    return 0;
}

class TimelineBuilder {
public:
    TimelineBuilder(ByteView track, Timeline& timeline, std::uint32_t foundQuarter, std::uint32_t editedQuarter)
        : m_track(track), m_timeline(timeline), m_found(foundQuarter), m_edited(editedQuarter) {}

    void Take(const TrackEvent& event, EventRole role) {
        m_tick = std::min(m_tick + DeltaTime(m_track, event), m_sectionStart + kLongestSection);
        if (event.type == TrackEvent::Type::Meta && event.metaType == kMetaMarker) {
            const std::string_view text(reinterpret_cast<const char*>(m_track.data() + event.data), event.length);
            if (const std::optional<int> section = SectionOfMarker(text)) return StartSection(*section);
        }
        TimelineEvent played;
        if (!Translate(event, role, played)) return;
        if (m_target == nullptr) return;  // a section met before under the same name
        if (played.kind == TimelineEvent::Kind::Channel) m_timeline.channelsUsed[played.Channel()] = true;
        if (m_target == &m_timeline.setUp) {
            if (played.kind == TimelineEvent::Kind::Tempo) m_timeline.setUpTempo = played.value;
            played.tick = 0;
        } else {
            played.tick = static_cast<std::uint32_t>(m_tick - m_sectionStart);
        }
        m_target->push_back(played);
    }

    void Finish() { EndSection(); }

private:
    bool Translate(const TrackEvent& event, EventRole role, TimelineEvent& played) {
        switch (event.type) {
            case TrackEvent::Type::Channel: played = ChannelEventOf(m_track, event); return true;
            case TrackEvent::Type::Meta: {
                if (event.metaType == kMetaTimeSignature && event.length >= 2) {
                    played.kind = TimelineEvent::Kind::TimeSignature;
                    played.data1 = m_track[event.data];
                    played.data2 = m_track[event.data + 1];
                    return true;
                }
                if (event.metaType != kMetaTempoType) return false;
                std::uint64_t quarter = QuarterOf(m_track, event);
                if (quarter == 0) return false;
                // The edited event holds the new tempo already; every other one follows it.
                if (role != EventRole::Tempo && m_found != 0 && m_edited != m_found) {
                    quarter = std::clamp<std::uint64_t>(quarter * m_edited / m_found, 1, kLongestQuarter);
                }
                played.kind = TimelineEvent::Kind::Tempo;
                played.value = static_cast<std::uint32_t>(quarter);
                return true;
            }
            case TrackEvent::Type::SysEx:
                if (m_track[event.status] != 0xF0) return false;
                played.kind = TimelineEvent::Kind::SysEx;
                played.value = static_cast<std::uint32_t>(m_timeline.sysex.size());
                played.length = event.length;
                m_timeline.sysex.insert(m_timeline.sysex.end(),
                                        m_track.begin() + static_cast<std::ptrdiff_t>(event.data),
                                        m_track.begin() + static_cast<std::ptrdiff_t>(event.end));
                return true;
        }
        return false;
    }

    void StartSection(int section) {
        EndSection();
        m_sectionStart = m_tick;
        switch (m_cut.Enter(section)) {
            case SectionCut::Target::SetUp: m_target = &m_timeline.setUp; return;
            case SectionCut::Target::Skipped: m_target = nullptr; return;
            case SectionCut::Target::Section: break;
        }
        m_timeline.sections.push_back(TimelineSection{section, 0, {}});
        m_open = &m_timeline.sections.back();
        m_target = &m_open->events;
    }

    void EndSection() {
        if (m_open) m_open->length = static_cast<std::uint32_t>(m_tick - m_sectionStart);
        m_open = nullptr;
    }

    ByteView m_track;
    Timeline& m_timeline;
    std::uint32_t m_found;
    std::uint32_t m_edited;
    std::uint64_t m_tick = 0;
    std::uint64_t m_sectionStart = 0;
    SectionCut m_cut;
    std::vector<TimelineEvent>* m_target = &m_timeline.setUp;
    TimelineSection* m_open = nullptr;
};

}  // namespace

PlayError ReadPlayableDivision(ByteView image, int& division) {
    const std::uint16_t value = static_cast<std::uint16_t>((image[12] << 8) | image[13]);
    if (value == 0 || (value & 0x8000)) return std::string(play_messages::kUnplayableDivision);
    division = value;
    return std::nullopt;
}

TimelineEvent ChannelEventOf(ByteView track, const TrackEvent& event) {
    TimelineEvent played;
    played.kind = TimelineEvent::Kind::Channel;
    played.status = static_cast<std::uint8_t>((event.kind << 4) | event.channel);
    played.data1 = track[event.data] & 0x7F;
    played.data2 = event.length == 2 ? (track[event.data + 1] & 0x7F) : 0;
    return played;
}

const TimelineSection* Timeline::Find(int section) const {
    for (const TimelineSection& s : sections) {
        if (s.section == section) return &s;
    }
    return nullptr;
}

std::array<bool, kSectionCount> Timeline::Present() const {
    std::array<bool, kSectionCount> present{};
    for (const TimelineSection& s : sections) present[s.section] = true;
    return present;
}

bool Timeline::HasNotes(int section) const {
    const TimelineSection* s = Find(section);
    return s && std::any_of(s->events.begin(), s->events.end(), [](const TimelineEvent& e) { return e.IsNoteOn(); });
}

PlayError BuildTimeline(ByteView image, const TrackEdits& edits, Timeline& timeline) {
    timeline = Timeline{};
    RewrittenTrack rewritten;
    if (MaybeStyleError error = RewriteTrack(image, edits, rewritten)) return error->Text();
    const ByteView track(rewritten.bytes);
    if (PlayError error = ReadPlayableDivision(track, timeline.division)) return error;

    std::size_t originalLength = 0;
    if (MaybeStyleError error = ReadTrackLength(image, originalLength)) return error->Text();
    const std::size_t trackEnd = kTrackDataOffset + ReadU32BE(track, kTrackLengthOffset);
    TimelineBuilder builder(track, timeline, StyleTempoQuarter(image, kTrackDataOffset + originalLength),
                            StyleTempoQuarter(track, trackEnd));
    TrackWalker walker(track, trackEnd);
    TrackScan scan(track);
    for (TrackEvent event; walker.Next(event);) builder.Take(event, scan.Classify(event));
    if (walker.Error()) return walker.Error()->Text();
    builder.Finish();
    // A damaged CASM never keeps the style from playing: its channels play by the
    // defaults, and the damage stays for whoever reports on the style.
    timeline.rules = RulesOfStyle(image, rewritten.walkEnd);
    return std::nullopt;
}

std::string SectionList(const Timeline& timeline) {
    std::string list;
    for (const std::string_view name : PlayableSectionNames(timeline.Present())) {
        if (!list.empty()) list += ", ";
        list += name;
    }
    return list;
}

PlayError FindPlaySection(const Timeline& timeline, std::string_view name, int& section) {
    const std::optional<int> found = SectionOfMarker(name);
    if (found && *found != kSectionSInt && timeline.Find(*found)) {
        section = *found;
        return std::nullopt;
    }
    const std::string sections = SectionList(timeline);
    return FillIn(play_messages::kUnknownSection,
                  {std::string(name), sections.empty() ? std::string("none") : sections});
}
