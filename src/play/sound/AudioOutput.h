// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>

#include "play/PlayError.h"
#include "play/sound/Synth.h"
#include "storage/FileSystem.h"

// What fills the sound card's buffers: called on the audio thread, it must not block
// or allocate.
class AudioSource {
public:
    virtual ~AudioSource() = default;
    // left and right are zeroed; frames of sound go in.
    virtual void Fill(float* left, float* right, std::size_t frames) = 0;
};

// A synthesizer with a SoundFont and a way to the speakers. Made on the first Play
// only, so a program that never plays never loads a synthesizer. Between Start and Stop
// only the audio thread calls the synthesizer: the caller loads a SoundFont or resets
// the synthesizer only while it is stopped, as the synthesizer takes no lock.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Loads the SoundFont (again only when it is another file than the one loaded).
    virtual PlayError LoadSoundFont(FileSystem& files, const std::filesystem::path& soundFont) = 0;
    virtual Synth& GetSynth() = 0;
    virtual int SampleRate() const = 0;
    // Starts calling source.Fill from the audio thread.
    virtual PlayError Start(AudioSource& source) = 0;
    // Returns once Fill runs no more.
    virtual void Stop() = 0;
};

// fluidsynth and its audio driver; nothing (with kNoSynthesizer in error) in a build
// without a synthesizer.
std::unique_ptr<AudioOutput> MakeSystemAudioOutput(PlayError& error);
