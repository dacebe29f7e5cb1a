// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "play/KeyboardInput.h"

class QTimer;

// A keyboard played into the editor. Its messages arrive on the MIDI system's thread,
// which only posts a wake-up to the GUI thread; there the owner's pump hands them to
// the player with Pump, and again when the chord the left hand settles on is due.
class CKeyboardLink : public QObject {
public:
    // pump is called on the GUI thread whenever the keyboard has something to hand over.
    CKeyboardLink(std::function<void()> pump, QObject* parent);
    ~CKeyboardLink() override;

    // Connects Korvane's input to port, its hands read by settings; the port's error
    // when it cannot be opened (nothing is open then).
    PlayError Open(MidiSystem& system, const MidiPort& port, const KeyboardSettings& settings);
    bool IsOpen(const MidiPort& port, const KeyboardSettings& settings) const;
    void Close();

    // What arrived, handed to player (chords held, the right hand sounded).
    CKeyboardInput::Taken Pump(CStylePlayer& player);

private:
    void Wake();

    std::function<void()> m_pump;
    QTimer* m_decision;                // fires when the left hand's chord is due
    std::atomic<bool> m_woken{false};  // a wake-up is posted and not yet taken
    std::optional<MidiPort> m_port;
    KeyboardSettings m_settings;
    std::unique_ptr<CKeyboardInput> m_input;  // last: closed before the rest is gone
};
