// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "play/AudioOutput.h"
#include "play/PlayError.h"

// The synthesizer and its audio driver as a module of their own (korvane-sound), which
// the editor loads on its first Play: a program that never plays never loads
// libfluidsynth and the many libraries it brings, so its start and memory stay as they
// were. The module holds MakeSystemAudioOutput and hands out what it makes through this
// one function; the caller owns the output, and the module stays loaded.
inline constexpr const char* kSoundModuleName = "korvane-sound";
inline constexpr const char* kMakeAudioOutputSymbol = "KorvaneMakeAudioOutput";
using MakeAudioOutputFunction = AudioOutput* (*)(PlayError* error);
