// SPDX-License-Identifier: GPL-3.0-or-later
// The programs' MIDI ports on Linux: korvane-midi, loaded on the first use from beside
// the program (the build tree) or its library folder (an installation).
#include "framework/platform/Modules.h"
#include "framework/platform/PathText.h"
#include "msg/FillIn.h"
#include "msg/PlayMessages.h"
#include "play/sound/MidiModule.h"

bool HasMidiPorts() { return InstalledModuleFile(kMidiModuleName).has_value(); }

std::unique_ptr<MidiSystem> MakeMidiSystem(PlayError& error) {
    static MakeMidiSystemFunction make = nullptr;
    if (!make) {
        const std::optional<std::filesystem::path> file = InstalledModuleFile(kMidiModuleName);
        if (!file) {
            error = play_messages::kNoMidiPorts;
            return nullptr;
        }
        std::string reason;
        const auto functions = LoadModule(*file, {kMakeMidiSystemSymbol}, reason);
        if (!functions) {
            error = FillIn(play_messages::kMidiModuleUnloadable, {Utf8Of(*file), reason});
            return nullptr;
        }
        make = reinterpret_cast<MakeMidiSystemFunction>((*functions)[0]);
    }
    return std::unique_ptr<MidiSystem>(make());
}
