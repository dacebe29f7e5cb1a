// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// MIDI systems without a port of the machine: the ports a test lists, which open or
// refuse as it says, and an input whose messages the test sends as a keyboard would,
// from a thread of its own.

#include <algorithm>
#include <mutex>
#include <thread>

#include "msg/FillIn.h"
#include "msg/PlayMessages.h"
#include "play/sound/MidiPorts.h"

class FakeMidiSystem : public MidiSystem {
public:
    MidiPortList List() override {
        ++listed;
        return ports;
    }
    std::unique_ptr<MidiOutput> OpenOutput(const MidiPort& port, PlayError& error) override {
        return Opens(port, error) ? std::make_unique<Output>() : nullptr;
    }
    std::unique_ptr<MidiInput> OpenInput(const MidiPort& port, MidiInputHandler handler, PlayError& error) override {
        if (!Opens(port, error)) return nullptr;
        std::lock_guard guard(m_lock);
        m_handler = std::move(handler);
        return std::make_unique<Input>(*this);
    }
    std::unique_ptr<MidiOutput> OpenSystemSynthesizer(PlayError& error) override {
        return Opens({"system synthesizer", "fake"}, error) ? std::make_unique<Output>() : nullptr;
    }

    // Messages into the open input, from the keyboard's own thread.
    void Send(const std::vector<std::vector<std::uint8_t>>& messages) {
        std::thread([&] {
            std::lock_guard guard(m_lock);
            for (const auto& message : messages) {
                if (m_handler) m_handler(message);
            }
        }).join();
    }
    bool InputOpen() {
        std::lock_guard guard(m_lock);
        return static_cast<bool>(m_handler);
    }

    MidiPortList ports;
    std::vector<std::string> refused;  // the names of ports that cannot be opened
    bool systemSynthesizer = false;
    std::vector<MidiPort> opened;  // in order, outputs and inputs
    int listed = 0;

private:
    struct Output : MidiOutput {
        void Send(std::span<const std::uint8_t>) override {}
    };
    struct Input : MidiInput {
        explicit Input(FakeMidiSystem& system) : system(system) {}
        ~Input() override {
            std::lock_guard guard(system.m_lock);
            system.m_handler = nullptr;
        }
        FakeMidiSystem& system;
    };

    bool Opens(const MidiPort& port, PlayError& error) {
        if (port.system == "fake" && !systemSynthesizer) {
            error = FillIn(play_messages::kNoMidiOutput, {"no system synthesizer here"});
        } else if (std::find(refused.begin(), refused.end(), port.name) != refused.end()) {
            error = FillIn(play_messages::kPortUnopenable, {port.name, "it is busy"});
        } else {
            opened.push_back(port);
        }
        return !error;
    }

    std::mutex m_lock;
    MidiInputHandler m_handler;  // under m_lock
};
