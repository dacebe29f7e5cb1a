#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

inline constexpr int kSectionCount = 10;
inline constexpr int kChannelCount = 16;

// The sections in the order the document keeps their flags.
inline constexpr std::array<std::string_view, kSectionCount> kSectionNames = {
    "Main A", "Main B", "Main C", "Main D", "Intro A", "Intro B", "Intro C", "Ending A", "Ending B", "Ending C"};
inline constexpr int kSectionMainA = 0;

// The section a marker text names: same length, letters compared without case.
std::optional<int> SectionOfMarker(std::string_view text);

// The label shown beside a channel's volume for the accompaniment part (0-15) that
// plays on it: "Rhy1:" to "Phr2:" for parts 8-15, "(1):" to "(8):" below.
std::string ChannelLabel(int part);
