// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ChordReport.h"

#include "cli/Json.h"
#include "play/ChordCursor.h"

std::vector<PlayedChord> PlayedChords(const Timeline& timeline, int section, int loops, const ChordPlan& plan) {
    std::vector<PlayedChord> chords;
    if (plan.asRecorded) return chords;
    // Without a progression a keyboard holds C Maj7 all along: no change marks it.
    if (plan.progression.Bars() == 0) return {{1, 1, ChordText(Chord{})}};
    // The beats of a bar as the progression counts them.
    const auto beats = static_cast<std::uint64_t>(plan.progression.BeatsPerBar());
    ChordCursor cursor(timeline, section, loops, plan);
    TimelineEvent event;
    std::uint64_t tick = 0;
    while (cursor.Peek(event, tick)) {
        const bool chordChange = event.kind == TimelineEvent::Kind::Marker && event.data1 == kChordMarker;
        const std::int64_t bar = chordChange ? cursor.BarOf(tick) : 0;
        cursor.Advance();
        if (!chordChange) continue;
        const std::uint64_t start = cursor.StartOfBar(bar);
        const std::uint64_t length = cursor.StartOfBar(bar + 1) - start;
        const auto beat = static_cast<int>(length == 0 ? 0 : (tick - start) * beats / length);
        chords.push_back({bar + 1, beat + 1, std::string(cursor.MarkerText(event))});
    }
    return chords;
}

std::string PlayedChordLine(const PlayedChord& chord) {
    return "Bar " + std::to_string(chord.bar) + ", beat " + std::to_string(chord.beat) + ": " + chord.symbol;
}

std::string PlayedChordsJson(const std::vector<PlayedChord>& chords) {
    std::string json = "[";
    for (const PlayedChord& chord : chords) {
        if (json.size() > 1) json += ", ";
        json += "{\"bar\": " + std::to_string(chord.bar) + ", \"beat\": " + std::to_string(chord.beat) +
                ", \"chord\": " + JsonString(chord.symbol) + "}";
    }
    return json + "]";
}
