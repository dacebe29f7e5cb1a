// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/SoundFontSetting.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "framework/PathText.h"
#include "framework/Profile.h"
#include "storage/SafeFile.h"

std::filesystem::path SoundFontPath(const CProfile& profile) {
    const std::string chosen = profile.GetProfileString(kPlaybackSection, kSoundFontEntry, "");
    return PathFromUtf8(chosen.empty() ? std::string(kDefaultSoundFont) : chosen);
}

bool LooksLikeSoundFont(const std::filesystem::path& path) {
    std::vector<std::uint8_t> head;
    if (!ReadFileStart(SystemFileSystem(), path, 12, head)) return false;
    const auto is = [&head](std::size_t at, std::string_view tag) {
        return std::equal(tag.begin(), tag.end(), head.begin() + static_cast<std::ptrdiff_t>(at));
    };
    return is(0, "RIFF") && is(8, "sfbk");
}
