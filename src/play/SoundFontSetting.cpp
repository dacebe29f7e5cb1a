// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/SoundFontSetting.h"

#include "framework/Profile.h"
#include "framework/platform/PathText.h"

std::filesystem::path SoundFontPath(const CProfile& profile) {
    const std::string chosen = profile.GetProfileString(kPlaybackSection, kSoundFontEntry, "");
    return PathFromUtf8(chosen.empty() ? std::string(kDefaultSoundFont) : chosen);
}
