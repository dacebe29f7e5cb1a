// SPDX-License-Identifier: GPL-3.0-or-later
// The companion's synthesizer: korvane-sound, loaded on the first render or play from
// beside the program (the build tree) or its library folder (an installation).

#include "msg/PlayMessages.h"
#include "play/SoundModule.h"
#include "play/SynthFactory.h"

namespace {

std::filesystem::path ProgramFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program.parent_path();
}

// The module's file, or nothing when this installation has none.
std::optional<std::filesystem::path> ModuleFile() {
    const std::filesystem::path folder = ProgramFolder();
    const std::string name = std::string(kSoundModuleName) + ".so";
    for (const std::filesystem::path& candidate : {folder / name, folder / KORVANE_SOUND_MODULE_DIR / name}) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) return candidate.lexically_normal();
    }
    return std::nullopt;
}

const SoundModule* Module(PlayError& error) {
    static std::optional<SoundModule> module;
    if (module) return &*module;
    const std::optional<std::filesystem::path> file = ModuleFile();
    if (!file) {
        error = play_messages::kNoSynthesizer;
        return nullptr;
    }
    module = LoadSoundModule(*file, error);
    return module ? &*module : nullptr;
}

}  // namespace

bool HasSynthesizer() { return ModuleFile().has_value(); }

std::unique_ptr<Synth> MakeRenderSynth(FileSystem& files, const std::filesystem::path& soundFont, int sampleRate,
                                       bool effects, PlayError& error) {
    const SoundModule* module = Module(error);
    return std::unique_ptr<Synth>(module ? module->makeRenderSynth(&files, &soundFont, sampleRate, effects, &error)
                                         : nullptr);
}

std::unique_ptr<AudioOutput> MakeSystemAudioOutput(PlayError& error) {
    const SoundModule* module = Module(error);
    return std::unique_ptr<AudioOutput>(module ? module->makeAudioOutput(&error) : nullptr);
}
