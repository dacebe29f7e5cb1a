// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/chords/Progression.h"

#include <algorithm>

#include "msg/ChordMessages.h"
#include "msg/FillIn.h"

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

struct Token {
    std::string_view text;
    std::size_t offset;
};

// The words of text (which starts at offset in the progression), in order.
std::vector<Token> WordsOf(std::string_view text, std::size_t offset) {
    std::vector<Token> words;
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && IsSpace(text[pos])) ++pos;
        const std::size_t start = pos;
        while (pos < text.size() && !IsSpace(text[pos])) ++pos;
        if (pos > start) words.push_back({text.substr(start, pos - start), offset + start});
    }
    return words;
}

ProgressionError ErrorAt(std::string text, int bar, std::size_t offset) { return {std::move(text), bar, offset}; }

}  // namespace

std::optional<ProgressionError> Progression::Parse(std::string_view text, int beatsPerBar, Progression& progression) {
    const int beats = std::max(beatsPerBar, 1);
    // Bar lines split the text; one before the first bar or after the last draws no bar.
    std::vector<Token> bars;
    for (std::size_t start = 0;;) {
        const std::size_t end = std::min(text.find('|', start), text.size());
        bars.push_back({text.substr(start, end - start), start});
        if (end == text.size()) break;
        start = end + 1;
    }
    if (bars.size() > 1 && WordsOf(bars.back().text, 0).empty()) bars.pop_back();
    if (bars.size() > 1 && WordsOf(bars.front().text, 0).empty()) bars.erase(bars.begin());
    if (bars.size() == 1 && WordsOf(bars.front().text, 0).empty())
        return ErrorAt(chord_messages::kEmptyProgression, 0, 0);

    std::vector<Entry> entries;
    std::vector<Chord> previous;
    std::vector<Chord> chords;
    std::vector<std::string_view> previousTexts;
    std::vector<std::string_view> texts;
    for (std::size_t index = 0; index < bars.size(); ++index) {
        const int bar = static_cast<int>(index) + 1;
        const std::string barText = std::to_string(bar);
        const std::vector<Token> words = WordsOf(bars[index].text, bars[index].offset);
        if (words.empty()) return ErrorAt(FillIn(chord_messages::kEmptyBar, {barText}), bar, bars[index].offset);
        chords.clear();
        texts.clear();
        if (words.size() == 1 && words[0].text == "%") {
            if (previous.empty())
                return ErrorAt(FillIn(chord_messages::kRepeatWithoutBar, {barText}), bar, words[0].offset);
            chords = previous;
            texts = previousTexts;
        } else {
            if (words.size() > static_cast<std::size_t>(beats)) {
                return ErrorAt(FillIn(chord_messages::kTooManyChords,
                                      {barText, std::to_string(words.size()), std::to_string(beats)}),
                               bar, words[static_cast<std::size_t>(beats)].offset);
            }
            for (const Token& word : words) {
                const std::optional<Chord> chord = ParseChord(word.text);
                if (!chord) {
                    return ErrorAt(FillIn(chord_messages::kUnknownChord, {std::string(word.text), barText}), bar,
                                   word.offset);
                }
                chords.push_back(*chord);
                texts.push_back(word.text);
            }
        }
        // In 4/4 two chords change on beat 3, three on beats 1, 2 and 3.
        for (std::size_t i = 0; i < chords.size(); ++i) {
            const auto beat = static_cast<std::uint32_t>(index * static_cast<std::size_t>(beats) +
                                                         i * static_cast<std::size_t>(beats) / chords.size());
            if (entries.empty() || entries.back().chord != chords[i])
                entries.push_back({beat, chords[i], std::string(texts[i])});
        }
        previous = chords;
        previousTexts = texts;
    }
    progression.m_entries = std::move(entries);
    progression.m_bars = static_cast<int>(bars.size());
    progression.m_beatsPerBar = beats;
    return std::nullopt;
}

std::uint64_t Progression::TickOfBeat(std::uint64_t beat, std::uint32_t barTicks) const {
    const auto beats = static_cast<std::uint64_t>(m_beatsPerBar);
    return beat / beats * barTicks + beat % beats * barTicks / beats;
}

Progression Progression::Holding(const Chord& chord, std::string text) {
    Progression progression;
    progression.m_entries.push_back({0, chord, std::move(text)});
    progression.m_bars = 1;
    return progression;
}

Chord Progression::ChordAt(std::uint64_t tick, std::uint32_t barTicks) const {
    if (m_entries.empty()) return Chord{};
    return EntryAt(tick, barTicks).chord;
}

std::string_view Progression::TextAt(std::uint64_t tick, std::uint32_t barTicks) const {
    if (m_entries.empty()) return {};
    return EntryAt(tick, barTicks).text;
}

const Progression::Entry& Progression::EntryAt(std::uint64_t tick, std::uint32_t barTicks) const {
    const std::uint64_t cycle = static_cast<std::uint64_t>(m_bars) * std::max<std::uint32_t>(barTicks, 1);
    const std::uint64_t pos = tick % cycle;
    const auto after = std::upper_bound(m_entries.begin(), m_entries.end(), pos, [&](std::uint64_t at, const Entry& e) {
        return at < TickOfBeat(e.beat, barTicks);
    });
    return *std::prev(after);
}

std::optional<ChordChange> Progression::NextChange(std::uint64_t tick, std::uint32_t barTicks) const {
    if (m_entries.empty()) return std::nullopt;
    const std::uint64_t cycle = static_cast<std::uint64_t>(m_bars) * std::max<std::uint32_t>(barTicks, 1);
    // Coming round again, the first chord is a change only when the last one differs.
    const bool wraps = m_entries.front().chord != m_entries.back().chord;
    const std::uint64_t firstLoop = tick / cycle;
    for (std::uint64_t loop = firstLoop; loop <= firstLoop + 1; ++loop) {
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            const std::uint64_t at = loop * cycle + TickOfBeat(m_entries[i].beat, barTicks);
            if (at < tick || (i == 0 && loop > 0 && !wraps)) continue;
            return ChordChange{at, m_entries[i].chord};
        }
    }
    return std::nullopt;
}

std::vector<ChordChange> Progression::ChangesIn(std::uint64_t from, std::uint64_t to, std::uint32_t barTicks) const {
    std::vector<ChordChange> changes;
    for (std::optional<ChordChange> change = NextChange(from, barTicks); change && change->tick < to;
         change = NextChange(change->tick + 1, barTicks)) {
        changes.push_back(*change);
    }
    return changes;
}
