// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "play/sound/Synth.h"
#include "play/Timeline.h"

// The voice a channel of the style asks for: its bank select, program change and
// whether an XG system-exclusive message made its part a drum part.
struct StyleVoice {
    int msb = 0;
    bool msbSet = false;
    int lsb = 0;
    int program = 0;
    bool programSet = false;
    bool xgDrumPart = false;
};
using StyleVoices = std::array<StyleVoice, 16>;

// Takes what an event says about the voices: bank selects, program changes and the XG
// drum-part message. True when a channel's voice may have changed (channel set).
// A system-exclusive event's value and length point into sysex.
bool TakeVoiceEvent(StyleVoices& voices, const TimelineEvent& event, ByteView sysex, int& channel);
inline bool TakeVoiceEvent(StyleVoices& voices, const TimelineEvent& event, const Timeline& timeline, int& channel) {
    return TakeVoiceEvent(voices, event, ByteView(timeline.sysex), channel);
}

// The voices as the set-up selects them.
StyleVoices SetUpVoices(const Timeline& timeline);

// A drum kit: bank MSB 126 or 127, an XG drum part, or channel 10 without a bank
// select of its own (General MIDI's drum channel).
bool IsDrumVoice(const StyleVoice& voice, int channel);
// Mega Voices (bank MSB 8) put effect noises on the keys from here up; only the
// playing range below is played.
inline constexpr int kMegaVoiceEffectNotesFrom = 96;
inline bool IsMegaVoice(const StyleVoice& voice) { return voice.msb == 8; }

// The SoundFont's voice for the style's: for a kit, the bank 128 kit of the same
// number or else the nearest below it (the standard kit 0 at least); for a melodic
// voice, bank 0 with the style's program, or the nearest program below that the
// SoundFont has.
SoundFontVoice DecideVoice(const StyleVoice& voice, int channel, const Synth& synth);

// "Acoustic Grand Piano", ... or "drum kit N".
std::string VoiceName(const StyleVoice& voice, int channel);
// What was put in the style's voice's place, for the companion's --verbose and
// --json; empty when the SoundFont plays the voice as the style selects it.
std::string SubstitutionText(const StyleVoice& voice, int channel, const SoundFontVoice& played);
