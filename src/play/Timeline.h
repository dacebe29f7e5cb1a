// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "format/ByteOrder.h"
#include "format/TrackRewriter.h"
#include "format/TrackWalker.h"
#include "play/PlayError.h"
#include "format/Sections.h"
#include "play/chords/CasmRules.h"

// One event the timeline plays: a channel message, a tempo change, a time signature
// (for the MIDI file and the bar lines a progression follows; it changes no timing) or
// a system-exclusive message, at a tick from the start of its section. Markers are no
// timeline events: the cursors put them in where a section starts (data1: the section)
// or a chord changes (data1: kChordMarker), for the MIDI file; the synthesizer hears
// nothing of them.
struct TimelineEvent {
    enum class Kind : std::uint8_t { Channel, Tempo, TimeSignature, SysEx, Marker };

    std::uint32_t tick = 0;
    Kind kind = Kind::Channel;
    std::uint8_t status = 0;   // channel message: kind and channel
    std::uint8_t data1 = 0;    // time signature: numerator
    std::uint8_t data2 = 0;    // time signature: the power of two of the denominator
    std::uint32_t value = 0;   // tempo: microseconds per quarter; system exclusive: offset into Timeline::sysex
    std::uint32_t length = 0;  // system exclusive: bytes after F0 (F7 included)

    int Channel() const { return status & 0x0F; }
    std::uint8_t MessageKind() const { return static_cast<std::uint8_t>(status >> 4); }
    bool IsNoteOn() const { return kind == Kind::Channel && MessageKind() == 0x9 && data2 != 0; }
    bool IsNoteOff() const {
        return kind == Kind::Channel && (MessageKind() == 0x8 || (MessageKind() == 0x9 && data2 == 0));
    }
};

inline constexpr std::uint8_t kChordMarker = 0xFF;

// The ticks per quarter note of a loaded style's header; an error for a division no
// clock plays (0, or SMPTE time).
PlayError ReadPlayableDivision(ByteView image, int& division);
// The channel message a walked channel event plays, at tick 0.
TimelineEvent ChannelEventOf(ByteView track, const TrackEvent& event);

struct TimelineSection {
    int section = 0;           // index into kSectionNames
    std::uint32_t length = 0;  // ticks from its marker to the next section marker or the track's end
    std::vector<TimelineEvent> events;
};

// A style's track cut into what a keyboard plays: the set-up (everything before the
// first section marker and the whole "SInt" section), sent once at time 0, and each
// section's events in file order. The timeline knows no synthesizer.
struct Timeline {
    int division = 480;                 // ticks per quarter note
    std::uint32_t setUpTempo = 500000;  // microseconds per quarter in force when a section starts
    std::vector<TimelineEvent> setUp;
    std::vector<TimelineSection> sections;  // the first of each name, in track order
    std::vector<std::uint8_t> sysex;
    std::array<bool, 16> channelsUsed{};  // channels with any channel message
    // What each channel plays over a chord, section by section, from the style's CASM
    // (the defaults, and in damage why, when it has none or a damaged one).
    StyleChannelRules rules;

    const TimelineSection* Find(int section) const;
    std::array<bool, kSectionCount> Present() const;
    bool HasNotes(int section) const;
};

// Cuts the track of a style image, as the save would rewrite it with these edits, into
// a timeline. A tempo edit scales the style's later tempo events by the same ratio,
// so an ending that slows down still slows down.
PlayError BuildTimeline(ByteView image, const TrackEdits& edits, Timeline& timeline);

// The sections a style has, in the order of kSectionNames, joined by ", ".
std::string SectionList(const Timeline& timeline);
// The section named name (as a marker names it) when the style has it; otherwise the
// error that names the sections it has.
PlayError FindPlaySection(const Timeline& timeline, std::string_view name, int& section);
