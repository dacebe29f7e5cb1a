// SPDX-License-Identifier: GPL-3.0-or-later
// The stored settings through korvane-settings, loaded from beside the program (the
// build tree) or its module folder (an installation).
#include "cli/EditorSettings.h"
#include "framework/platform/Modules.h"
#include "framework/platform/PathText.h"
#include "msg/FillIn.h"
#include "options/SettingsModule.h"

std::unique_ptr<CProfile> OpenEditorSettings(std::string& error) {
    const std::optional<std::filesystem::path> file = InstalledModuleFile(kSettingsModuleName);
    if (!file) {
        error = FillIn(kSettingsModuleMissing, {kSettingsModuleName});
        return nullptr;
    }
    std::string reason;
    const auto functions = LoadModule(*file, {kOpenSettingsSymbol}, reason);
    if (!functions) {
        error = FillIn(kSettingsModuleUnloadable, {Utf8Of(*file), reason});
        return nullptr;
    }
    return std::unique_ptr<CProfile>(reinterpret_cast<OpenSettingsFunction>(functions->front())());
}
