// SPDX-License-Identifier: GPL-3.0-or-later
#include <fluidsynth.h>

#include <algorithm>
#include <string>
#include <vector>

#include "msg/FillIn.h"
#include "msg/PlayMessages.h"
#include "msg/StyleMessages.h"
#include "play/sound/AudioOutput.h"
#include "play/sound/FluidSynth.h"

namespace {

constexpr int kLiveSampleRate = 44100;
// The sound servers and devices tried, in this order, where fluidsynth has a driver
// for them. Drivers that would start a server of their own or fall back to no device
// at all are not tried.
constexpr const char* kDrivers[] = {"pulseaudio", "pipewire", "alsa", "oss"};
// Small periods keep the time from Play to the first sound short.
constexpr int kPeriodSize = 256;
constexpr int kPeriods = 4;

void CollectOption(void* data, const char*, const char* option) {
    static_cast<std::vector<std::string>*>(data)->push_back(option);
}

class FluidAudioOutput : public AudioOutput {
public:
    FluidAudioOutput() : m_synth(kLiveSampleRate, true) {
        fluid_settings_setint(m_synth.Settings(), "audio.period-size", kPeriodSize);
        fluid_settings_setint(m_synth.Settings(), "audio.periods", kPeriods);
    }
    ~FluidAudioOutput() override { Stop(); }

    PlayError LoadSoundFont(FileSystem& files, const std::filesystem::path& soundFont) override {
        if (!m_synth.SoundFont().empty() && m_synth.SoundFont() == soundFont) return std::nullopt;
        return m_synth.LoadSoundFont(files, soundFont);
    }
    Synth& GetSynth() override { return m_synth; }
    int SampleRate() const override { return kLiveSampleRate; }

    PlayError Start(AudioSource& source) override {
        Stop();
        m_source = &source;
        std::vector<std::string> available;
        fluid_settings_foreach_option(m_synth.Settings(), "audio.driver", &available, CollectOption);
        std::string tried;
        for (const char* driver : kDrivers) {
            if (std::find(available.begin(), available.end(), driver) == available.end()) continue;
            tried += (tried.empty() ? "" : ", ") + std::string(driver);
            fluid_settings_setstr(m_synth.Settings(), "audio.driver", driver);
            m_driver = new_fluid_audio_driver2(m_synth.Settings(), &FluidAudioOutput::Callback, this);
            if (m_driver) return std::nullopt;
        }
        m_source = nullptr;
        return FillIn(play_messages::kNoAudioOutput, {tried.empty() ? "no audio driver" : tried});
    }

    void Stop() override {
        if (m_driver) delete_fluid_audio_driver(m_driver);
        m_driver = nullptr;
        m_source = nullptr;
    }

private:
    static int Callback(void* data, int len, int, float*[], int nout, float* out[]) {
        auto* self = static_cast<FluidAudioOutput*>(data);
        if (nout >= 2 && len > 0) self->m_source->Fill(out[0], out[1], static_cast<std::size_t>(len));
        return FLUID_OK;
    }

    FluidSynth m_synth;
    fluid_audio_driver_t* m_driver = nullptr;
    AudioSource* m_source = nullptr;
};

}  // namespace

std::unique_ptr<AudioOutput> MakeSystemAudioOutput(PlayError& error) {
    auto output = std::make_unique<FluidAudioOutput>();
    error = static_cast<FluidSynth&>(output->GetSynth()).Failure();
    if (error) return nullptr;
    return output;
}
