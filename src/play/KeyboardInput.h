// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "play/Player.h"
#include "play/chords/Fingering.h"
#include "play/chords/LeftHand.h"
#include "play/sound/MidiPorts.h"

// How a keyboard is played into Korvane: the fingering its left hand's chords are read
// by, the split point, and the right hand's voice (a General MIDI program, 0-127).
struct KeyboardSettings {
    Fingering fingering = kDefaultFingering;
    int splitKey = kDefaultSplitKey;
    int rightVoice = 0;
    bool operator==(const KeyboardSettings&) const = default;
};

// A keyboard played into a player. Its messages arrive on the MIDI system's thread and
// wait in a queue; the player's own thread takes them with Pump, which follows the left
// hand's chords (sync start included: a waiting style starts on the first), sounds the
// right hand and says what else arrived (Start, Stop). Pump again at NextDecision: a
// chord is decided once the hand has settled.
class CKeyboardInput {
public:
    // wake is called on the MIDI system's thread each time a message has arrived, so
    // that the owner calls Pump soon on its own.
    CKeyboardInput(const KeyboardSettings& settings, std::function<void()> wake);
    ~CKeyboardInput();
    CKeyboardInput(const CKeyboardInput&) = delete;
    CKeyboardInput& operator=(const CKeyboardInput&) = delete;

    // Connects Korvane's own input to port.
    PlayError Open(MidiSystem& system, const MidiPort& port);

    struct Taken {
        std::optional<Chord> chord;  // a new chord, already handed to the player
        bool start = false;          // MIDI Start
        bool stop = false;           // MIDI Stop
    };
    Taken Pump(CStylePlayer& player, std::uint64_t now);
    std::optional<std::uint64_t> NextDecision() const { return m_hand.NextDecision(); }
    const LeftHand& LeftHandNow() const { return m_hand; }

    // A message as if it had arrived at time (the tests, the benchmark).
    void Arrive(std::span<const std::uint8_t> message, std::uint64_t time);
    // The clock of arrivals and of Pump: microseconds of the steady clock.
    static std::uint64_t Now();

private:
    struct Arrived {
        std::uint8_t bytes[3];
        std::uint64_t time;
    };

    std::function<void()> m_wake;
    LeftHand m_hand;
    std::mutex m_lock;
    std::vector<Arrived> m_queue;  // under m_lock
    std::vector<Arrived> m_taking;
    std::unique_ptr<MidiInput> m_input;  // last: closed first, so no message comes after the rest is gone
};
