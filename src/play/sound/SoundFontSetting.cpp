// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/sound/SoundFontSetting.h"

#include <string>

#include "framework/platform/PathText.h"

std::filesystem::path SoundFontPath(std::string_view chosen) {
    return PathFromUtf8(std::string(chosen.empty() ? kDefaultSoundFont : chosen));
}
