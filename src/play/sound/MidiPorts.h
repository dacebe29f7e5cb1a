// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "play/PlayError.h"

// A MIDI port of the system as the user picks it: its full name and the MIDI system
// that offers it ("alsa", "jack", "winmm").
struct MidiPort {
    std::string name;
    std::string system;
    bool operator==(const MidiPort&) const = default;
};

struct MidiPortList {
    std::vector<MidiPort> inputs;
    std::vector<MidiPort> outputs;
    // One line for each MIDI system that could not be reached and why ("JACK: no server
    // is running"): no error, as a machine without one simply has no ports there.
    std::vector<std::string> unreachable;
};

// A port Korvane sends to. Send is called from one thread at a time.
class MidiOutput {
public:
    virtual ~MidiOutput() = default;
    // One whole message: a channel message, or a system-exclusive one from F0 to F7.
    virtual void Send(std::span<const std::uint8_t> message) = 0;
};

// Korvane's own input, connected to a port: every message arrives through the handler
// given on opening, on the MIDI system's own thread, until the input is destroyed.
class MidiInput {
public:
    virtual ~MidiInput() = default;
};
using MidiInputHandler = std::function<void(std::span<const std::uint8_t> message)>;

// The MIDI systems of the machine (ALSA and JACK on Linux, WinMM on Windows).
class MidiSystem {
public:
    virtual ~MidiSystem() = default;
    virtual MidiPortList List() = 0;
    // Nothing, and the reason naming the port, when it cannot be opened.
    virtual std::unique_ptr<MidiOutput> OpenOutput(const MidiPort& port, PlayError& error) = 0;
    virtual std::unique_ptr<MidiInput> OpenInput(const MidiPort& port, MidiInputHandler handler, PlayError& error) = 0;
    // The system's own General MIDI synthesizer, where it has one (Windows' MIDI
    // mapper); nothing elsewhere.
    virtual std::unique_ptr<MidiOutput> OpenSystemSynthesizer(PlayError& error) = 0;
};

// Whether this build can reach MIDI ports at all.
bool HasMidiPorts();
// The machine's MIDI systems; nothing, and why, in a build without MIDI ports.
std::unique_ptr<MidiSystem> MakeMidiSystem(PlayError& error);

// A port as lists show it: its name, then its MIDI system in brackets.
std::string PortLabel(const MidiPort& port);

// The port a user named: its full name, or a part of it that only one port's name has,
// letters compared without case. Nothing, and a text listing the ports (kind: "input" or
// "output"), when the name matches none or several.
const MidiPort* FindPort(const std::vector<MidiPort>& ports, std::string_view wanted, std::string_view kind,
                         std::string& error);
