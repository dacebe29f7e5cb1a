// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Notes by name as the keyboards name them: "C3" is MIDI note 60, "F#2" 54, "Eb3" 63.

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

inline int NoteNamed(std::string_view name) {
    static constexpr int kLetters[] = {9, 11, 0, 2, 4, 5, 7};
    int pitchClass = kLetters[name[0] - 'A'];
    std::size_t pos = 1;
    if (name[pos] == '#') ++pitchClass, ++pos;
    if (name[pos] == 'b') --pitchClass, ++pos;
    return (std::stoi(std::string(name.substr(pos))) + 2) * 12 + pitchClass;
}

// "C3 E3 G3" as notes, in order.
inline std::vector<int> NotesNamed(std::string_view names) {
    std::vector<int> notes;
    for (std::size_t pos = 0; pos < names.size();) {
        const std::size_t end = std::min(names.find(' ', pos), names.size());
        if (end > pos) notes.push_back(NoteNamed(names.substr(pos, end - pos)));
        pos = end + 1;
    }
    return notes;
}
