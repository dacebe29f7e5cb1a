// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "framework/Profile.h"

// %s: the module's name.
inline constexpr const char* kSettingsModuleMissing =
    "The settings module \"%s\" was not found!\n\n(korvane-cli reads the editor's settings through it; please "
    "install Korvane again.)";
// %s: the file, then the system loader's reason.
inline constexpr const char* kSettingsModuleUnloadable = "The settings module \"%s\" could not be loaded!\n\n(%s)";

// The editor's stored settings, which save, render and play read: a new document's save
// options and the SoundFont. Nothing, and why, when they cannot be read; nothing and no
// error in a build without a settings store, where the built-in defaults hold.
std::unique_ptr<CProfile> OpenEditorSettings(std::string& error);
