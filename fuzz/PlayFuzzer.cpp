// SPDX-License-Identifier: GPL-3.0-or-later
// Plays arbitrary bytes that load as a style: every section, at an edited tempo, as
// recorded and over a progression made from the input's last bytes. The events must
// come in time order with valid data; over the progression no key of a channel may be
// struck while it sounds, nor released while silent; and where a section is played to
// its end, every note it started has ended. Each pass stops after a bounded number of
// events, so that a hostile style (one section two billion ticks long, a marker each
// bar) costs a fuzzing run no more than a small one.

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "format/StyleReader.h"
#include "format/TrackRewriter.h"
#include "play/ChordCursor.h"
#include "play/files/SoundFiles.h"

namespace {

// Enough for several loops of any section a keyboard plays.
constexpr int kMostEvents = 20000;
// A MIDI file is written only of a pass this short, where it costs little.
constexpr std::uint64_t kLongestWrittenTicks = 1u << 20;

void Require(bool condition) {
    if (!condition) std::abort();
}

void CheckSection(const Timeline& timeline, int section, const ChordPlan& plan) {
    ChordCursor cursor(timeline, section, 2, plan);
    std::array<std::bitset<128>, 16> sounding;
    std::uint64_t last = 0;
    TimelineEvent event;
    std::uint64_t tick = 0;
    int count = 0;
    for (; count < kMostEvents && cursor.Peek(event, tick); ++count) {
        cursor.Advance();
        Require(tick >= last);
        last = tick;
        if (event.kind == TimelineEvent::Kind::Channel) Require(event.data1 <= 127 && event.data2 <= 127);
        if (event.kind == TimelineEvent::Kind::SysEx) Require(event.value + event.length <= timeline.sysex.size());
        std::bitset<128>& keys = sounding[event.Channel()];
        // As recorded, the style's own track may strike a key twice: it passes unchanged.
        if (event.IsNoteOn()) {
            Require(plan.asRecorded || !keys[event.data1]);
            keys[event.data1] = true;
        }
        if (event.IsNoteOff()) {
            Require(plan.asRecorded || keys[event.data1]);
            keys[event.data1] = false;
        }
    }
    if (count == kMostEvents) return;
    for (const auto& notes : sounding) Require(notes.none());
    if (last <= kLongestWrittenTicks) Require(!MidiFileBytes(timeline, section, 1, plan).empty());
}

// Up to eight chords, one or two a bar, each byte a root, a type and maybe a bass.
ChordPlan ProgressionOf(ByteView image) {
    std::string text;
    const std::size_t count = std::min<std::size_t>(image.size(), 8);
    for (std::size_t i = image.size() - count; i < image.size(); ++i) {
        const std::uint8_t b = image[i];
        Chord chord{static_cast<std::uint8_t>(b % 12), static_cast<ChordType>((b / 12) % kChordTypeCount), -1,
                    b == 0xFF};
        if (b & 0x80) chord.bass = static_cast<std::int8_t>((b >> 3) % 12);
        text += ChordText(chord);
        text += (b & 1) ? " " : " | ";
    }
    ChordPlan plan;
    if (Progression::Parse(text, 4, plan.progression)) plan.progression = Progression::Holding(Chord{}, "CMaj7");
    return plan;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ByteView image(data, size);
    StyleFacts facts;
    if (ReadStyle(image, facts)) return 0;
    TrackEdits edits = UneditedEdits(facts);
    edits.tempo = facts.tempo == -1 ? -1 : 173;
    Timeline timeline;
    if (BuildTimeline(image, edits, timeline)) return 0;  // a header that counts frames
    const ChordPlan asRecorded{true, {}};
    const ChordPlan progression = ProgressionOf(image);
    for (const TimelineSection& section : timeline.sections) {
        for (const ChordPlan* plan : {&asRecorded, &progression}) CheckSection(timeline, section.section, *plan);
    }
    return 0;
}
