// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

inline constexpr int kChannelCount = 16;

// A style without a time signature plays in 4/4, as keyboards play it.
inline constexpr int kBeatsWithoutTimeSignature = 4;
inline constexpr int kBeatPowerWithoutTimeSignature = 2;  // a quarter note

// The accompaniment parts a keyboard plays (rhythm, bass, chords, pad, phrases), as a
// channel table names them: a channel given any other part plays nothing.
inline constexpr int kFirstPlayedPart = 8;
inline constexpr int kLastPlayedPart = 15;
inline constexpr bool IsPlayedPart(int part) { return part >= kFirstPlayedPart && part <= kLastPlayedPart; }

// The two kinds of style: SFF1, and SFF2 of current keyboards. The track's marker
// event names the kind, and the CASM chunk's channel tables follow it ("Ctab" records
// in SFF1, "Ctb2" in SFF2).
enum class StyleFormat { Sff1, Sff2 };
inline constexpr std::array<std::string_view, 2> kFormatMarkers = {"SFF1", "SFF2"};
inline constexpr std::string_view FormatName(StyleFormat format) { return kFormatMarkers[static_cast<int>(format)]; }
// The format a marker text names exactly, case included.
std::optional<StyleFormat> FormatOfMarker(std::string_view text);

// The label shown beside a channel's volume for the accompaniment part (0-15) that
// plays on it: "Rhy1:" to "Phr2:" for parts 8-15, "(1):" to "(8):" below.
std::string ChannelLabel(int part);
