// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/Sections.h"

#include <algorithm>

#include "framework/AsciiCase.h"

namespace {

constexpr int kFirstIntro = 1;
constexpr int kFirstMain = 5;
constexpr int kFirstFillIn = 9;
constexpr int kFirstEnding = 14;

}  // namespace

std::optional<int> SectionOfMarker(std::string_view text) {
    // The load asks of every marker: most are no section name, and fail on their length.
    if (text.size() < kSectionNames[kSectionSInt].size() || text.size() > kSectionNames[kFirstFillIn].size())
        return std::nullopt;
    for (int section = 0; section < kSectionCount; ++section) {
        if (EqualsIgnoringAsciiCase(text, kSectionNames[section])) return section;
    }
    return std::nullopt;
}

std::optional<int> FormSectionOf(int section) {
    const auto found = std::find(kFormSections.begin(), kFormSections.end(), section);
    if (found == kFormSections.end()) return std::nullopt;
    return static_cast<int>(found - kFormSections.begin());
}

std::vector<std::string_view> PlayableSectionNames(const std::array<bool, kSectionCount>& present) {
    std::vector<std::string_view> names;
    for (int section = kSectionSInt + 1; section < kSectionCount; ++section) {
        if (present[section]) names.push_back(kSectionNames[section]);
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

std::optional<int> NextSection(int section, const std::array<bool, kSectionCount>& present) {
    switch (KindOfSection(section)) {
        case SectionKind::Main:
        case SectionKind::FillIn: return section;
        case SectionKind::Intro: {
            const int main = kFirstMain + (section - kFirstIntro);
            if (present[main]) return main;
            if (present[kSectionMainA]) return kSectionMainA;
            return std::nullopt;
        }
        default: return std::nullopt;
    }
}
