// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "format/Chunks.h"

// The rules of one range of source notes, as the channel table stores them (SFF1 has
// one, SFF2 three): the numbers only; playback says what they mean.
struct CasmZone {
    std::uint8_t ntr = 0;        // note transposition rule
    std::uint8_t ntt = 0;        // note transposition table
    std::uint8_t highKey = 0;    // 0-11
    std::uint8_t lowLimit = 0;   // lowest note
    std::uint8_t highLimit = 0;  // highest note
    std::uint8_t rtr = 0;        // retrigger rule
};

// One "Ctab" (SFF1) or "Ctb2" (SFF2) record.
struct CasmChannelTable {
    bool sff2 = false;
    std::size_t offset = 0;  // of the record's tag in the image
    std::uint8_t sourceChannel = 0;
    std::string name;              // 8 bytes, code page 1252, padding kept
    std::uint8_t destination = 0;  // part 8-15
    bool editable = false;
    std::uint16_t noteMute = 0;   // bit r: plays on chords whose root is r (C = bit 0)
    std::uint64_t chordMute = 0;  // bit t: plays on chord type t (0-33, Maj first)
    bool autostart = false;       // plays before the first chord
    std::uint8_t sourceRoot = 0;  // 0-11, C = 0
    std::uint8_t sourceType = 0;  // 0-33, 34 "cancel"
    // SFF2: the middle zone's range; a note below it takes zones[0], above it zones[2].
    // SFF1 has only zones[1], for every note (0-127).
    std::uint8_t middleLow = 0;
    std::uint8_t middleHigh = 127;
    std::array<CasmZone, 3> zones{};
    std::uint8_t specialFeature = 0;  // SFF1 only: 1 adds a break drum voice (4 more bytes)
};

// A "Cntt" entry: another note transposition table for one source channel of its
// CSEG, in the SFF2 numbering with bit 7 "bass on".
struct CasmNttOverride {
    std::uint8_t sourceChannel = 0;
    std::uint8_t ntt = 0;
};

// One "CSEG": the sections it covers (as its "Sdec" names them) and their tables.
struct CasmSegment {
    std::vector<std::string> sections;
    std::vector<CasmChannelTable> tables;
    std::vector<CasmNttOverride> nttOverrides;
};

// Reads the CASM chunk of a style image whole, when it has one after its track (walkEnd:
// where the track walk ended); found says whether it has one.
MaybeStyleError ReadStyleCasm(ByteView image, std::size_t walkEnd, std::vector<CasmSegment>& segments, bool& found);

// Reads every CSEG of the CASM chunk in range, whole. A record too short for the
// fields of its kind is refused with its offset; the walk's own faults as the load
// reports them.
MaybeStyleError ReadCasmTables(ByteView image, ByteRange casm, std::vector<CasmSegment>& segments);
