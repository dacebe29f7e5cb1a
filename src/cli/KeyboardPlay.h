// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <csignal>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "cli/PlayOptions.h"
#include "play/Player.h"
#include "play/sound/MidiPorts.h"

// The MIDI side of play: the ports --midi-in and --midi-out name, found among the
// system's, and the MIDI system that opens them.
struct PlayPorts {
    std::shared_ptr<MidiSystem> system;
    std::optional<MidiPort> in;
    std::optional<MidiPort> out;
};

// The ports request names; the message, listing the ports, when one is not there.
std::optional<std::string> FindPlayPorts(const PlayRequest& request, PlayPorts& ports);
// Whether play has anywhere to go: the port named, the synthesizer, or (a build without
// one, as on Windows) the system's own synthesizer through MIDI.
bool CanPlay(const PlayPorts& ports);
// The output play goes to, in that order.
CStylePlayer::OutputFactory PlayOutput(const PlayPorts& ports);

// Watches the ports while a style plays: the message, once, when one has gone.
class PortWatch {
public:
    explicit PortWatch(const PlayPorts& ports) : m_ports(ports) {}
    std::optional<std::string> Gone();

private:
    const PlayPorts& m_ports;
    std::uint64_t m_lastLook = 0;
};

// Plays style as a keyboard's hands lead it (--midi-in) until Ctrl+C sets interrupted:
// the exit status.
int PlayFromKeyboard(CStylePlayer& player, PlayableStyle& style, const PlayRequest& request, const PlayPorts& ports,
                     std::ostream& out, std::ostream& err, const volatile std::sig_atomic_t& interrupted);
