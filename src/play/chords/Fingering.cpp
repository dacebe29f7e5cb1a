// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/chords/Fingering.h"

#include <charconv>

namespace {

constexpr std::array<std::string_view, 12> kSharpNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                                          "F#", "G",  "G#", "A",  "A#", "B"};
constexpr int kLowestOctave = -2;  // so that C3 is 60
constexpr int kHighestOctave = 8;

// The whole of text as a whole number.
std::optional<int> WholeNumber(std::string_view text) {
    int number = 0;
    const char* end = text.data() + text.size();
    const auto [last, error] = std::from_chars(text.data(), end, number);
    if (text.empty() || error != std::errc{} || last != end) return std::nullopt;
    return number;
}

}  // namespace

std::optional<Fingering> ParseFingering(std::string_view name) {
    for (const FingeringEntry& entry : kFingerings) {
        if (entry.name == name) return entry.mode;
    }
    return std::nullopt;
}

std::string_view FingeringName(Fingering mode) {
    for (const FingeringEntry& entry : kFingerings) {
        if (entry.mode == mode) return entry.name;
    }
    return {};
}

std::optional<int> ParseSplitKey(std::string_view text) {
    std::optional<int> key;
    int semitones = 0;
    if (const std::size_t length = ReadNoteName(text, semitones); length > 0) {
        const std::optional<int> octave = WholeNumber(text.substr(length));
        if (!octave || *octave < kLowestOctave || *octave > kHighestOctave) return std::nullopt;
        key = (*octave - kLowestOctave) * 12 + semitones;
    } else if (!text.starts_with('-')) {
        key = WholeNumber(text);
    }
    if (!key || *key < 0 || *key > kHighestKey) return std::nullopt;
    return key;
}

std::string SplitKeyName(int key) {
    return std::string(kSharpNames[static_cast<std::size_t>(key % 12)]) + std::to_string(key / 12 + kLowestOctave);
}
