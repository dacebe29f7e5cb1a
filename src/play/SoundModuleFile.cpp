// SPDX-License-Identifier: GPL-3.0-or-later
// The programs' side: loading korvane-sound.
#include "framework/PathText.h"
#include "msg/FillIn.h"
#include "msg/PlayMessages.h"
#include "play/SoundModule.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

#ifdef _WIN32
std::string LoaderReason() { return "Windows error " + std::to_string(GetLastError()); }
#else
std::string LoaderReason() {
    const char* reason = dlerror();
    return reason ? reason : "unknown reason";
}
#endif

}  // namespace

std::optional<SoundModule> LoadSoundModule(const std::filesystem::path& file, PlayError& error) {
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
    SoundModule module;
    module.makeAudioOutput = reinterpret_cast<MakeAudioOutputFunction>(find(kMakeAudioOutputSymbol));
    module.makeRenderSynth = reinterpret_cast<MakeRenderSynthFunction>(find(kMakeRenderSynthSymbol));
    if (!module.makeAudioOutput || !module.makeRenderSynth) {
        error = FillIn(play_messages::kSoundModuleUnloadable, {Utf8Of(file), LoaderReason()});
        return std::nullopt;
    }
    return module;
}
