// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/sound/PortOutput.h"

#include <chrono>

namespace {

constexpr std::uint8_t kControlChange = 0xB0;
constexpr std::uint8_t kProgramChange = 0xC0;
constexpr std::uint8_t kAllNotesOff = 123;
constexpr int kDrumChannel = 9;

// Program change and channel pressure carry one data byte; the others two.
bool HasOneDataByte(std::uint8_t status) { return (status & 0xE0) == 0xC0; }

// GS's "use for rhythm part" for a channel other than 10: the address block of a part
// numbers channels 1-9 as 1-9, 10 as 0 and 11-16 as 10-15.
std::array<std::uint8_t, 11> GsRhythmPart(int channel, bool drums) {
    const int block = channel < kDrumChannel ? channel + 1 : channel == kDrumChannel ? 0 : channel;
    std::array<std::uint8_t, 11> message{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40,
                                         static_cast<std::uint8_t>(0x10 | block), 0x15,
                                         static_cast<std::uint8_t>(drums ? 1 : 0), 0, 0xF7};
    int sum = 0;
    for (int i = 5; i <= 8; ++i) sum += message[i];
    message[9] = static_cast<std::uint8_t>((128 - sum % 128) % 128);
    return message;
}

}  // namespace

void PortSynth::Send(std::initializer_list<std::uint8_t> message) {
    m_port.Send(std::span(message.begin(), message.size()));
}

void PortSynth::SendChannelMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    const int channel = status & 0x0F;
    const std::uint8_t kind = status & 0xF0;
    if (kind == 0x90 && data2 > 0) {
        if (m_sounding[channel][data1 & 0x7F] < 0xFF) ++m_sounding[channel][data1 & 0x7F];
    } else if ((kind == 0x80 || kind == 0x90) && m_sounding[channel][data1 & 0x7F] > 0) {
        --m_sounding[channel][data1 & 0x7F];
    }
    if (HasOneDataByte(status)) {
        Send({status, data1});
    } else {
        Send({status, data1, data2});
    }
}

void PortSynth::SelectVoice(int channel, const SoundFontVoice& voice) {
    const auto c = static_cast<std::uint8_t>(channel);
    if (m_drumPart[channel] != voice.drums) {
        const std::array part = GsRhythmPart(channel, voice.drums);
        m_port.Send(part);
        m_drumPart[channel] = voice.drums;
    }
    Send({static_cast<std::uint8_t>(kControlChange | c), 0, 0});
    Send({static_cast<std::uint8_t>(kControlChange | c), 32, 0});
    Send({static_cast<std::uint8_t>(kProgramChange | c), static_cast<std::uint8_t>(voice.program & 0x7F)});
}

void PortSynth::SendSysEx(std::span<const std::uint8_t> afterF0) {
    m_sysex.assign(1, 0xF0);
    m_sysex.insert(m_sysex.end(), afterF0.begin(), afterF0.end());
    m_port.Send(m_sysex);
}

void PortSynth::Reset() {
    for (int channel = 0; channel < 16; ++channel) {
        const auto c = static_cast<std::uint8_t>(channel);
        for (int key = 0; key < 128; ++key) {
            for (; m_sounding[channel][key] > 0; --m_sounding[channel][key]) {
                Send({static_cast<std::uint8_t>(0x80 | c), static_cast<std::uint8_t>(key), 0});
            }
        }
        Send({static_cast<std::uint8_t>(kControlChange | c), kAllNotesOff, 0});
    }
}

PortAudioOutput::PortAudioOutput(std::unique_ptr<MidiOutput> port, PortVoices voices)
    : m_port(std::move(port)), m_synth(*m_port, voices) {}

PortAudioOutput::~PortAudioOutput() { Stop(); }

PlayError PortAudioOutput::Start(AudioSource& source) {
    Stop();
    m_running = true;
    m_clock = std::thread([this, &source] { Run(source); });
    return std::nullopt;
}

void PortAudioOutput::Stop() {
    m_running = false;
    if (m_clock.joinable()) m_clock.join();
}

void PortAudioOutput::Run(AudioSource& source) {
    using Clock = std::chrono::steady_clock;
    constexpr std::size_t kMaxBlock = kClockRate / 50;  // a late wake-up catches up in blocks of 20 ms
    std::vector<float> left(kMaxBlock), right(kMaxBlock);
    const Clock::time_point start = Clock::now();
    std::uint64_t done = 0;
    while (m_running.load(std::memory_order_relaxed)) {
        const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
        const auto due = static_cast<std::uint64_t>(elapsed) * kClockRate / 1000000;
        while (done < due) {
            const std::size_t frames = std::min<std::uint64_t>(due - done, kMaxBlock);
            std::fill_n(left.begin(), frames, 0.0f);
            std::fill_n(right.begin(), frames, 0.0f);
            source.Fill(left.data(), right.data(), frames);
            done += frames;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

std::unique_ptr<AudioOutput> OpenPortOutput(MidiSystem& system, const MidiPort& port, PlayError& error) {
    std::unique_ptr<MidiOutput> output = system.OpenOutput(port, error);
    if (!output) return nullptr;
    return std::make_unique<PortAudioOutput>(std::move(output), PortVoices::AsStored);
}

std::unique_ptr<AudioOutput> OpenSystemSynthesizerOutput(MidiSystem& system, PlayError& error) {
    std::unique_ptr<MidiOutput> output = system.OpenSystemSynthesizer(error);
    if (!output) return nullptr;
    return std::make_unique<PortAudioOutput>(std::move(output), PortVoices::GeneralMidi);
}
