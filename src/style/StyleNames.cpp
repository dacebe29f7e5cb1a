#include "style/StyleNames.h"

#include <algorithm>
#include <cctype>

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

constexpr std::array<std::string_view, 8> kPartLabels = {"Rhy1:", "Rhy2:", "Bass:", "Chd1:",
                                                         "Chd2:", "Pad:",  "Phr1:", "Phr2:"};

}  // namespace

std::optional<int> SectionOfMarker(std::string_view text) {
    for (int section = 0; section < kSectionCount; ++section) {
        if (EqualsIgnoringCase(text, kSectionNames[section])) return section;
    }
    return std::nullopt;
}

std::string ChannelLabel(int part) {
    if (part >= 8 && part < 16) return std::string(kPartLabels[part - 8]);
    return "(" + std::to_string(part + 1) + "):";
}
