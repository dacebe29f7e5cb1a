// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/platform/Modules.h"

#include <system_error>

const char* InstalledModuleFolder() { return KORVANE_MODULE_DIR; }

std::optional<std::filesystem::path> InstalledModuleFile(std::string_view name) {
    const std::filesystem::path folder = ProgramFolder();
    if (folder.empty()) return std::nullopt;
    const std::string file = ModuleFileName(name);
    for (const std::filesystem::path& candidate : {folder / file, folder / InstalledModuleFolder() / file}) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) return candidate.lexically_normal();
    }
    return std::nullopt;
}

std::optional<std::vector<void (*)()>> LoadModule(const std::filesystem::path& file,
                                                  std::initializer_list<const char*> names, std::string& reason) {
    void* module = OpenModule(file);
    std::vector<void (*)()> functions;
    for (const char* name : names) {
        functions.push_back(module ? FindInModule(module, name) : nullptr);
        if (!functions.back()) {
            reason = ModuleLoaderReason();
            return std::nullopt;
        }
    }
    return functions;
}
