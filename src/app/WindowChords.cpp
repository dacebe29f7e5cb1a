// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowChords.h"

#include "document/EditRules.h"
#include "document/KorvaneDoc.h"
#include "play/Player.h"

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::variant<WindowChords, ProgressionError> ReadWindowChords(std::string_view text, int beatsPerBar) {
    const std::string_view symbols = Trimmed(text);
    if (const std::optional<Chord> chord = ParseChord(symbols)) return WindowChords{std::string(symbols), *chord};
    Progression progression;
    if (std::optional<ProgressionError> error = Progression::Parse(symbols, beatsPerBar, progression)) return *error;
    return WindowChords{std::string(symbols), std::move(progression)};
}

void GiveChords(CStylePlayer& player, const WindowChords& chords) {
    if (const auto* chord = std::get_if<Chord>(&chords.chords)) {
        player.HoldChord(*chord);
    } else {
        player.FollowProgression(std::get<Progression>(chords.chords));
    }
}

std::string OneLine(std::string_view text) {
    std::string line;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] != '\n' && text[i] != '\r') {
            line += text[i++];
            continue;
        }
        while (i < text.size() && (text[i] == '\n' || text[i] == '\r')) ++i;
        line += ' ';
    }
    return line;
}
