// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string_view>

#include "framework/Profile.h"
#include "play/sound/SoundFontSetting.h"

// The settings of playback, in section "Playback": the SoundFont the user chose, which
// the editor's Play > SoundFont... writes and both programs read.
inline constexpr std::string_view kPlaybackSection = "Playback";
inline constexpr std::string_view kSoundFontEntry = "SoundFont";

// The SoundFont playback uses by these settings.
inline std::filesystem::path ChosenSoundFont(const CProfile& profile) {
    return SoundFontPath(profile.GetProfileString(kPlaybackSection, kSoundFontEntry, ""));
}
