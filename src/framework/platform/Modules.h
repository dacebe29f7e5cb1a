// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The programs' own modules: libraries they load on the first use of what the module
// does (the synthesizer, the stored settings), so that what a module links does not
// slow every start of a program that never needs it.

// The installation's module folder, relative to the programs' folder.
const char* InstalledModuleFolder();

// The file of the module called name (without the system's suffix): beside the
// program, as in the build tree, or in the installation's module folder. Nothing when
// neither holds it.
std::optional<std::filesystem::path> InstalledModuleFile(std::string_view name);

// Loads the module in file with every symbol bound at once, so that one no library has
// is refused here, in the system loader's words, rather than ending the program at its
// first call, and looks up each of names in it. The addresses in the order of names;
// nothing, and the loader's reason, when the file cannot be loaded or lacks a name. A
// module is never unloaded: what it made runs its code until the program ends.
std::optional<std::vector<void (*)()>> LoadModule(const std::filesystem::path& file,
                                                  std::initializer_list<const char*> names, std::string& reason);

// What the functions above ask of the system, one file per system: ModulesPosix.cpp,
// ModulesWindows.cpp.

// The folder of the running program's file; empty when the system does not say.
std::filesystem::path ProgramFolder();
// The file name of the module called name: name and the system's suffix.
std::string ModuleFileName(std::string_view name);
// The module in file, loaded with every symbol bound; null when it cannot be.
void* OpenModule(const std::filesystem::path& file);
// The function called name in a module OpenModule gave; null when it has none.
void (*FindInModule(void* module, const char* name))();
// Why the last OpenModule or FindInModule failed, in the system loader's words.
std::string ModuleLoaderReason();
