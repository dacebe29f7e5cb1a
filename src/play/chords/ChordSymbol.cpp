// SPDX-License-Identifier: GPL-3.0-or-later
#include <array>

#include "play/chords/Chord.h"

namespace {

struct Spelling {
    std::string_view text;
    ChordType type;
};

using T = ChordType;
// Every way a chord symbol may write a type after its root. A symbol takes the
// longest spelling that fits, so "6/9" is a type and "6/A" a sixth over A.
constexpr std::array kSpellings = std::to_array<Spelling>({
    {"", T::Maj},
    {"maj", T::Maj},
    {"Maj", T::Maj},
    {"M", T::Maj},
    {"6", T::Maj6},
    {"maj6", T::Maj6},
    {"Maj6", T::Maj6},
    {"M6", T::Maj6},
    {"maj7", T::Maj7},
    {"Maj7", T::Maj7},
    {"M7", T::Maj7},
    {"maj7#11", T::Maj7Sharp11},
    {"Maj7#11", T::Maj7Sharp11},
    {"M7#11", T::Maj7Sharp11},
    {"maj7(#11)", T::Maj7Sharp11},
    {"Maj7(#11)", T::Maj7Sharp11},
    {"add9", T::MajAdd9},
    {"(9)", T::MajAdd9},
    {"Maj(9)", T::MajAdd9},
    {"maj9", T::Maj9},
    {"Maj9", T::Maj9},
    {"M9", T::Maj9},
    {"maj7(9)", T::Maj9},
    {"Maj7(9)", T::Maj9},
    {"M7(9)", T::Maj9},
    {"6/9", T::Maj6Add9},
    {"69", T::Maj6Add9},
    {"6(9)", T::Maj6Add9},
    {"Maj6(9)", T::Maj6Add9},
    {"aug", T::Aug},
    {"+", T::Aug},
    {"(#5)", T::Aug},
    {"m", T::Min},
    {"min", T::Min},
    {"-", T::Min},
    {"m6", T::Min6},
    {"min6", T::Min6},
    {"-6", T::Min6},
    {"m7", T::Min7},
    {"min7", T::Min7},
    {"-7", T::Min7},
    {"m7b5", T::Min7Flat5},
    {"min7b5", T::Min7Flat5},
    {"m7(b5)", T::Min7Flat5},
    {"-7b5", T::Min7Flat5},
    {"\xC3\xB8", T::Min7Flat5},  // ø
    {"\xC3\xB8"
     "7",
     T::Min7Flat5},
    {"madd9", T::MinAdd9},
    {"m(9)", T::MinAdd9},
    {"min(9)", T::MinAdd9},
    {"m(add9)", T::MinAdd9},
    {"m9", T::Min9},
    {"min9", T::Min9},
    {"m7(9)", T::Min9},
    {"min7(9)", T::Min9},
    {"-9", T::Min9},
    {"m11", T::Min11},
    {"min11", T::Min11},
    {"m7(11)", T::Min11},
    {"min7(11)", T::Min11},
    {"-11", T::Min11},
    {"mMaj7", T::MinMaj7},
    {"mmaj7", T::MinMaj7},
    {"mM7", T::MinMaj7},
    {"minMaj7", T::MinMaj7},
    {"m(maj7)", T::MinMaj7},
    {"-Maj7", T::MinMaj7},
    {"mMaj9", T::MinMaj9},
    {"mmaj9", T::MinMaj9},
    {"mM9", T::MinMaj9},
    {"mMaj7(9)", T::MinMaj9},
    {"minMaj7(9)", T::MinMaj9},
    {"dim", T::Dim},
    {"o", T::Dim},
    {"\xC2\xB0", T::Dim},  // °
    {"dim7", T::Dim7},
    {"o7", T::Dim7},
    {"\xC2\xB0"
     "7",
     T::Dim7},
    {"7", T::Dom7},
    {"7sus4", T::Dom7Sus4},
    {"7sus", T::Dom7Sus4},
    {"7b5", T::Dom7Flat5},
    {"7(b5)", T::Dom7Flat5},
    {"9", T::Dom9},
    {"7(9)", T::Dom9},
    {"7#11", T::Dom7Sharp11},
    {"7(#11)", T::Dom7Sharp11},
    {"13", T::Dom13},
    {"7(13)", T::Dom13},
    {"7b9", T::Dom7Flat9},
    {"7(b9)", T::Dom7Flat9},
    {"7b13", T::Dom7Flat13},
    {"7(b13)", T::Dom7Flat13},
    {"7#9", T::Dom7Sharp9},
    {"7(#9)", T::Dom7Sharp9},
    {"maj7aug", T::Maj7Aug},
    {"Maj7aug", T::Maj7Aug},
    {"maj7#5", T::Maj7Aug},
    {"Maj7#5", T::Maj7Aug},
    {"M7#5", T::Maj7Aug},
    {"M7+", T::Maj7Aug},
    {"7aug", T::Dom7Aug},
    {"7#5", T::Dom7Aug},
    {"7+", T::Dom7Aug},
    {"aug7", T::Dom7Aug},
    {"+7", T::Dom7Aug},
    {"1+8", T::OneEight},
    {"5", T::OneFive},
    {"1+5", T::OneFive},
    {"sus4", T::Sus4},
    {"sus", T::Sus4},
    {"sus2", T::OneTwoFive},
    {"1+2+5", T::OneTwoFive},
});

constexpr std::array<std::string_view, 12> kPitchClassNames = {"C",  "C#", "D",  "Eb", "E",  "F",
                                                               "F#", "G",  "Ab", "A",  "Bb", "B"};

// C D E F G A B as pitch classes.
constexpr std::array<int, 7> kLetterPitch = {9, 11, 0, 2, 4, 5, 7};  // A..G

// A note name at the start of text, as a pitch class.
std::size_t ReadPitchClass(std::string_view text, int& pitchClass) {
    const std::size_t length = ReadNoteName(text, pitchClass);
    pitchClass = (pitchClass + 12) % 12;
    return length;
}

}  // namespace

std::size_t ReadNoteName(std::string_view text, int& semitones) {
    if (text.empty() || text[0] < 'A' || text[0] > 'G') return 0;
    semitones = kLetterPitch[static_cast<std::size_t>(text[0] - 'A')];
    if (text.size() > 1 && (text[1] == '#' || text[1] == 'b')) {
        semitones += text[1] == '#' ? 1 : -1;
        return 2;
    }
    return 1;
}

std::optional<Chord> ParseChord(std::string_view symbol) {
    if (symbol == "NC" || symbol == "N.C.") return kNoChord;
    int root = 0;
    const std::size_t rootLength = ReadPitchClass(symbol, root);
    if (rootLength == 0) return std::nullopt;
    const std::string_view rest = symbol.substr(rootLength);
    std::optional<Chord> best;
    std::size_t bestLength = 0;
    for (const Spelling& spelling : kSpellings) {
        if (!rest.starts_with(spelling.text) || (best && spelling.text.size() <= bestLength)) continue;
        const std::string_view after = rest.substr(spelling.text.size());
        Chord chord{static_cast<std::uint8_t>(root), spelling.type, -1, false};
        if (!after.empty()) {
            int bass = 0;
            const std::size_t bassLength = after[0] == '/' ? ReadPitchClass(after.substr(1), bass) : 0;
            if (bassLength == 0 || bassLength + 1 != after.size()) continue;
            if (bass != root) chord.bass = static_cast<std::int8_t>(bass);
        }
        best = chord;
        bestLength = spelling.text.size();
    }
    return best;
}

std::string_view PitchClassName(int pitchClass) { return kPitchClassNames[static_cast<std::size_t>(pitchClass % 12)]; }

std::string ChordText(const Chord& chord) {
    if (chord.none) return "NC";
    std::string text(PitchClassName(chord.root));
    text += TypeInfo(chord.type).display;
    if (chord.bass >= 0) (text += '/') += PitchClassName(chord.bass);
    return text;
}
