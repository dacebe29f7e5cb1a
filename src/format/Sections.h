// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

// The sections a style can have, as their markers name them, in the order a keyboard
// lists them. Other markers ("fn:...", "sctb~...", "scte" or any other text) are no
// section boundaries.
inline constexpr std::array<std::string_view, 18> kSectionNames = {
    "SInt",       "Intro A",    "Intro B",  "Intro C",    "Intro D",    "Main A",
    "Main B",     "Main C",     "Main D",   "Fill In AA", "Fill In BB", "Fill In CC",
    "Fill In DD", "Fill In BA", "Ending A", "Ending B",   "Ending C",   "Ending D"};
inline constexpr int kSectionSInt = 0;
inline constexpr int kSectionMainA = 5;
inline constexpr int kSectionCount = 18;
inline constexpr std::string_view kDefaultPlaySection = "Main A";

// The sections present, in the order a keyboard and the Play menu list them (the
// order of kSectionNames), "SInt" left out: it is set-up, never played.
std::vector<std::string_view> PlayableSectionNames(const std::array<bool, kSectionCount>& present);

// The section a marker names: letters compared without case, as the load does.
std::optional<int> SectionOfMarker(std::string_view text);

// The ten sections the style form shows a flag for, in the form's order: a view of the
// sections above, as the document keeps its flags.
inline constexpr int kFormSectionCount = 10;
inline constexpr std::array<int, kFormSectionCount> kFormSections = {5, 6, 7, 8, 1, 2, 3, 14, 15, 16};
inline constexpr int kFormSectionMainA = 0;
static_assert(kFormSections[kFormSectionMainA] == kSectionMainA);
// The form's flag of a section, nothing for a section the form shows none of.
std::optional<int> FormSectionOf(int section);
inline std::string_view FormSectionName(int formSection) { return kSectionNames[kFormSections[formSection]]; }

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
        if (section == kSectionSInt) return m_target = Target::SetUp;
        m_target = m_met[section] ? Target::Skipped : Target::Section;
        m_met[section] = true;
        return m_target;
    }
    Target Current() const { return m_target; }

private:
    std::array<bool, kSectionCount> m_met{};
    Target m_target = Target::SetUp;
};

// What follows a section once it has played: a Main or Fill In plays again, an Intro
// goes on into the Main of its letter (Main A when the style has no such Main), an
// Ending stops (nothing). present says which sections the style has.
std::optional<int> NextSection(int section, const std::array<bool, kSectionCount>& present);
