// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string_view>

class CProfile;

// The SoundFont that playback uses: the setting "SoundFont" in the section
// "Playback" when it names a file, else the system's General MIDI SoundFont.
inline constexpr std::string_view kPlaybackSection = "Playback";
inline constexpr std::string_view kSoundFontEntry = "SoundFont";
inline constexpr std::string_view kDefaultSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

std::filesystem::path SoundFontPath(const CProfile& profile);
