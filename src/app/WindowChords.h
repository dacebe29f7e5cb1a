// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "play/chords/Chord.h"
#include "play/chords/Progression.h"

class CKorvaneDoc;
class CStylePlayer;

// The chords a style window has its style follow, as the Chords box gave them: one
// chord symbol, held at once as a keyboard's left hand holds it, or a progression of
// bars, followed from the next bar and round again. They belong to the window while it
// is open, never to the style's file.
struct WindowChords {
    std::string text;  // as the box held it, UTF-8, without spaces around it
    std::variant<Chord, Progression> chords;
};

// What the box holds: one chord when the whole text is one symbol, else a progression
// of bars of beatsPerBar beats; the progression's error (it names the symbol and its
// bar) when it is neither.
std::variant<WindowChords, ProgressionError> ReadWindowChords(std::string_view text, int beatsPerBar);

// A chord is held at once, a progression followed from the next bar.
void GiveChords(CStylePlayer& player, const WindowChords& chords);

// A message as one line, for the status bar: its line breaks become one space.
std::string OneLine(std::string_view text);
