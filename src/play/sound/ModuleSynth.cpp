// SPDX-License-Identifier: GPL-3.0-or-later
// The companion's synthesizer: korvane-sound, loaded on the first render or play from
// beside the program (the build tree) or its library folder (an installation).

#include "framework/platform/Modules.h"
#include "msg/PlayMessages.h"
#include "play/sound/SoundModule.h"
#include "play/sound/SynthFactory.h"

namespace {

const SoundModule* Module(PlayError& error) {
    static std::optional<SoundModule> module;
    if (module) return &*module;
    const std::optional<std::filesystem::path> file = InstalledModuleFile(kSoundModuleName);
    if (!file) {
        error = play_messages::kNoSynthesizer;
        return nullptr;
    }
    module = LoadSoundModule(*file, error);
    return module ? &*module : nullptr;
}

}  // namespace

bool HasSynthesizer() { return InstalledModuleFile(kSoundModuleName).has_value(); }

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
