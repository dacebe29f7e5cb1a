// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

#include "storage/FileSystem.h"

// What makes a file a SoundFont: a regular file that begins with a RIFF chunk of form
// "sfbk". The choice of a SoundFont is checked by it, and so is every file before the
// synthesizer loads it, whose loaders would otherwise report a stranger file in their own
// words on standard error.
bool LooksLikeSoundFont(FileSystem& files, const std::filesystem::path& path);
