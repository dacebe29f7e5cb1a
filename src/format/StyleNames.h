// SPDX-License-Identifier: GPL-3.0-or-later
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

// The two kinds of style: SFF1, and SFF2 of current keyboards. The track's marker
// event names the kind, and the CASM chunk's channel tables follow it ("Ctab" records
// in SFF1, "Ctb2" in SFF2).
enum class StyleFormat { Sff1, Sff2 };
inline constexpr std::array<std::string_view, 2> kFormatMarkers = {"SFF1", "SFF2"};
inline constexpr std::string_view FormatName(StyleFormat format) { return kFormatMarkers[static_cast<int>(format)]; }
// The format a marker text names exactly, case included.
std::optional<StyleFormat> FormatOfMarker(std::string_view text);

// The section a marker text names: same length, letters compared without case.
std::optional<int> SectionOfMarker(std::string_view text);

// The label shown beside a channel's volume for the accompaniment part (0-15) that
// plays on it: "Rhy1:" to "Phr2:" for parts 8-15, "(1):" to "(8):" below.
std::string ChannelLabel(int part);
