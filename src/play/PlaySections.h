// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

// The sections a style can play, as their markers name them, and the order a
// keyboard plays them in. Other markers ("fn:...", "sctb~...", "scte" or any other
// text) are no section boundaries.
inline constexpr std::array<std::string_view, 18> kPlaySectionNames = {
    "SInt",       "Intro A",    "Intro B",  "Intro C",    "Intro D",    "Main A",
    "Main B",     "Main C",     "Main D",   "Fill In AA", "Fill In BB", "Fill In CC",
    "Fill In DD", "Fill In BA", "Ending A", "Ending B",   "Ending C",   "Ending D"};
inline constexpr int kPlaySectionSInt = 0;
inline constexpr int kPlaySectionMainA = 5;
inline constexpr int kPlaySectionCount = 18;
inline constexpr std::string_view kDefaultPlaySection = "Main A";

// The sections present, in the order a keyboard and the Play menu list them (the
// order of kPlaySectionNames), "SInt" left out: it is set-up, never played.
std::vector<std::string_view> PlayableSectionNames(const std::array<bool, kPlaySectionCount>& present);

// The section a marker names: letters compared without case, as the load does.
std::optional<int> PlaySectionOfMarker(std::string_view text);

enum class SectionKind { SetUp, Intro, Main, FillIn, Ending };
SectionKind KindOfSection(int section);

// Where a track's events go, marker by marker: the set-up (before the first section
// and the whole "SInt"), a section met for the first time, or nowhere (a section met
// before under the same name is never played). The timeline and the voice listing
// cut a track by this one rule.
class SectionCut {
public:
    enum class Target { SetUp, Section, Skipped };
    Target Enter(int section) {
        if (section == kPlaySectionSInt) return m_target = Target::SetUp;
        m_target = m_met[section] ? Target::Skipped : Target::Section;
        m_met[section] = true;
        return m_target;
    }
    Target Current() const { return m_target; }

private:
    std::array<bool, kPlaySectionCount> m_met{};
    Target m_target = Target::SetUp;
};

// What follows a section once it has played: a Main or Fill In plays again, an Intro
// goes on into the Main of its letter (Main A when the style has no such Main), an
// Ending stops (nothing). present says which sections the style has.
std::optional<int> NextSection(int section, const std::array<bool, kPlaySectionCount>& present);
