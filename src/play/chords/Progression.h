// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "play/chords/Chord.h"

// Why a chord progression was refused: the text to show (a chord_messages text filled
// in), the bar (from 1) and the offset in the progression's text where it went wrong.
struct ProgressionError {
    std::string text;
    int bar = 0;
    std::size_t offset = 0;
};

struct ChordChange {
    std::uint64_t tick = 0;
    Chord chord;
    bool operator==(const ChordChange&) const = default;
};

// The chords a style plays over, bar by bar: "C | Am7 | Dm7 G7 | %". A bar's chords
// share its beats evenly, each starting on a whole beat; "%" repeats the bar before.
// It starts with the first bar played and repeats for as long as the style plays.
class Progression {
public:
    // Nothing when text is a progression with bars of beatsPerBar beats; progression
    // is then replaced.
    static std::optional<ProgressionError> Parse(std::string_view text, int beatsPerBar, Progression& progression);

    // One chord held for as long as the style plays, written as text.
    static Progression Holding(const Chord& chord, std::string text);

    int Bars() const { return m_bars; }
    int BeatsPerBar() const { return m_beatsPerBar; }

    // The chord in force tick ticks after the start, bars of barTicks ticks.
    Chord ChordAt(std::uint64_t tick, std::uint32_t barTicks) const;
    // The chord in force at tick as the progression's text wrote it ("CM7" stays "CM7").
    std::string_view TextAt(std::uint64_t tick, std::uint32_t barTicks) const;
    // The first change at tick or later (the first chord at tick 0 counts as one).
    // None when the whole progression is one chord and tick is past the start.
    std::optional<ChordChange> NextChange(std::uint64_t tick, std::uint32_t barTicks) const;
    // The changes from tick from up to (not including) to, in order.
    std::vector<ChordChange> ChangesIn(std::uint64_t from, std::uint64_t to, std::uint32_t barTicks) const;

private:
    // A chord and the beat it starts on, counted from the progression's start; a chord
    // equal to the one before it is no entry of its own.
    struct Entry {
        std::uint32_t beat;
        Chord chord;
        std::string text;
    };

    const Entry& EntryAt(std::uint64_t tick, std::uint32_t barTicks) const;
    std::uint64_t TickOfBeat(std::uint64_t beat, std::uint32_t barTicks) const;

    std::vector<Entry> m_entries;
    int m_bars = 0;
    int m_beatsPerBar = 4;
};
