// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <bitset>
#include <cstdint>
#include <optional>

#include "play/chords/Fingering.h"

// A hand rolls a chord's keys in over a few milliseconds; a deliberate change of chord
// takes far longer. 20 ms holds such a roll together as one chord, and keeps the chord's
// arrival under the 30 ms or so after which a listener hears it late.
inline constexpr std::uint64_t kChordSettleMicroseconds = 20000;

enum class Hand { Left, Right };

// The chord a keyboard's left hand holds, followed from its key presses and releases
// (MIDI notes; times in microseconds, never going back). Keys at or below the split are
// the left hand; in full mode every key is. A press of the left hand is decided once no
// other left-hand key has been pressed for the settle time: the keys held then name the
// chord, or the keys held at the last press where the hand let go of them all before.
// Releases decide nothing: the chord stays when the hand lets go, and the next press
// reads every key held then.
class LeftHand {
public:
    explicit LeftHand(Fingering mode = kDefaultFingering, int splitKey = kDefaultSplitKey,
                      std::uint64_t settle = kChordSettleMicroseconds);

    // The hand the key belongs to: the right hand's keys are melody and never name a chord.
    Hand KeyDown(int key, std::uint64_t time);
    Hand KeyUp(int key, std::uint64_t time);

    // The chord decided by now, once: nothing while none is due, when the keys name no
    // chord or the chord followed already.
    std::optional<Chord> Poll(std::uint64_t now);
    // When the next decision is due, if one is waiting.
    std::optional<std::uint64_t> NextDecision() const { return m_due; }

    // The chord followed now (kNoChord before the first), and whether any was yet: a style
    // that starts in sync waits for the first.
    const Chord& Current() const { return m_current; }
    bool Started() const { return m_started; }

private:
    using Keys = std::bitset<kHighestKey + 1>;

    Hand HandOf(int key) const;
    void DecideBy(std::uint64_t time);

    Fingering m_mode;
    int m_splitKey;
    std::uint64_t m_settle;
    Keys m_held;         // the left hand's
    Keys m_lastPressed;  // m_held at the last press
    std::optional<std::uint64_t> m_due;
    Chord m_current = kNoChord;
    bool m_started = false;
    std::optional<Chord> m_reported;  // the last chord Poll gave
};
