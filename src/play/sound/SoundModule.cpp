// SPDX-License-Identifier: GPL-3.0-or-later
// The module's side: what korvane-sound exports.
#include "play/sound/SoundModule.h"

#include "play/sound/SynthFactory.h"

extern "C" __attribute__((visibility("default"))) AudioOutput* KorvaneMakeAudioOutput(PlayError* error) {
    return MakeSystemAudioOutput(*error).release();
}

extern "C" __attribute__((visibility("default"))) Synth* KorvaneMakeRenderSynth(FileSystem* files,
                                                                                const std::filesystem::path* soundFont,
                                                                                int sampleRate, bool effects,
                                                                                PlayError* error) {
    return MakeRenderSynth(*files, *soundFont, sampleRate, effects, *error).release();
}
