// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <bitset>
#include <filesystem>
#include <memory>

#include "play/PlayError.h"
#include "play/sound/Synth.h"
#include "storage/FileSystem.h"

    struct _fluid_hashtable_t;
struct _fluid_synth_t;

// The synthesizer interface over libfluidsynth: one synth with its settings and at
// most one SoundFont.
class FluidSynth : public Synth {
public:
    // effects: reverb and chorus as the channels' sends ask; off for dry stems.
    FluidSynth(int sampleRate, bool effects);
    ~FluidSynth() override;
    FluidSynth(const FluidSynth&) = delete;
    FluidSynth& operator=(const FluidSynth&) = delete;

    // Why this synthesizer cannot play: fluidsynth made no settings or no synthesizer,
    // or refused to render (found by a first render of silence, or by any later one).
    // Nothing when it can.
    PlayError Failure() const;

    // Replaces the SoundFont; only a SoundFont file is read (LooksLikeSoundFont), so
    // neither a FIFO nor another kind of file gets to fluidsynth's loaders.
    PlayError LoadSoundFont(FileSystem& files, const std::filesystem::path& soundFont);
    const std::filesystem::path& SoundFont() const { return m_soundFont; }

    void SendChannelMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override;
    void SelectVoice(int channel, const SoundFontVoice& voice) override;
    void Render(float* left, float* right, std::size_t frames) override;
    void Reset() override;
    bool HasPreset(int bank, int program) const override;

    _fluid_hashtable_t* Settings() const { return m_settings; }
    int SampleRate() const { return m_sampleRate; }

private:
    bool Process(float* left, float* right, std::size_t frames);

    _fluid_hashtable_t* m_settings = nullptr;
    _fluid_synth_t* m_synth = nullptr;
    // The fluidsynth call that failed, nullptr none; the audio thread may set it.
    std::atomic<const char*> m_failedCall{nullptr};
    int m_sampleRate;
    int m_soundFontId = -1;
    std::filesystem::path m_soundFont;
    // Which presets banks 0 and 128 hold, read once when the SoundFont loads, so that
    // voice decisions on the audio thread ask fluidsynth nothing.
    std::bitset<128> m_melodic;
    std::bitset<128> m_kits;
};
