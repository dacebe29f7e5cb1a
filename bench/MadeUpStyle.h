// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "StyleBytes.h"

// A made-up style with all a form shows: title, copyright, tempo, time signature,
// eight channel volumes, seven sections, CASM and OTS.
inline Bytes MadeUpStyle() {
    Bytes events = TitleEvent("Sunny Bossa") + CopyrightEvent("(c) 2026 Korvane") + Sff1Marker() + TempoEvent(454545) +
                   TimeSignatureEvent(4, 2);
    const std::uint8_t volumes[] = {100, 92, 110, 84, 76, 70, 88, 96};
    for (std::uint8_t channel = 8; channel < 16; ++channel) events += VolumeEvent(channel, volumes[channel - 8]);
    for (const char* section : {"Intro A", "Main A", "Main B", "Main C", "Main D", "Ending A", "Ending B"}) {
        events += MarkerEvent(section) + NoteOn(9, 36, 100);
    }
    events += EndOfTrack();
    const Bytes casm = Casm(Cseg(Sdec("Main A,Main B,Main C,Main D") + Ctab(10, 10) + Ctab(11, 11) + Cntt()));
    return StyleFile(events, casm + Ots());
}
