// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "format/ByteOrder.h"
#include "format/StyleError.h"
#include "format/StyleReader.h"

// The document's values that a save writes into the track.
struct TrackEdits {
    std::string title;          // code page 1252, at most 32 characters
    std::string copyright;      // code page 1252, at most 32; empty removes the copyright event
    bool hasCopyright = false;  // the image holds a copyright event
    std::int16_t tempo = -1;    // beats per minute; -1 or 0 leave the tempo event alone
    std::int32_t timeSigNumerator = 0;
    std::int32_t timeSigDenominator = 0;  // 0: no time signature to write
    bool allChannels = true;
    std::int32_t allChannelsPercent = 100;
    ChannelValues origVolume = StyleFacts::Unset();
    ChannelValues volume = StyleFacts::Unset();
};

// The edits a document holds right after its load, nothing changed: rewriting the
// track with them gives back the same bytes.
TrackEdits UneditedEdits(const StyleFacts& facts);

struct RewrittenTrack {
    std::vector<std::uint8_t> bytes;  // header chunk and track chunk with the edits
    std::size_t walkEnd = 0;          // where the walk ended in the image it was given
    bool titleFound = false;
    bool formatFound = false;  // the "SFF1" or "SFF2" marker
};

// Walks the track of a style image as the load does and writes the edits into a new
// copy of header and track: the title event, the copyright event (replaced, removed
// with its delta time, or inserted right before the "SFF1" or "SFF2" marker event),
// the tempo and time signature events the load reads, and every channel volume by the
// volume rule. A title, copyright or tempo that reads as the image holds it is no
// edit and keeps its bytes. The track length field follows every change; nothing else
// is touched.
MaybeStyleError RewriteTrack(ByteView image, const TrackEdits& edits, RewrittenTrack& result);

// The volume rule: one percentage for every volume event, or each channel's edited
// volume in proportion to the first volume found on it. Values above 127 are left
// as they are.
std::uint8_t RewrittenVolume(std::uint8_t value, int channel, const TrackEdits& edits);

// Data byte 1 of a time signature: how often the denominator can be halved while it
// is greater than 1 (8 gives 3, 6 gives 2, 1 gives 0).
std::uint8_t DenominatorPower(std::int32_t denominator);
