// SPDX-License-Identifier: GPL-3.0-or-later
// The stored settings through the store linked into the program (a static Qt).
#include "cli/EditorSettings.h"
#include "options/SettingsProfile.h"

std::unique_ptr<CProfile> OpenEditorSettings(std::string&) { return std::make_unique<CSettingsProfile>(); }
