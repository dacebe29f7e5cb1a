// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string_view>

// The system's General MIDI SoundFont, which playback uses unless told otherwise.
inline constexpr std::string_view kDefaultSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

// The SoundFont a setting chooses (a file's name, UTF-8): that file, or the system's
// General MIDI SoundFont when it names none.
std::filesystem::path SoundFontPath(std::string_view chosen);
