// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <span>
#include <vector>

#include "play/Timeline.h"

// Walks a timeline in the order a keyboard plays it: the set-up at tick 0, then the
// chosen section and what follows it (NextSection). At every section boundary, and
// at the end, the notes still sounding get their note-offs and sustain, pitch bend,
// modulation and expression go back to rest; a marker event naming the section comes
// where each section starts. Ticks count from the start, over all sections played.
// Only the constructor allocates.
class PlayCursor {
public:
    // loops: how often a Main or Fill In plays, 0 for ever; an Intro plays once and
    // leads into its Main, which then plays loops times; an Ending plays once.
    PlayCursor(const Timeline& timeline, int section, int loops);

    // The next event and its tick; false when everything has been played.
    bool Peek(TimelineEvent& event, std::uint64_t& tick);
    void Advance();

    // The section now playing (as kSectionNames counts).
    int Section() const { return m_section; }
    // After Peek: true when the event it gave is events[index] of the section playing
    // (not the set-up's, nor one the cursor put in at a boundary or a swap).
    bool FromSection(std::span<const TimelineEvent>& events, std::size_t& index) const;
    // Takes a timeline of the same track with other values (volumes, tempo): the
    // position stays, and each channel's volume as the new timeline has it at this
    // point comes next, at tick now (the last one heard). Returns the tempo now in force
    // in the new timeline.
    std::uint32_t Swap(const Timeline& timeline, std::uint64_t now);

private:
    enum class Phase { SetUp, Section, Done };

    void Settle();
    void EndSection();
    void Emit(const TimelineEvent& event);
    const std::vector<TimelineEvent>& Events() const;

    const Timeline* m_timeline;
    const TimelineSection* m_current = nullptr;
    int m_section;
    int m_loops;
    int m_played = 0;  // times the current section has been played through
    Phase m_phase = Phase::SetUp;
    std::size_t m_index = 0;
    std::uint64_t m_sectionStart = 0;
    std::uint64_t m_lastTick = 0;
    std::vector<TimelineEvent> m_queue;  // boundary and catch-up events, at m_queueTick
    std::size_t m_queuePos = 0;
    std::uint64_t m_queueTick = 0;
    int m_endedSection = -1;  // the section whose boundary waits in the queue, -1 none
    std::array<std::bitset<128>, 16> m_sounding;
    std::array<bool, kSectionCount> m_present{};
};
