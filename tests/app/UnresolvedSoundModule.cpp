// SPDX-License-Identifier: GPL-3.0-or-later
// A sound module as a broken installation leaves it: its entry calls a function that no
// library holds, as when libfluidsynth is of another version than the one it was built for.
extern "C" void KorvaneFunctionNoLibraryHas();

extern "C" __attribute__((visibility("default"))) void* KorvaneMakeAudioOutput(void*) {
    KorvaneFunctionNoLibraryHas();
    return nullptr;
}
