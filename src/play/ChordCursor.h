// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

#include "play/ChordPlan.h"
#include "play/PlayCursor.h"

// Walks a timeline as PlayCursor does and plays what a keyboard plays over the chords
// of a plan: each note-on through its channel's rules in the section playing (struck
// at the pitch the rules give, or not at all when the channel is muted there), each
// note-off ending the pitch its note-on struck, and at every chord change each
// sounding note kept, stopped or struck again by its retrigger rule. A key of a channel
// is never struck while it sounds: two notes that land on one key sound it once, until
// the last of them ends (or the later moves an octave, as UnisonPitch says). A progression
// starts on the first bar played and loops for as long as the style plays; bars are
// as long as the time signature in force says, and a time signature with another
// bar length starts a new bar where it comes. A plan played as recorded passes every
// event through unchanged. A marker event comes at each chord change. Only the
// constructor allocates: the live audio thread runs it.
class ChordCursor {
public:
    // plan is read while playing: it must outlive the cursor.
    ChordCursor(const Timeline& timeline, int section, int loops, const ChordPlan& plan);

    bool Peek(TimelineEvent& event, std::uint64_t& tick);
    void Advance();
    // After Peek: the key the event it gave has in the style, before a chord moved it.
    int SourceKey() const { return m_sourceKey; }

    int Section() const { return m_cursor.Section(); }
    // As PlayCursor::Swap; a time signature with another bar length starts a new bar now.
    std::uint32_t Swap(const Timeline& timeline);

    // Live: chord held from tick on (not before the last event given), the progression
    // left; sounding notes follow it by their retrigger rule.
    void HoldChord(const Chord& chord, std::uint64_t tick);
    // Live: progression from the first bar line at tick or later, looping; until then
    // the chord in force holds.
    void FollowProgression(const Progression& progression, std::uint64_t tick);
    // Live, before the first Peek: no chord is given yet, so the channels whose
    // autostart is off stay silent until one is.
    void AwaitChord() { m_chordGiven = false; }

    const Chord& ChordNow() const { return m_chord; }
    // The bar tick lies in (from 0, the first bar played) and the tick that bar starts
    // at, for a tick not before the event last given: where a chord change falls.
    std::int64_t BarOf(std::uint64_t tick) const { return BarIndex(tick); }
    std::uint64_t StartOfBar(std::int64_t bar) const { return BarStart(bar); }
    // The text a marker event stands for: the section's name, or the chord now in
    // force as the progression wrote it; nothing for a key nobody strikes (no marker).
    std::string_view MarkerText(const TimelineEvent& marker) const;

private:
    static constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();
    static constexpr std::uint8_t kSilentKey = 0xFE;  // marker data1: a key nobody strikes
    static constexpr std::int8_t kQuiet = -1;         // not sounding
    static constexpr std::int8_t kSilenced = -2;      // held in the style but struck by nobody: its note-off goes

    bool ChangeDue(const TimelineEvent& next, std::uint64_t tick) const;
    // nextTick: the tick of the next event; the keys that it and the events after it at
    // the change's tick release or strike again end before the change.
    void ApplyChange(std::uint64_t nextTick);
    std::bitset<128> SoundingKeys(int channel) const;
    std::array<std::bitset<128>, 16> KeysEndingAt(std::uint64_t tick, std::uint64_t nextTick) const;
    void ScheduleNextChange(std::uint64_t from);
    void TranslateNoteOn(const TimelineEvent& event);
    void TranslateNoteOff(const TimelineEvent& event);
    void CommitNote();
    // Drops the events of a note not given yet, to be translated anew.
    void TakeBackNote();
    void EndPitch(int channel, int pitch, std::uint8_t status, std::uint8_t velocity, int sourceKey);
    void Push(std::uint8_t status, int pitch, std::uint8_t velocity, int sourceKey);
    const ChannelRules* RulesFor(int channel) const;
    void SetBar(std::uint32_t barTicks, std::uint64_t tick);
    std::int64_t BarIndex(std::uint64_t tick) const;
    std::uint64_t BarStart(std::int64_t bar) const;
    std::uint64_t ProgressionTick(std::uint64_t tick) const;

    PlayCursor m_cursor;
    const Timeline* m_timeline;
    bool m_asRecorded;
    int m_sourceKey = 0;
    std::uint64_t m_lastTick = 0;

    // Chords.
    Chord m_chord;  // in force
    std::string_view m_chordText;
    bool m_chordGiven = true;
    const Progression* m_progression = nullptr;  // followed, from bar m_firstBar
    std::int64_t m_firstBar = 0;
    const Progression* m_waiting = nullptr;  // to be followed from m_nextChange
    std::uint64_t m_nextChange = kNever;
    Chord m_nextChord;
    std::string_view m_nextText;

    // Bars: bar m_anchorBar starts at m_anchorTick, each m_barTicks long.
    std::uint32_t m_barTicks = 1;
    std::uint64_t m_anchorTick = 0;
    std::int64_t m_anchorBar = 0;

    // Each channel's keys held in the style and the pitch each one sounds at.
    std::array<std::array<std::int8_t, 128>, 16> m_pitch;
    std::array<std::array<std::uint8_t, 128>, 16> m_velocity{};
    std::array<std::array<std::uint8_t, 128>, 16> m_uses{};  // keys sounding at each pitch
    std::array<std::bitset<128>, 16> m_held;

    // The note whose events wait in the queue, to be taken into the state above when
    // the first of them is given.
    struct PendingNote {
        bool active = false;
        bool on = false;
        int channel = 0;
        int key = 0;
        std::int8_t pitch = kQuiet;
        std::uint8_t velocity = 0;
    };
    PendingNote m_note;

    // Events the chords made, all at m_queueTick, with the keys they stand for.
    std::vector<TimelineEvent> m_queue;
    std::vector<std::uint8_t> m_queueKeys;
    std::size_t m_queuePos = 0;
    std::uint64_t m_queueTick = 0;
};
