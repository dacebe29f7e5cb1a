// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/StyleNames.h"

#include <algorithm>

#include "framework/AsciiCase.h"

namespace {

constexpr std::array<std::string_view, 8> kPartLabels = {
    "Rhy1:", "Rhy2:", "Bass:", "Chd1:", "Chd2:", "Pad:", "Phr1:", "Phr2:"};

}  // namespace

std::optional<int> SectionOfMarker(std::string_view text) {
    if (text.size() < 6 || text.size() > 8) return std::nullopt;  // "Main A" to "Ending C"
    for (int section = 0; section < kSectionCount; ++section) {
        if (EqualsIgnoringAsciiCase(text, kSectionNames[section])) return section;
    }
    return std::nullopt;
}

std::string ChannelLabel(int part) {
    if (part >= 8 && part < 16) return std::string(kPartLabels[part - 8]);
    return "(" + std::to_string(part + 1) + "):";
}

std::optional<StyleFormat> FormatOfMarker(std::string_view text) {
    for (std::size_t i = 0; i < kFormatMarkers.size(); ++i) {
        if (text == kFormatMarkers[i]) return static_cast<StyleFormat>(i);
    }
    return std::nullopt;
}
