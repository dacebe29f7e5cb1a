// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

#include "play/ChordPlan.h"
#include "play/Synth.h"
#include "play/Timeline.h"

struct RenderSettings {
    int section = kPlaySectionMainA;
    int loops = 2;
    int sampleRate = 44100;
    int channel = -1;  // -1: every channel; 0-15: that channel's stem
    ChordPlan chords;  // C Maj7 held, through the channel rules, unless told otherwise
};

// How long the sound may ring on after the last event, and how quiet it must be to end.
inline constexpr double kDecayEndDbfs = -90.0;
inline constexpr int kLongestDecaySeconds = 3;

// The longest sound a render writes: a hostile style can ask for days of sound with one
// long delta time, which would fill the memory before a file is written.
inline constexpr int kLongestRenderMinutes = 60;

// How many frames the section plays as settings order it, its decay not counted.
// Counts by the events alone, however long the sound.
std::uint64_t SoundFrames(const Timeline& timeline, const RenderSettings& settings);

// Plays the timeline through the synthesizer and returns the sound as interleaved
// 16-bit stereo (left first): the section as settings order it, then its decay until
// it falls below -90 dBFS, at most 3 seconds. No dither: the same input gives the
// same samples.
std::vector<std::int16_t> RenderSound(const Timeline& timeline, const RenderSettings& settings, Synth& synth);
