// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/SoundModule.h"

extern "C" __attribute__((visibility("default"))) AudioOutput* KorvaneMakeAudioOutput(PlayError* error) {
    return MakeSystemAudioOutput(*error).release();
}
