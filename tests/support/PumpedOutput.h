// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// An audio output that the test drives: Pump runs the sound as the sound card's thread
// would, and the synthesizer writes down what it is sent. Its SoundFont or its start
// can be made to fail, with playback's own texts.

#include <algorithm>
#include <vector>

#include "RecordingSynth.h"
#include "msg/FillIn.h"
#include "msg/PlayMessages.h"
#include "msg/StyleMessages.h"
#include "play/sound/AudioOutput.h"

struct VolumeSent {
    int channel;
    int value;
    bool operator==(const VolumeSent&) const = default;
};

// The controller-7 messages the synthesizer was sent, from the index-th message on.
inline std::vector<VolumeSent> VolumesSent(const RecordingSynth& synth, std::size_t from = 0) {
    std::vector<VolumeSent> volumes;
    for (std::size_t i = from; i < synth.messages.size(); ++i) {
        const SentMessage& m = synth.messages[i];
        if ((m.status >> 4) == 0xB && m.data1 == 7) volumes.push_back({m.status & 0x0F, m.data2});
    }
    return volumes;
}

struct PumpedOutput : AudioOutput {
    PlayError LoadSoundFont(FileSystem&, const std::filesystem::path& soundFont) override {
        soundFonts.push_back(soundFont);
        if (!readableFont) return FillIn(play_messages::kSoundFontUnreadable, {soundFont.string()});
        return std::nullopt;
    }
    Synth& GetSynth() override { return synth; }
    int SampleRate() const override { return 44100; }
    PlayError Start(AudioSource& started) override {
        if (!audioThere) return FillIn(play_messages::kNoAudioOutput, {"pulseaudio, alsa"});
        source = &started;
        return std::nullopt;
    }
    void Stop() override { source = nullptr; }

    // Frames of sound, asked for in buffers of 512 at most, as a sound card does; with
    // keepSound the left channel of what was played is kept in heard.
    void Pump(std::size_t frames) {
        std::vector<float> left(512), right(512);
        for (std::size_t done = 0; done < frames && source; done += 512) {
            const std::size_t count = std::min<std::size_t>(512, frames - done);
            std::fill(left.begin(), left.end(), 0.0f);
            std::fill(right.begin(), right.end(), 0.0f);
            source->Fill(left.data(), right.data(), count);
            if (keepSound) heard.insert(heard.end(), left.begin(), left.begin() + count);
        }
    }
    // Seconds of sound, in whole buffers of 512 frames.
    void PumpSeconds(double seconds) { Pump(static_cast<std::size_t>(seconds * 44100) / 512 * 512); }

    RecordingSynth synth;
    AudioSource* source = nullptr;
    bool audioThere = true;
    bool readableFont = true;
    std::vector<std::filesystem::path> soundFonts;
    bool keepSound = false;
    std::vector<float> heard;
};
