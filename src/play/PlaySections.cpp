// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/PlaySections.h"

#include <algorithm>

#include "framework/AsciiCase.h"

namespace {

constexpr int kFirstIntro = 1;
constexpr int kFirstMain = 5;
constexpr int kFirstFillIn = 9;
constexpr int kFirstEnding = 14;

}  // namespace

std::optional<int> PlaySectionOfMarker(std::string_view text) {
    for (int section = 0; section < kPlaySectionCount; ++section) {
        if (EqualsIgnoringAsciiCase(text, kPlaySectionNames[section])) return section;
    }
    return std::nullopt;
}

std::vector<std::string_view> PlayableSectionNames(const std::array<bool, kPlaySectionCount>& present) {
    std::vector<std::string_view> names;
    for (int section = kPlaySectionSInt + 1; section < kPlaySectionCount; ++section) {
        if (present[section]) names.push_back(kPlaySectionNames[section]);
    }
    return names;
}

SectionKind KindOfSection(int section) {
    if (section < kFirstIntro) return SectionKind::SetUp;
    if (section < kFirstMain) return SectionKind::Intro;
    if (section < kFirstFillIn) return SectionKind::Main;
    if (section < kFirstEnding) return SectionKind::FillIn;
    return SectionKind::Ending;
}

std::optional<int> NextSection(int section, const std::array<bool, kPlaySectionCount>& present) {
    switch (KindOfSection(section)) {
        case SectionKind::Main:
        case SectionKind::FillIn: return section;
        case SectionKind::Intro: {
            const int main = kFirstMain + (section - kFirstIntro);
            if (present[main]) return main;
            if (present[kPlaySectionMainA]) return kPlaySectionMainA;
            return std::nullopt;
        }
        default: return std::nullopt;
    }
}
