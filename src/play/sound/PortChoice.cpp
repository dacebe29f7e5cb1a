// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cctype>

#include "msg/FillIn.h"
#include "msg/PlayMessages.h"
#include "play/sound/MidiPorts.h"

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool Contains(std::string_view name, std::string_view part) {
    return std::search(name.begin(), name.end(), part.begin(), part.end(),
                       [](char a, char b) { return Lower(a) == Lower(b); }) != name.end();
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && Contains(a, b);
}

std::string PortLines(const std::vector<MidiPort>& ports) {
    if (ports.empty()) return std::string(play_messages::kNoPorts);
    std::string lines;
    for (const MidiPort& port : ports) lines += "\n" + PortLabel(port);
    return lines;
}

}  // namespace

std::string PortLabel(const MidiPort& port) { return port.name + " (" + port.system + ")"; }

const MidiPort* FindPort(const std::vector<MidiPort>& ports, std::string_view wanted, std::string_view kind,
                         std::string& error) {
    // The full name wins even where it is also a part of a longer name ("Synth" beside "Synth 2").
    const auto exact = std::find_if(ports.begin(), ports.end(), [&](const MidiPort& p) { return SameName(p.name, wanted); });
    if (exact != ports.end()) return &*exact;
    const MidiPort* found = nullptr;
    int matches = 0;
    if (!wanted.empty()) {
        for (const MidiPort& port : ports) {
            if (Contains(port.name, wanted)) {
                found = &port;
                ++matches;
            }
        }
    }
    if (matches == 1) return found;
    error = FillIn(matches == 0 ? play_messages::kNoSuchPort : play_messages::kPortAmbiguous,
                   {std::string(kind), std::string(wanted), PortLines(ports)});
    return nullptr;
}
