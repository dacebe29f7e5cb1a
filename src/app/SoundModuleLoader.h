// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "play/Player.h"

// The editor's way to the system's audio output: the sound module (play/SoundModule.h),
// loaded on the first call and kept for the rest of the run. Without the module's file
// (a build without a synthesizer) there is no output, and the error says this build has
// no synthesizer; a module that is there but cannot be loaded (libfluidsynth missing, a
// symbol undefined, no module at all) is named with the system loader's reason.
CStylePlayer::OutputFactory SoundModuleOutput(const QString& modulePath);
// Where the installed editor keeps the module: beside the program in the build tree,
// else in its library folder.
QString InstalledSoundModulePath();
// Where the editor's Play goes: the installed sound module, or, in a build without a
// synthesizer (Windows), the system's own General MIDI synthesizer through MIDI.
CStylePlayer::OutputFactory InstalledOutput();
