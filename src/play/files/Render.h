// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "play/ChordPlan.h"
#include "play/sound/OutputStage.h"
#include "play/sound/Synth.h"
#include "play/Timeline.h"

struct RenderSettings {
    int section = kSectionMainA;
    int loops = 2;
    int sampleRate = 44100;
    int channel = -1;  // -1: every channel; 0-15: that channel's stem
    ChordPlan chords;  // C Maj7 held, through the channel rules, unless told otherwise
    // Every render plays at the output stage's one gain; the level bench tries others.
    double gainDb = kOutputGainDb;
};

// How long the sound may ring on after the last event, and how quiet it must be to end.
inline constexpr double kDecayEndDbfs = -90.0;
inline constexpr int kLongestDecaySeconds = 3;

// The longest sound a render writes: a hostile style can ask for days of sound with one
// long delta time, which would fill the disk (and pass the 4 GB a WAV file can count).
inline constexpr int kLongestRenderMinutes = 60;

// How many frames the section plays as settings order it, its decay not counted.
// Counts by the events alone, however long the sound.
std::uint64_t SoundFrames(const Timeline& timeline, const RenderSettings& settings);

// Takes the next block of a render's sound; false stops the render.
using SoundBlockWriter = std::function<bool(std::span<const std::int16_t> samples)>;

// Plays the timeline through the synthesizer and the output stage (the gain and the
// limiter that live play has too, its delay made up for, so the sound starts at the
// first sample) and hands the sound to write block by block, as interleaved 16-bit
// stereo (left first): the section as settings order it, then its decay until it falls
// below -90 dBFS as written (after the gain), at most 3 seconds. No dither: the same input gives the same samples.
// Holds no more than a block in memory, however long the sound. False when write
// stopped it.
bool RenderSound(const Timeline& timeline, const RenderSettings& settings, Synth& synth, const SoundBlockWriter& write);
// The same sound, all of it in memory.
std::vector<std::int16_t> RenderSound(const Timeline& timeline, const RenderSettings& settings, Synth& synth);
