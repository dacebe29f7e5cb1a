// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "format/ByteOrder.h"
#include "format/StyleError.h"
#include "format/Sections.h"
#include "format/StyleNames.h"
#include "format/TrackMap.h"
#include "format/TrackWalker.h"

inline constexpr std::size_t kMinStyleFileSize = 48;
inline constexpr std::size_t kMaxStyleFileSize = 200000;
inline constexpr std::size_t kMaxStyleTextLength = 32;

using ChannelValues = std::array<std::int16_t, kChannelCount>;

// What a style file holds that the editor shows and the save needs, as read from its
// image. Absent values are -1 (tempo, volumes, parts) or 0 (time signature, lengths).
struct StyleFacts {
    StyleFormat format = StyleFormat::Sff1;
    std::string title;
    std::int32_t titleLength = 0;  // length byte of the title event
    bool hasCopyright = false;
    std::int32_t copyrightLength = 0;  // length byte of the copyright event
    std::string copyright;
    bool hasCntt = false;
    bool hasCASM = false;
    std::int32_t casmLength = 0;  // the whole chunk, header included
    bool hasOTS = false;
    std::int16_t tempo = -1;
    std::int32_t timeSigNumerator = 0;  // 0: none, and the style plays four beats a bar
    std::int32_t timeSigDenominator = 0;
    ChannelValues origVolume = Unset();
    ChannelValues channelPart = Unset();                  // for every channel with a volume: 0-15
    std::array<std::string, kChannelCount> channelLabel;  // empty for channels without a volume
    std::array<bool, kFormSectionCount> sections{};
    TrackMap track;  // the track cut at its markers, found by the same walk

    static ChannelValues Unset() {
        ChannelValues values;
        values.fill(-1);
        return values;
    }
};

inline void CutToStyleTextLength(std::string& text) {
    if (text.size() > kMaxStyleTextLength) text.resize(kMaxStyleTextLength);
}

// A title or copyright as the editor shows it: the event's first 32 bytes up to a
// zero byte, without trailing white space.
std::string StyleText(ByteView image, const TrackEvent& event);

// The tempo in beats per minute that a tempo event holds, to the nearest whole number
// as a keyboard shows it (666,667 microseconds per quarter are 90). An event too short for its
// three bytes, or with a value the 16-bit field cannot hold (0, or below 1832
// microseconds per quarter), still counts as the style's tempo but gives -1: nothing
// shows it for editing and a save leaves its bytes alone. The same holds for a time
// signature too short for its two bytes or with a denominator past 2^30.
std::int16_t TempoOf(ByteView image, const TrackEvent& event);

// Reads a whole style file image: header and track checks, the track walk, the CASM
// chunk's channel table, the OTS chunk's presence, the required title and format
// marker ("SFF1" or "SFF2"), the channel labels, and the map of the track (TrackMap.h).
// Every read stays inside the image. The size limits of a style file are the caller's
// to check.
MaybeStyleError ReadStyle(ByteView image, StyleFacts& facts);
