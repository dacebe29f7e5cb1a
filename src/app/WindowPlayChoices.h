// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/WindowChords.h"

// What each style window plays, kept while the window is open and forgotten when it
// closes: the sections its style has, the section chosen for it and the chords given
// in it (which are no part of the style: never saved). Windows are told apart by a key
// their owner chooses, their address. No Qt: the Play menu keeps one, tests another.
class CWindowPlayChoices {
public:
    using Key = const void*;
    // Reads the sections a window's style can play, in the order a keyboard lists them.
    using SectionReader = std::function<std::vector<std::string>()>;

    bool Knows(Key window) const { return m_windows.count(window) != 0; }
    void Forget(Key window) { m_windows.erase(window); }

    // The window's sections, read once and kept, since edits add or remove none. A style
    // that cannot be played now lists none and is read again next time: a tempo being
    // typed may be all that is in the way.
    const std::vector<std::string>& Sections(Key window, const SectionReader& read);
    // The section Play plays in the window: at first "Main A", or where the style lacks
    // it its first Main, else its first section.
    const std::string& Chosen(Key window, const SectionReader& read);
    void Choose(Key window, std::string section) { m_windows[window].chosen = std::move(section); }

    // The chords the window follows; nothing while none were given.
    const std::optional<WindowChords>& Chords(Key window) const;
    void GiveChords(Key window, WindowChords chords) { m_windows[window].chords = std::move(chords); }

private:
    struct Choice {
        std::vector<std::string> sections;
        std::string chosen;
        std::optional<WindowChords> chords;
    };
    std::map<Key, Choice> m_windows;
};
