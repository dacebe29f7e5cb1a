// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "play/chords/Progression.h"

// What the accompaniment follows while it plays: every channel through its channel
// rules on a progression (a keyboard holding C Maj7 when the progression is empty),
// or every channel as recorded, without the rules.
struct ChordPlan {
    bool asRecorded = false;
    Progression progression;
};
