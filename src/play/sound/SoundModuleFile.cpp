// SPDX-License-Identifier: GPL-3.0-or-later
// The programs' side: loading korvane-sound.
#include "framework/platform/Modules.h"
#include "framework/platform/PathText.h"
#include "msg/FillIn.h"
#include "msg/PlayMessages.h"
#include "play/sound/SoundModule.h"

std::optional<SoundModule> LoadSoundModule(const std::filesystem::path& file, PlayError& error) {
    std::string reason;
    const auto functions = LoadModule(file, {kMakeAudioOutputSymbol, kMakeRenderSynthSymbol}, reason);
    if (!functions) {
        error = FillIn(play_messages::kSoundModuleUnloadable, {Utf8Of(file), reason});
        return std::nullopt;
    }
    SoundModule module;
    module.makeAudioOutput = reinterpret_cast<MakeAudioOutputFunction>((*functions)[0]);
    module.makeRenderSynth = reinterpret_cast<MakeRenderSynthFunction>((*functions)[1]);
    return module;
}
