// SPDX-License-Identifier: GPL-3.0-or-later
// Modules on POSIX systems: shared objects, opened with dlopen.
#include <dlfcn.h>

#include <system_error>

#include "framework/platform/Modules.h"

std::filesystem::path ProgramFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program.parent_path();
}

std::string ModuleFileName(std::string_view name) { return std::string(name) + ".so"; }

void* OpenModule(const std::filesystem::path& file) { return dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL); }

void (*FindInModule(void* module, const char* name))() {
    // Through void (*)(), the one function type a cast to another may go through.
    return reinterpret_cast<void (*)()>(dlsym(module, name));
}

std::string ModuleLoaderReason() {
    const char* reason = dlerror();
    return reason ? reason : "unknown reason";
}
