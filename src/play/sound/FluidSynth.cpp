// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/sound/FluidSynth.h"

#include <fluidsynth.h>

#include <mutex>

#include "framework/platform/PathText.h"
#include "msg/FillIn.h"
#include "msg/PlayMessages.h"
#include "msg/StyleMessages.h"
#include "play/sound/SoundFontFile.h"
#include "play/sound/SynthFactory.h"

namespace {

constexpr int kDrumBank = 128;
constexpr std::size_t kProbeFrames = 64;

// fluidsynth writes its warnings to standard error; Korvane reports every failure
// itself, once, with its own message.
void QuietenFluidsynth() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
            fluid_set_log_function(level, nullptr, nullptr);
        }
    });
}

}  // namespace

FluidSynth::FluidSynth(int sampleRate, bool effects) : m_sampleRate(sampleRate) {
    QuietenFluidsynth();
    m_settings = new_fluid_settings();
    if (m_settings == nullptr) {
        m_failedCall = "new_fluid_settings";
        return;
    }
    fluid_settings_setnum(m_settings, "synth.sample-rate", sampleRate);
    // One thread renders every voice, so the same input gives the same samples.
    fluid_settings_setint(m_settings, "synth.cpu-cores", 1);
    // Only one thread at a time ever calls the synthesizer: a render's, or the audio
    // driver's while it runs, the caller's only while no driver runs (AudioOutput). So
    // fluidsynth's own mutex is off, and the audio callback never waits on it.
    fluid_settings_setint(m_settings, "synth.threadsafe-api", 0);
    fluid_settings_setint(m_settings, "synth.reverb.active", effects ? 1 : 0);
    fluid_settings_setint(m_settings, "synth.chorus.active", effects ? 1 : 0);
    m_synth = new_fluid_synth(m_settings);
    if (m_synth == nullptr) {
        m_failedCall = "new_fluid_synth";
        return;
    }
    // fluidsynth refuses a render only for the way it is asked, the same every time, so
    // one block of silence now tells whether every later one will sound.
    float left[kProbeFrames] = {};
    float right[kProbeFrames] = {};
    Process(left, right, kProbeFrames);
}

PlayError FluidSynth::Failure() const {
    const char* call = m_failedCall.load(std::memory_order_relaxed);
    if (call == nullptr) return std::nullopt;
    return FillIn(play_messages::kSynthesizerFailed, {call});
}

FluidSynth::~FluidSynth() {
    delete_fluid_synth(m_synth);
    delete_fluid_settings(m_settings);
}

PlayError FluidSynth::LoadSoundFont(FileSystem& files, const std::filesystem::path& soundFont) {
    const auto unreadable = [&soundFont] { return FillIn(play_messages::kSoundFontUnreadable, {Utf8Of(soundFont)}); };
    if (PlayError failure = Failure()) return failure;
    if (!LooksLikeSoundFont(files, soundFont)) return unreadable();
    if (m_soundFontId >= 0) {
        fluid_synth_sfunload(m_synth, m_soundFontId, 1);
        m_soundFontId = -1;
        m_soundFont.clear();
    }
    const int id = fluid_synth_sfload(m_synth, soundFont.string().c_str(), 1);
    if (id == FLUID_FAILED) return unreadable();
    m_soundFontId = id;
    m_soundFont = soundFont;
    fluid_sfont_t* font = fluid_synth_get_sfont_by_id(m_synth, id);
    for (int program = 0; program < 128; ++program) {
        m_melodic[program] = fluid_sfont_get_preset(font, 0, program) != nullptr;
        m_kits[program] = fluid_sfont_get_preset(font, kDrumBank, program) != nullptr;
    }
    return std::nullopt;
}

void FluidSynth::SendChannelMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    const int channel = status & 0x0F;
    switch (status >> 4) {
        case 0x8: fluid_synth_noteoff(m_synth, channel, data1); break;
        case 0x9: fluid_synth_noteon(m_synth, channel, data1, data2); break;
        case 0xA: fluid_synth_key_pressure(m_synth, channel, data1, data2); break;
        case 0xB: fluid_synth_cc(m_synth, channel, data1, data2); break;
        case 0xD: fluid_synth_channel_pressure(m_synth, channel, data1); break;
        case 0xE: fluid_synth_pitch_bend(m_synth, channel, data1 | (data2 << 7)); break;
        default: break;
    }
}

void FluidSynth::SelectVoice(int channel, const SoundFontVoice& voice) {
    if (m_soundFontId < 0) return;
    fluid_synth_set_channel_type(m_synth, channel, voice.drums ? CHANNEL_TYPE_DRUM : CHANNEL_TYPE_MELODIC);
    fluid_synth_program_select(m_synth, channel, m_soundFontId, voice.bank, voice.program);
}

bool FluidSynth::Process(float* left, float* right, std::size_t frames) {
    float* effects[] = {left, right, left, right};
    float* dry[] = {left, right};
    if (fluid_synth_process(m_synth, static_cast<int>(frames), 4, effects, 2, dry) == FLUID_OK) return true;
    m_failedCall.store("fluid_synth_process", std::memory_order_relaxed);
    return false;
}

// A refused render writes nothing, so the caller's silence stays.
void FluidSynth::Render(float* left, float* right, std::size_t frames) {
    if (m_synth) Process(left, right, frames);
}

void FluidSynth::Reset() { fluid_synth_system_reset(m_synth); }

bool FluidSynth::HasPreset(int bank, int program) const {
    if (program < 0 || program > 127) return false;
    if (bank == 0) return m_melodic[program];
    return bank == kDrumBank && m_kits[program];
}

bool HasSynthesizer() { return true; }

std::unique_ptr<Synth> MakeRenderSynth(FileSystem& files, const std::filesystem::path& soundFont, int sampleRate,
                                       bool effects, PlayError& error) {
    auto synth = std::make_unique<FluidSynth>(sampleRate, effects);
    error = synth->LoadSoundFont(files, soundFont);  // the synthesizer's own failure first
    if (error) return nullptr;
    return synth;
}
