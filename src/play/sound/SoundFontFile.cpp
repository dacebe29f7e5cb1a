// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/sound/SoundFontFile.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "storage/SafeFile.h"

bool LooksLikeSoundFont(FileSystem& files, const std::filesystem::path& path) {
    std::vector<std::uint8_t> head;
    if (!ReadFileStart(files, path, 12, head)) return false;
    const auto is = [&head](std::size_t at, std::string_view tag) {
        return std::equal(tag.begin(), tag.end(), head.begin() + static_cast<std::ptrdiff_t>(at));
    };
    return is(0, "RIFF") && is(8, "sfbk");
}
