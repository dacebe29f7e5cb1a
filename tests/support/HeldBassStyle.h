// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A style whose bass answers a new chord at once, wherever in the bar it comes: "Main A",
// one 4/4 bar at 120 bpm, the bass part (channel 11, which without a CASM plays by a
// keyboard's rules for the bass: root transposition, struck again on a chord change)
// holding C2 through the whole bar, recorded on C Maj7.

#include "StyleBytes.h"

inline constexpr int kHeldBassChannel = 10;  // 0-15

inline Bytes HeldBassStyle() {
    constexpr std::uint32_t kBar = 4 * 480;
    constexpr auto kBass = static_cast<std::uint8_t>(kHeldBassChannel);
    const Bytes events = BasicEvents() + TempoEvent(500000) + TimeSignatureEvent(4, 2) + MarkerEvent("Main A") +
                         NoteOn(kBass, 36, 100) + Bytes::VarLen(kBar - 1) + Bytes{std::uint8_t(0x80 | kBass), 36, 0} +
                         Bytes::VarLen(1) + Bytes{0xFF, 0x2F, 0x00};
    // 480 ticks a quarter note: the bass is silent for a millisecond where the bar loops.
    return Chunk("MThd", {0x00, 0x00, 0x00, 0x01, 0x01, 0xE0}) + Chunk("MTrk", events);
}
