// SPDX-License-Identifier: GPL-3.0-or-later
// A build without fluidsynth (the Windows one): timelines, voices and MIDI files work,
// sound does not, and says so.
#include "msg/PlayMessages.h"
#include "play/sound/AudioOutput.h"
#include "play/sound/SynthFactory.h"

bool HasSynthesizer() { return false; }

std::unique_ptr<Synth> MakeRenderSynth(FileSystem&, const std::filesystem::path&, int, bool, PlayError& error) {
    error = play_messages::kNoSynthesizer;
    return nullptr;
}

std::unique_ptr<AudioOutput> MakeSystemAudioOutput(PlayError& error) {
    error = play_messages::kNoSynthesizer;
    return nullptr;
}
