// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Styles for the playback tests, built from the file layout with a chosen division
// and events at chosen delta times, their timelines and what a recording synthesizer
// hears of them.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "RecordingSynth.h"
#include "StyleBytes.h"
#include "format/StyleReader.h"
#include "format/TrackRewriter.h"
#include "play/ChordPlan.h"
#include "play/Scheduler.h"
#include "play/Timeline.h"

inline Bytes HeaderWithDivision(std::uint16_t division) {
    return Chunk("MThd", {0x00, 0x00, 0x00, 0x01, std::uint8_t(division >> 8), std::uint8_t(division)});
}

inline Bytes Delta(std::uint32_t ticks) { return Bytes::VarLen(ticks); }
// A channel message after a delta time.
inline Bytes At(std::uint32_t delta, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    return Delta(delta) + Bytes{status, data1, data2};
}
inline Bytes ProgramAt(std::uint32_t delta, std::uint8_t channel, std::uint8_t program) {
    return Delta(delta) + Bytes{std::uint8_t(0xC0 | channel), program};
}
inline Bytes MarkerAt(std::uint32_t delta, std::string_view text) {
    return Delta(delta) + Bytes{0xFF, 0x06} + Bytes::VarLen(std::uint32_t(text.size())) + Bytes::Text(text);
}
inline Bytes TempoAt(std::uint32_t delta, std::uint32_t quarter) {
    return Delta(delta) +
           Bytes{0xFF, 0x51, 0x03, std::uint8_t(quarter >> 16), std::uint8_t(quarter >> 8), std::uint8_t(quarter)};
}
inline Bytes EndAt(std::uint32_t delta) { return Delta(delta) + Bytes{0xFF, 0x2F, 0x00}; }

inline Bytes PlayStyle(std::uint16_t division, const Bytes& events) {
    return HeaderWithDivision(division) + Chunk("MTrk", BasicEvents() + events);
}

// The style's timeline as loaded, or with its tempo edited.
inline Timeline Build(const Bytes& style, const std::optional<int>& tempo = std::nullopt) {
    StyleFacts facts;
    EXPECT_FALSE(ReadStyle(style.view(), facts));
    TrackEdits edits = UneditedEdits(facts);
    if (tempo) edits.tempo = static_cast<std::int16_t>(*tempo);
    Timeline timeline;
    const PlayError error = BuildTimeline(style.view(), edits, timeline);
    EXPECT_FALSE(error) << *error;
    return timeline;
}

constexpr int kRate = 44100;

// Every channel as recorded, for the tests of timing and sections, whose styles have
// no channel rules.
inline const ChordPlan kAsRecorded{true, {}};

// Plays in blocks of an odd size, so that events fall inside blocks, until done.
inline RecordingSynth Play(const Timeline& timeline, int section, int loops, int rate = kRate,
                           const ChordPlan& chords = kAsRecorded) {
    RecordingSynth synth;
    Scheduler scheduler(timeline, section, loops, chords, rate, synth);
    float left[333];
    float right[333];
    for (int guard = 0; !scheduler.Finished() && guard < 100000; ++guard) scheduler.Render(left, right, 333);
    EXPECT_TRUE(scheduler.Finished());
    return synth;
}
