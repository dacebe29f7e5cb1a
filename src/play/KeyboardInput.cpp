// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/KeyboardInput.h"

#include <chrono>

namespace {
constexpr std::uint8_t kMidiStart = 0xFA;
constexpr std::uint8_t kMidiStop = 0xFC;
}  // namespace

CKeyboardInput::CKeyboardInput(const KeyboardSettings& settings, std::function<void()> wake)
    : m_wake(std::move(wake)), m_hand(settings.fingering, settings.splitKey) {}

CKeyboardInput::~CKeyboardInput() { m_input.reset(); }

PlayError CKeyboardInput::Open(MidiSystem& system, const MidiPort& port) {
    PlayError error;
    m_input = system.OpenInput(port, [this](std::span<const std::uint8_t> message) { Arrive(message, Now()); }, error);
    return m_input ? std::nullopt : error;
}

std::uint64_t CKeyboardInput::Now() {
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

void CKeyboardInput::Arrive(std::span<const std::uint8_t> message, std::uint64_t time) {
    // Only what a keyboard's hands and transport send: channel messages and real time.
    if (message.empty() || message[0] < 0x80 || (message[0] >= 0xF0 && message[0] < 0xF8)) return;
    Arrived arrived{{message[0], message.size() > 1 ? message[1] : std::uint8_t{0},
                     message.size() > 2 ? message[2] : std::uint8_t{0}},
                    time};
    {
        std::lock_guard lock(m_lock);
        m_queue.push_back(arrived);
    }
    if (m_wake) m_wake();
}

CKeyboardInput::Taken CKeyboardInput::Pump(CStylePlayer& player, std::uint64_t now) {
    {
        std::lock_guard lock(m_lock);
        m_taking.swap(m_queue);
    }
    Taken taken;
    const auto follow = [&](std::optional<Chord> chord) {
        if (!chord) return;
        player.HoldChord(*chord);
        taken.chord = chord;
    };
    for (const Arrived& message : m_taking) {
        follow(m_hand.Poll(message.time));
        const std::uint8_t status = message.bytes[0];
        const std::uint8_t kind = status & 0xF0;
        if (status == kMidiStart) taken.start = true;
        if (status == kMidiStop) taken.stop = true;
        if (status >= 0xF0) continue;
        const bool down = kind == 0x90 && message.bytes[2] > 0;
        const bool up = kind == 0x80 || (kind == 0x90 && message.bytes[2] == 0);
        Hand hand = Hand::Right;
        if (down) hand = m_hand.KeyDown(message.bytes[1], message.time);
        if (up) hand = m_hand.KeyUp(message.bytes[1], message.time);
        // The right hand's keys, and what pedals and wheels send, sound over the style.
        if (hand == Hand::Right) player.PlayRightHand(status, message.bytes[1], message.bytes[2]);
    }
    m_taking.clear();
    follow(m_hand.Poll(now));
    return taken;
}
