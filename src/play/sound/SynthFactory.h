// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <memory>

#include "play/PlayError.h"
#include "play/sound/Synth.h"
#include "storage/FileSystem.h"

// Whether this build has a synthesizer (fluidsynth); without one, sound cannot be
// played or rendered, only written as a MIDI file.
bool HasSynthesizer();

// A synthesizer for file renders with the SoundFont loaded: a fixed sample rate and
// one thread, so the same input gives the same samples; with effects, reverb and
// chorus as the style's sends ask, without them dry (for stems). Nothing, and the
// reason in error, when the SoundFont cannot be read or the build has no synthesizer.
std::unique_ptr<Synth> MakeRenderSynth(FileSystem& files, const std::filesystem::path& soundFont, int sampleRate,
                                       bool effects, PlayError& error);
