// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// MIDI systems without a port of the machine: the ports a test lists, which open or
// refuse as it says, and an input whose messages the test sends as a keyboard would,
// from a thread of its own.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

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
        if (Refuses(port, error)) return nullptr;
        opened.push_back(port);
        return std::make_unique<Output>(*this);
    }
    std::unique_ptr<MidiInput> OpenInput(const MidiPort& port, MidiInputHandler handler, PlayError& error) override {
        if (Refuses(port, error)) return nullptr;
        opened.push_back(port);
        std::lock_guard guard(m_lock);
        m_handler = std::move(handler);
        return std::make_unique<Input>(*this);
    }
    std::unique_ptr<MidiOutput> OpenSystemSynthesizer(PlayError& error) override {
        if (!systemSynthesizer) {
            error = FillIn(play_messages::kNoMidiOutput, {"no system synthesizer here"});
            return nullptr;
        }
        opened.push_back({"system synthesizer", "fake"});
        return std::make_unique<Output>(*this);
    }

    // Messages into the input that is open, each from the keyboard's own thread.
    void Send(const std::vector<std::vector<std::uint8_t>>& messages) {
        std::thread keyboard([&] {
            std::lock_guard guard(m_lock);
            for (const auto& message : messages) {
                if (m_handler) m_handler(message);
            }
        });
        keyboard.join();
    }
    bool InputOpen() {
        std::lock_guard guard(m_lock);
        return static_cast<bool>(m_handler);
    }
    // The messages every output was sent, in order.
    std::vector<std::vector<std::uint8_t>> Sent() {
        std::lock_guard guard(m_lock);
        return m_sent;
    }

    MidiPortList ports;
    std::vector<std::string> refused;  // the names of ports that cannot be opened
    bool systemSynthesizer = false;
    std::vector<MidiPort> opened;  // in order, outputs and inputs
    int listed = 0;

private:
    struct Output : MidiOutput {
        explicit Output(FakeMidiSystem& system) : system(system) {}
        void Send(std::span<const std::uint8_t> message) override {
            std::lock_guard guard(system.m_lock);
            system.m_sent.emplace_back(message.begin(), message.end());
        }
        FakeMidiSystem& system;
    };
    struct Input : MidiInput {
        explicit Input(FakeMidiSystem& system) : system(system) {}
        ~Input() override {
            std::lock_guard guard(system.m_lock);
            system.m_handler = nullptr;
        }
        FakeMidiSystem& system;
    };

    bool Refuses(const MidiPort& port, PlayError& error) const {
        if (std::find(refused.begin(), refused.end(), port.name) == refused.end()) return false;
        error = FillIn(play_messages::kPortUnopenable, {port.name, "it is busy"});
        return true;
    }

    std::mutex m_lock;
    MidiInputHandler m_handler;                     // under m_lock
    std::vector<std::vector<std::uint8_t>> m_sent;  // under m_lock
};
