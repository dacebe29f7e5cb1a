// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/Voices.h"

#include "play/GeneralMidiNames.h"

namespace {

constexpr int kDrumChannel = 9;  // channel 10 as users count
constexpr int kDrumBank = 128;

// The XG part mode message: F0 43 1n 4C 08 pp 07 mm F7; a mode other than 0 makes
// part pp (which plays channel pp) a drum part.
bool ReadXgPartMode(const std::uint8_t* bytes, std::uint32_t length, int& part, bool& drums) {
    if (length < 7 || bytes[0] != 0x43 || (bytes[1] & 0xF0) != 0x10 || bytes[2] != 0x4C || bytes[3] != 0x08 ||
        bytes[5] != 0x07 || bytes[4] > 15) {
        return false;
    }
    part = bytes[4];
    drums = bytes[6] != 0;
    return true;
}

int NearestPreset(const Synth& synth, int bank, int program) {
    for (int p = program; p >= 0; --p) {
        if (synth.HasPreset(bank, p)) return p;
    }
    return 0;
}

std::string BankText(const StyleVoice& voice) {
    return "bank " + std::to_string(voice.msb) + "/" + std::to_string(voice.lsb) + " program " +
           std::to_string(voice.program);
}

}  // namespace

bool TakeVoiceEvent(StyleVoices& voices, const TimelineEvent& event, ByteView sysex, int& channel) {
    if (event.kind == TimelineEvent::Kind::SysEx) {
        int part = 0;
        bool drums = false;
        if (event.value + std::uint64_t{event.length} > sysex.size()) return false;
        if (!ReadXgPartMode(sysex.data() + event.value, event.length, part, drums)) return false;
        voices[part].xgDrumPart = drums;
        channel = part;
        return true;
    }
    if (event.kind != TimelineEvent::Kind::Channel) return false;
    StyleVoice& voice = voices[event.Channel()];
    channel = event.Channel();
    if (event.MessageKind() == 0xB && event.data1 == 0) {
        voice.msb = event.data2;
        voice.msbSet = true;
        return false;
    }
    if (event.MessageKind() == 0xB && event.data1 == 32) {
        voice.lsb = event.data2;
        return false;
    }
    if (event.MessageKind() != 0xC) return false;
    voice.program = event.data1;
    voice.programSet = true;
    return true;
}

StyleVoices SetUpVoices(const Timeline& timeline) {
    StyleVoices voices{};
    int channel = 0;
    for (const TimelineEvent& event : timeline.setUp) TakeVoiceEvent(voices, event, timeline, channel);
    return voices;
}

bool IsDrumVoice(const StyleVoice& voice, int channel) {
    if (voice.msb == 126 || voice.msb == 127 || voice.xgDrumPart) return true;
    return channel == kDrumChannel && !voice.msbSet;
}

SoundFontVoice DecideVoice(const StyleVoice& voice, int channel, const Synth& synth) {
    if (IsDrumVoice(voice, channel)) return {kDrumBank, NearestPreset(synth, kDrumBank, voice.program), true};
    return {0, NearestPreset(synth, 0, voice.program), false};
}

std::string VoiceName(const StyleVoice& voice, int channel) {
    if (IsDrumVoice(voice, channel)) return "drum kit " + std::to_string(voice.program);
    return std::string(kGeneralMidiNames[static_cast<std::size_t>(voice.program & 0x7F)]);
}

std::string SubstitutionText(const StyleVoice& voice, int channel, const SoundFontVoice& played) {
    const bool sameBank = played.drums ? voice.program == played.program
                                       : voice.msb == 0 && voice.lsb == 0 && voice.program == played.program;
    if (sameBank && !IsMegaVoice(voice)) return {};
    std::string text = "channel " + std::to_string(channel + 1) + ": " + BankText(voice) + " (" +
                       VoiceName(voice, channel) + ") plays as SoundFont bank " + std::to_string(played.bank) +
                       " program " + std::to_string(played.program);
    if (IsMegaVoice(voice)) text += ", Mega Voice effect notes left out";
    return text;
}
