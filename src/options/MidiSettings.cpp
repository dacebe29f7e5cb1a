// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/MidiSettings.h"

#include <string>

namespace {

std::optional<MidiPort> ReadPort(const CProfile& profile, std::string_view nameEntry, std::string_view systemEntry) {
    std::string name = profile.GetProfileString(kMidiSection, nameEntry, "");
    if (name.empty()) return std::nullopt;
    return MidiPort{std::move(name), profile.GetProfileString(kMidiSection, systemEntry, "")};
}

void WritePort(CProfile& profile, std::string_view nameEntry, std::string_view systemEntry,
               const std::optional<MidiPort>& port) {
    profile.WriteProfileString(kMidiSection, nameEntry, port ? port->name : "");
    profile.WriteProfileString(kMidiSection, systemEntry, port ? port->system : "");
}

}  // namespace

MidiSettings ReadMidiSettings(const CProfile& profile) {
    MidiSettings settings;
    settings.input = ReadPort(profile, kMidiInputEntry, kMidiInputSystemEntry);
    settings.output = ReadPort(profile, kMidiOutputEntry, kMidiOutputSystemEntry);
    const std::string fingering = profile.GetProfileString(kMidiSection, kFingeringEntry, "");
    settings.keyboard.fingering = ParseFingering(fingering).value_or(kDefaultFingering);
    const std::string split = profile.GetProfileString(kMidiSection, kSplitEntry, "");
    settings.keyboard.splitKey = ParseSplitKey(split).value_or(kDefaultSplitKey);
    return settings;
}

void WriteMidiSettings(CProfile& profile, const MidiSettings& settings) {
    WritePort(profile, kMidiInputEntry, kMidiInputSystemEntry, settings.input);
    profile.WriteProfileString(kMidiSection, kFingeringEntry, FingeringName(settings.keyboard.fingering));
    profile.WriteProfileString(kMidiSection, kSplitEntry, SplitKeyName(settings.keyboard.splitKey));
    WritePort(profile, kMidiOutputEntry, kMidiOutputSystemEntry, settings.output);
}
