// SPDX-License-Identifier: GPL-3.0-or-later
// Modules on Windows: DLLs, loaded with LoadLibraryW, which binds every import at once.
#include <windows.h>

#include "framework/platform/Modules.h"

std::filesystem::path ProgramFolder() {
    std::wstring program(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
        if (length == 0) return {};
        if (length < program.size()) return std::filesystem::path(program.substr(0, length)).parent_path();
        program.resize(program.size() * 2);
    }
}

std::string ModuleFileName(std::string_view name) { return std::string(name) + ".dll"; }

void* OpenModule(const std::filesystem::path& file) { return LoadLibraryW(file.c_str()); }

void (*FindInModule(void* module, const char* name))() {
    // Through void (*)(), the one function type a cast to another may go through.
    return reinterpret_cast<void (*)()>(GetProcAddress(static_cast<HMODULE>(module), name));
}

std::string ModuleLoaderReason() { return "Windows error " + std::to_string(GetLastError()); }
