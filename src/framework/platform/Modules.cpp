// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/platform/Modules.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

#ifdef _WIN32
constexpr const char* kModuleSuffix = ".dll";

std::filesystem::path ProgramFolder() {
    std::wstring program(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
        if (length == 0) return {};
        if (length < program.size()) return std::filesystem::path(program.substr(0, length)).parent_path();
        program.resize(program.size() * 2);
    }
}

std::string LoaderReason() { return "Windows error " + std::to_string(GetLastError()); }
#else
constexpr const char* kModuleSuffix = ".so";

std::filesystem::path ProgramFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program.parent_path();
}

std::string LoaderReason() {
    const char* reason = dlerror();
    return reason ? reason : "unknown reason";
}
#endif

}  // namespace

const char* InstalledModuleFolder() { return KORVANE_MODULE_DIR; }

std::optional<std::filesystem::path> InstalledModuleFile(std::string_view name) {
    const std::filesystem::path folder = ProgramFolder();
    if (folder.empty()) return std::nullopt;
    const std::string file = std::string(name) + kModuleSuffix;
    for (const std::filesystem::path& candidate : {folder / file, folder / InstalledModuleFolder() / file}) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) return candidate.lexically_normal();
    }
    return std::nullopt;
}

std::optional<std::vector<void (*)()>> LoadModule(const std::filesystem::path& file,
                                                  std::initializer_list<const char*> names, std::string& reason) {
#ifdef _WIN32
    HMODULE handle = LoadLibraryW(file.c_str());
    // Through void (*)(), the one function type a cast to another may go through.
    const auto find = [handle](const char* name) {
        return handle ? reinterpret_cast<void (*)()>(GetProcAddress(handle, name)) : nullptr;
    };
#else
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    const auto find = [handle](const char* name) {
        return handle ? reinterpret_cast<void (*)()>(dlsym(handle, name)) : nullptr;
    };
#endif
    std::vector<void (*)()> functions;
    for (const char* name : names) {
        functions.push_back(find(name));
        if (!functions.back()) {
            reason = LoaderReason();
            return std::nullopt;
        }
    }
    return functions;
}
