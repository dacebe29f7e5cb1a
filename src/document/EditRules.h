// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "format/TempoField.h"

class CKorvaneDoc;

// The values a user may give a style, and how an edit reaches the document. The
// style form and the companion both edit through these, so they never disagree.

struct ValueRange {
    int low;
    int high;
    constexpr bool Contains(int value) const { return value >= low && value <= high; }
};

inline constexpr ValueRange kTempoRange{0, 250};          // beats per minute; 0 leaves the tempo as it is
inline constexpr ValueRange kTimeSignatureRange{1, 128};  // numerator and denominator alike
inline constexpr ValueRange kVolumeRange{0, 127};
inline constexpr ValueRange kPercentRange{0, 200};
inline constexpr ValueRange kChannelNumberRange{1, 16};  // as users count MIDI channels

// The values a style may lack: no tempo event before "Main A", no time signature, no
// volume on a channel (0-15). A value the style lacks is never shown, checked or
// written.
bool HasTempo(const CKorvaneDoc& doc);
bool HasTimeSignature(const CKorvaneDoc& doc);
bool HasChannelVolume(const CKorvaneDoc& doc, int channel);
// The beats of the style's bar, which a chord progression divides: its time
// signature's upper number, four without one.
int BeatsPerBar(const CKorvaneDoc& doc);

// The slider's rule: a volume as found in the file at percent (truncated, only the low
// 8 bits kept, above 127 written as 127).
std::int16_t VolumeAtPercent(std::int16_t found, int percent);

// Each edit refuses, with the text to show, a value outside its range and a value the
// style does not have (no tempo event, no time signature, no volume on the channel);
// the document is then untouched. Otherwise the value is taken and the document is
// marked modified when it changed.
using EditRefusal = std::optional<std::string>;
EditRefusal EditTempo(CKorvaneDoc& doc, int bpm);
EditRefusal EditTimeSignature(CKorvaneDoc& doc, int numerator, int denominator);
// A channel volume switches the document to single-channel volumes; channel 0-15.
EditRefusal EditChannelVolume(CKorvaneDoc& doc, int channel, int volume);
// Switches the document to one percentage for all channels and sets every present
// channel's volume from the volume found in the file, as the slider does.
EditRefusal EditAllChannelsPercent(CKorvaneDoc& doc, int percent);
