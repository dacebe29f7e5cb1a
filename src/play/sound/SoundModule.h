// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>

#include "play/sound/AudioOutput.h"
#include "play/PlayError.h"
#include "play/sound/Synth.h"
#include "storage/FileSystem.h"

// The synthesizer and its audio driver as a module of their own (korvane-sound), which
// the editor loads on its first Play and the companion on its first render or play: a
// program that never plays never loads libfluidsynth and the many libraries it brings,
// so its start and memory stay as they were. The module hands out what it makes through
// these two functions; the caller owns what they make, and the module stays loaded.
inline constexpr const char* kSoundModuleName = "korvane-sound";
inline constexpr const char* kMakeAudioOutputSymbol = "KorvaneMakeAudioOutput";
inline constexpr const char* kMakeRenderSynthSymbol = "KorvaneMakeRenderSynth";
using MakeAudioOutputFunction = AudioOutput* (*)(PlayError* error);
using MakeRenderSynthFunction = Synth* (*)(FileSystem* files, const std::filesystem::path* soundFont, int sampleRate,
                                           bool effects, PlayError* error);

struct SoundModule {
    MakeAudioOutputFunction makeAudioOutput = nullptr;
    MakeRenderSynthFunction makeRenderSynth = nullptr;
};

// The module in file, loaded as LoadModule (framework/platform/Modules.h) does. Nothing, and the
// error naming the file and the loader's reason, when it cannot be loaded.
std::optional<SoundModule> LoadSoundModule(const std::filesystem::path& file, PlayError& error);
