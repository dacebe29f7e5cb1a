// SPDX-License-Identifier: GPL-3.0-or-later
// The MIDI systems through RtMidi: every system it was built with (ALSA and JACK on
// Linux, WinMM on Windows), each asked only when it can be reached.
#include <RtMidi.h>

#include <algorithm>
#include <iostream>
#include <mutex>

#include "msg/FillIn.h"
#include "msg/PlayMessages.h"
#include "play/sound/MidiSystemProbe.h"
#include "play/sound/RtMidiSystem.h"

namespace {

// How Korvane's own client and ports are named where the system shows them (JACK's
// and ALSA's connection tools).
constexpr const char* kClientName = "Korvane";
constexpr const char* kInputName = "chords in";
constexpr const char* kOutputName = "style out";

// RtMidi writes its warnings to standard error while a port object is made, before an
// error callback can be set: WinMM without a device says "no MIDI input devices
// currently available" there. A machine without ports simply lists none.
class QuietStandardError {
public:
    QuietStandardError() : m_was(std::cerr.rdbuf(nullptr)) {}
    ~QuietStandardError() { std::cerr.rdbuf(m_was); }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    std::streambuf* m_was;
};

template <class Port>
std::unique_ptr<Port> MakePort(RtMidi::Api api, std::string& why) {
    try {
        const QuietStandardError quiet;
        auto port = std::make_unique<Port>(api, kClientName);
        // From here on errors come back as values, never as exceptions on a MIDI thread.
        port->setErrorCallback(
            [](RtMidiError::Type, const std::string& text, void* user) { *static_cast<std::string*>(user) = text; },
            &why);
        return port;
    } catch (const RtMidiError& error) {
        why = error.getMessage();
        return nullptr;
    }
}

template <class Port>
std::vector<MidiPort> PortsOf(Port& port, const std::string& system) {
    std::vector<MidiPort> ports;
    const unsigned count = port.getPortCount();
    for (unsigned i = 0; i < count; ++i) ports.push_back({port.getPortName(i), system});
    return ports;
}

// Opens the port of that name on an RtMidi object of its system; the number is looked
// up anew, as ports come and go between a list and an open.
template <class Port>
bool OpenNamed(Port& rt, const MidiPort& port, const char* ownName, std::string& why) {
    const unsigned count = rt.getPortCount();
    for (unsigned i = 0; i < count; ++i) {
        if (rt.getPortName(i) != port.name) continue;
        why.clear();
        rt.openPort(i, ownName);
        return why.empty() && rt.isPortOpen();
    }
    why = "it is no longer there";
    return false;
}

// libjack crashes closing a port, or its client, of a server that has gone (JACK quit
// while Korvane played, or listed its ports): RtMidi objects of a system no longer
// there are left as they are, with the text their error callback writes to, and go
// with the program.
bool Gone(const std::string& system) { return UnreachableReason(system).has_value(); }
template <class... Held>
void Leave(std::unique_ptr<Held>&... held) {
    (static_cast<void>(held.release()), ...);
}

class RtOutput final : public MidiOutput {
public:
    RtOutput(std::unique_ptr<RtMidiOut> port, std::unique_ptr<std::string> why, std::string system)
        : m_why(std::move(why)), m_system(std::move(system)), m_port(std::move(port)) {}
    ~RtOutput() override {
        // The last messages (Stop's note-offs) reach the instrument before the port closes.
        AwaitDelivery(m_system);
        if (Gone(m_system)) {
            Leave(m_port, m_why);
            return;
        }
        // RtMidi frees a JACK output's buffer before it stops the client whose process
        // callback reads it, which crashed a callback running late: the port is closed
        // first, and the callback, which does nothing without it, has run again before.
        m_port->closePort();
        AwaitDelivery(m_system);
    }
    void Send(std::span<const std::uint8_t> message) override {
        m_port->sendMessage(message.data(), message.size());
    }

private:
    std::unique_ptr<std::string> m_why;  // where the port's error callback writes
    std::string m_system;
    std::unique_ptr<RtMidiOut> m_port;
};

class RtInput final : public MidiInput {
public:
    RtInput(std::unique_ptr<RtMidiIn> port, std::unique_ptr<std::string> why, std::string system,
            MidiInputHandler handler)
        : m_why(std::move(why)), m_system(std::move(system)), m_handler(std::move(handler)), m_port(std::move(port)) {
        // Clock and active sensing would wake the player for nothing; Start and Stop pass.
        m_port->ignoreTypes(true, true, true);
        m_port->setCallback(&RtInput::Arrived, this);
    }
    ~RtInput() override {
        m_port->cancelCallback();
        if (Gone(m_system)) {
            Leave(m_port, m_why);
            return;
        }
        m_port->closePort();
    }

private:
    static void Arrived(double, std::vector<unsigned char>* message, void* self) {
        if (message && !message->empty()) static_cast<RtInput*>(self)->m_handler(*message);
    }

    std::unique_ptr<std::string> m_why;
    std::string m_system;
    MidiInputHandler m_handler;
    std::unique_ptr<RtMidiIn> m_port;
};

RtMidi::Api ApiOf(const std::string& system) { return RtMidi::getCompiledApiByName(system); }

std::vector<RtMidi::Api> Systems() {
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    std::erase(apis, RtMidi::RTMIDI_DUMMY);
    return apis;
}

class RtMidiSystem final : public MidiSystem {
public:
    MidiPortList List() override {
        MidiPortList list;
        for (const RtMidi::Api api : Systems()) {
            const std::string system = RtMidi::getApiName(api);
            if (std::optional<std::string> reason = UnreachableReason(system)) {
                list.unreachable.push_back(*reason);
                continue;
            }
            auto why = std::make_unique<std::string>();
            auto in = MakePort<RtMidiIn>(api, *why);
            auto out = MakePort<RtMidiOut>(api, *why);
            if (in && out) {
                std::ranges::move(PortsOf(*in, system), std::back_inserter(list.inputs));
                std::ranges::move(PortsOf(*out, system), std::back_inserter(list.outputs));
            } else {
                list.unreachable.push_back(RtMidi::getApiDisplayName(api) + ": " + *why);
            }
            // The server may have gone while it was asked.
            if ((in || out) && Gone(system)) Leave(in, out, why);
        }
        return list;
    }

    std::unique_ptr<MidiOutput> OpenOutput(const MidiPort& port, PlayError& error) override {
        auto why = std::make_unique<std::string>();
        auto out = MakePort<RtMidiOut>(ApiOf(port.system), *why);
        if (!out || !OpenNamed(*out, port, kOutputName, *why)) {
            error = FillIn(play_messages::kPortUnopenable, {port.name, *why});
            return nullptr;
        }
        // The style's set-up, sent at once, finds the connection in force.
        AwaitDelivery(port.system);
        return std::make_unique<RtOutput>(std::move(out), std::move(why), port.system);
    }

    std::unique_ptr<MidiInput> OpenInput(const MidiPort& port, MidiInputHandler handler, PlayError& error) override {
        auto why = std::make_unique<std::string>();
        auto in = MakePort<RtMidiIn>(ApiOf(port.system), *why);
        if (!in || !OpenNamed(*in, port, kInputName, *why)) {
            error = FillIn(play_messages::kPortUnopenable, {port.name, *why});
            return nullptr;
        }
        return std::make_unique<RtInput>(std::move(in), std::move(why), port.system, std::move(handler));
    }

    std::unique_ptr<MidiOutput> OpenSystemSynthesizer(PlayError& error) override {
        const MidiPortList list = List();
        if (const MidiPort* port = SystemSynthesizerPort(list.outputs)) return OpenOutput(*port, error);
        std::string tried = SystemSynthesizerTried();
        for (const std::string& line : list.unreachable) tried += "; " + line;
        error = FillIn(play_messages::kNoMidiOutput, {tried});
        return nullptr;
    }
};

}  // namespace

std::unique_ptr<MidiSystem> MakeRtMidiSystem() { return std::make_unique<RtMidiSystem>(); }
