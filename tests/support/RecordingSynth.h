// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A synthesizer that renders silence (or one steady level, when a test sets it) and
// writes down every message with the sample it came at, for tests of what the
// scheduler sends and when.

#include <cstdint>
#include <vector>

#include "play/sound/Synth.h"

struct SentMessage {
    std::uint64_t sample;
    std::uint8_t status;
    std::uint8_t data1;
    std::uint8_t data2;
    bool operator==(const SentMessage&) const = default;
};

struct SelectedVoice {
    std::uint64_t sample;
    int channel;
    SoundFontVoice voice;
};

class RecordingSynth : public Synth {
public:
    void SendChannelMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
        messages.push_back({samples, status, data1, data2});
    }
    void SelectVoice(int channel, const SoundFontVoice& voice) override { voices.push_back({samples, channel, voice}); }
    void Render(float* left, float* right, std::size_t frames) override {
        for (std::size_t i = 0; level != 0.0f && i < frames; ++i) {
            left[i] += level;
            right[i] += level;
        }
        samples += frames;
    }
    void Reset() override { ++resets; }
    bool HasPreset(int bank, int program) const override {
        if (bank == 128) return program == 0 || program == 8 || program == 25;
        return bank == 0;
    }

    // The messages of one kind (0x8-0xE) in the order sent.
    std::vector<SentMessage> OfKind(int kind) const {
        std::vector<SentMessage> found;
        for (const SentMessage& m : messages) {
            if ((m.status >> 4) == kind) found.push_back(m);
        }
        return found;
    }
    std::vector<SentMessage> NoteOns() const {
        std::vector<SentMessage> found;
        for (const SentMessage& m : OfKind(0x9)) {
            if (m.data2 != 0) found.push_back(m);
        }
        return found;
    }

    float level = 0.0f;  // what every sample it renders holds
    std::uint64_t samples = 0;
    int resets = 0;
    std::vector<SentMessage> messages;
    std::vector<SelectedVoice> voices;
};
