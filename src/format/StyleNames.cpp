// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/StyleNames.h"

#include <algorithm>

#include "framework/AsciiCase.h"

namespace {

constexpr std::array<std::string_view, 8> kPartLabels = {
    "Rhy1:", "Rhy2:", "Bass:", "Chd1:", "Chd2:", "Pad:", "Phr1:", "Phr2:"};

}  // namespace

std::string ChannelLabel(int part) {
    if (IsPlayedPart(part)) return std::string(kPartLabels[static_cast<std::size_t>(part - kFirstPlayedPart)]);
    return "(" + std::to_string(part + 1) + "):";
}

std::optional<StyleFormat> FormatOfMarker(std::string_view text) {
    for (std::size_t i = 0; i < kFormatMarkers.size(); ++i) {
        if (text == kFormatMarkers[i]) return static_cast<StyleFormat>(i);
    }
    return std::nullopt;
}
