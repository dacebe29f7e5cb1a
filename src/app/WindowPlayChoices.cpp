// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowPlayChoices.h"

#include <algorithm>

#include "format/Sections.h"

namespace {

std::string FirstChoice(const std::vector<std::string>& sections) {
    const auto isMain = [](const std::string& name) {
        const std::optional<int> section = SectionOfMarker(name);
        return section && KindOfSection(*section) == SectionKind::Main;
    };
    if (std::find(sections.begin(), sections.end(), kDefaultPlaySection) != sections.end() || sections.empty()) {
        return std::string(kDefaultPlaySection);
    }
    const auto main = std::find_if(sections.begin(), sections.end(), isMain);
    return main != sections.end() ? *main : sections.front();
}

}  // namespace

const std::vector<std::string>& CWindowPlayChoices::Sections(Key window, const SectionReader& read) {
    Choice& choice = m_windows[window];
    if (choice.sections.empty()) choice.sections = read();
    return choice.sections;
}

const std::string& CWindowPlayChoices::Chosen(Key window, const SectionReader& read) {
    const std::vector<std::string>& sections = Sections(window, read);
    Choice& choice = m_windows[window];
    if (choice.chosen.empty()) choice.chosen = FirstChoice(sections);
    return choice.chosen;
}

const std::optional<WindowChords>& CWindowPlayChoices::Chords(Key window) const {
    static const std::optional<WindowChords> kNone;
    const auto found = m_windows.find(window);
    return found != m_windows.end() ? found->second.chords : kNone;
}
