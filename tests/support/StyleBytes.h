// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Builds style files byte by byte from their layout, so that each test shows the
// bytes it means. Every helper returns Bytes that can be joined with +.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct Bytes {
    std::vector<std::uint8_t> data;

    Bytes() = default;
    Bytes(std::initializer_list<std::uint8_t> bytes) : data(bytes) {}
    static Bytes Text(std::string_view text) {
        Bytes b;
        b.data.assign(text.begin(), text.end());
        return b;
    }
    static Bytes U32BE(std::uint32_t value) {
        return {std::uint8_t(value >> 24), std::uint8_t(value >> 16), std::uint8_t(value >> 8), std::uint8_t(value)};
    }
    // A Standard MIDI variable-length number: 127 is 7F, 128 is 81 00.
    static Bytes VarLen(std::uint32_t value) {
        Bytes b{std::uint8_t(value & 0x7F)};
        for (value >>= 7; value != 0; value >>= 7) b.data.insert(b.data.begin(), std::uint8_t(0x80 | (value & 0x7F)));
        return b;
    }
    static Bytes Repeat(std::uint8_t byte, std::size_t count) {
        Bytes b;
        b.data.assign(count, byte);
        return b;
    }

    Bytes& operator+=(const Bytes& other) {
        data.insert(data.end(), other.data.begin(), other.data.end());
        return *this;
    }
    friend Bytes operator+(Bytes a, const Bytes& b) { return a += b; }

    std::size_t size() const { return data.size(); }
    std::span<const std::uint8_t> view() const { return data; }
    std::string str() const { return std::string(data.begin(), data.end()); }
};

// A chunk: 4-byte tag, 32-bit big-endian length, content.
inline Bytes Chunk(std::string_view tag, const Bytes& content) {
    return Bytes::Text(tag) + Bytes::U32BE(static_cast<std::uint32_t>(content.size())) + content;
}

// The 14-byte header chunk: format 0, one track, 120 ticks per quarter.
inline Bytes HeaderChunk() { return Chunk("MThd", {0x00, 0x00, 0x00, 0x01, 0x00, 0x78}); }

// ---- Track events, each with a one-byte delta time of 0 unless given ----

inline Bytes Meta(std::uint8_t type, const Bytes& content, std::uint8_t delta = 0) {
    return Bytes{delta, 0xFF, type} + Bytes::VarLen(static_cast<std::uint32_t>(content.size())) + content;
}
inline Bytes TextMeta(std::uint8_t type, std::string_view text) { return Meta(type, Bytes::Text(text)); }
inline Bytes TitleEvent(std::string_view title) { return TextMeta(0x03, title); }
inline Bytes CopyrightEvent(std::string_view text) { return TextMeta(0x02, text); }
inline Bytes MarkerEvent(std::string_view text) { return TextMeta(0x06, text); }
inline Bytes Sff1Marker() { return MarkerEvent("SFF1"); }
inline Bytes Sff2Marker() { return MarkerEvent("SFF2"); }
inline Bytes TempoEvent(std::uint32_t microsecondsPerQuarter) {
    return Meta(0x51, {std::uint8_t(microsecondsPerQuarter >> 16), std::uint8_t(microsecondsPerQuarter >> 8),
                       std::uint8_t(microsecondsPerQuarter)});
}
inline Bytes TimeSignatureEvent(std::uint8_t numerator, std::uint8_t denominatorPower) {
    return Meta(0x58, {numerator, denominatorPower, 0x18, 0x08});
}
inline Bytes EndOfTrack() { return Bytes{0x00, 0xFF, 0x2F, 0x00}; }
// Controller 7 on a channel 0-15.
inline Bytes VolumeEvent(std::uint8_t channel, std::uint8_t value) {
    return Bytes{0x00, std::uint8_t(0xB0 | channel), 0x07, value};
}
inline Bytes NoteOn(std::uint8_t channel, std::uint8_t note, std::uint8_t velocity) {
    return Bytes{0x00, std::uint8_t(0x90 | channel), note, velocity};
}
// Data bytes under running status, after a delta time of 0.
inline Bytes Running(std::uint8_t first, std::uint8_t second) { return Bytes{0x00, first, second}; }
inline Bytes SysEx(const Bytes& content) {
    return Bytes{0x00, 0xF0} + Bytes::VarLen(static_cast<std::uint32_t>(content.size())) + content;
}

// ---- Chunks after the track ----

// "Ctab" with the source channel at content byte 0 and the part at byte 9; 27 bytes
// of content as the keyboards write them.
inline Bytes Ctab(std::uint8_t source, std::uint8_t part) {
    Bytes content = Bytes{source} + Bytes::Text("Name    ") + Bytes{part} + Bytes::Repeat(0x00, 17);
    return Chunk("Ctab", content);
}
// "Ctb2", the SFF2 record: the same first ten bytes as a "Ctab", then its own note
// ranges; 47 or 51 bytes of content in real files.
inline Bytes Ctb2(std::uint8_t source, std::uint8_t part, std::size_t size = 47) {
    Bytes content = Bytes{source} + Bytes::Text("Name    ") + Bytes{part};
    return Chunk("Ctb2", content + Bytes::Repeat(0x00, size - content.size()));
}
// The rules of one range of source notes as a channel table stores them: note
// transposition rule (0 root transposition, 1 root fixed, SFF2 2 guitar) and table,
// high key 0-11 (5: F), note limits, retrigger rule (0 stop, 3 retrigger).
struct ZoneFields {
    std::uint8_t ntr = 0;
    std::uint8_t ntt = 1;
    std::uint8_t highKey = 5;
    std::uint8_t lowLimit = 0;
    std::uint8_t highLimit = 127;
    std::uint8_t rtr = 0;

    Bytes bytes() const { return {ntr, ntt, highKey, lowLimit, highLimit, rtr}; }
};
inline constexpr std::uint64_t kEveryChordType = (std::uint64_t{1} << 34) - 1;

// Every field of a channel table that playback reads. SFF1 uses the middle zone only.
struct ChannelTableFields {
    std::uint8_t source = 13;                   // MIDI channel 0-15
    std::uint8_t part = 14;                     // 8-15: Sub Rhythm, Rhythm, Bass, Chord 1, Chord 2, Pad, Phrase 1, 2
    std::uint16_t noteMute = 0x0FFF;            // bit r plays on roots r, C = bit 0
    std::uint64_t chordMute = kEveryChordType;  // bit t plays on chord type t, Maj = bit 0
    bool autostart = true;
    std::uint8_t sourceRoot = 0;  // C
    std::uint8_t sourceType = 2;  // Maj7
    std::uint8_t middleLow = 0;   // SFF2: the middle zone's notes
    std::uint8_t middleHigh = 127;
    ZoneFields low, middle, high;

    // Content bytes 0-19, the same in both kinds.
    Bytes head() const {
        return Bytes{source} + Bytes::Text("Part    ") + Bytes{part} +                    //
               Bytes{0x00} +                                                              // not editable
               Bytes{std::uint8_t(noteMute >> 8 & 0x0F), std::uint8_t(noteMute)} +        // note mute
               Bytes{std::uint8_t((chordMute >> 32 & 0x03) | (autostart ? 0x04 : 0x00)),  // chord mute
                     std::uint8_t(chordMute >> 24), std::uint8_t(chordMute >> 16), std::uint8_t(chordMute >> 8),
                     std::uint8_t(chordMute)} +
               Bytes{sourceRoot, sourceType};
    }
};
// A "Ctab" with these fields: the middle zone and no special feature, 27 bytes.
inline Bytes Ctab(const ChannelTableFields& t) { return Chunk("Ctab", t.head() + t.middle.bytes() + Bytes{0x00}); }
// A "Ctb2" with these fields: the middle zone's range and three zones, 47 bytes.
inline Bytes Ctb2(const ChannelTableFields& t) {
    return Chunk("Ctb2", t.head() + Bytes{t.middleLow, t.middleHigh} + t.low.bytes() + t.middle.bytes() +
                             t.high.bytes() + Bytes::Repeat(0x00, 7));
}
// The same fields for an SFF1 table flat, one zone: the defaults are a part recorded on
// C Maj7 that plays on every chord, root transposition, no table, stop at a chord change.
struct CtabFields {
    std::uint8_t source = 8;                     // channel 0-15
    std::uint8_t part = 8;                       // 8-15
    std::uint16_t noteMute = 0x0FFF;             // bit r: plays on root r
    std::uint64_t chordMute = 0x3'FFFF'FFFFull;  // bit t: plays on chord type t (Maj = 0, Min = 8)
    bool autostart = true;
    std::uint8_t sourceRoot = 0;
    std::uint8_t sourceType = 2;  // Maj7
    std::uint8_t ntr = 0;         // 0 root transposition, 1 root fixed
    std::uint8_t ntt = 0;         // 0 bypass, 1 melody, 2 chord, 3 bass, 4 melodic minor, 5 harmonic minor
    std::uint8_t highKey = 5;
    std::uint8_t lowLimit = 0;
    std::uint8_t highLimit = 127;
    std::uint8_t rtr = 0;  // 0 stop, 1 pitch shift, 2 to root, 3 retrigger, 4 to root, 5 note generator
};
inline Bytes Ctab(const CtabFields& f) {
    ChannelTableFields table;
    table.source = f.source;
    table.part = f.part;
    table.noteMute = f.noteMute;
    table.chordMute = f.chordMute;
    table.autostart = f.autostart;
    table.sourceRoot = f.sourceRoot;
    table.sourceType = f.sourceType;
    table.middle = {f.ntr, f.ntt, f.highKey, f.lowLimit, f.highLimit, f.rtr};
    return Ctab(table);
}
inline Bytes Sdec(std::string_view sections = "Main A,Main B") { return Chunk("Sdec", Bytes::Text(sections)); }
inline Bytes Cntt() { return Chunk("Cntt", {0x00, 0x00}); }
inline Bytes Cseg(const Bytes& subChunks) { return Chunk("CSEG", subChunks); }
inline Bytes Casm(const Bytes& csegs) { return Chunk("CASM", csegs); }
inline Bytes Ots(const Bytes& content = Bytes::Text("OTS settings")) { return Chunk("OTSc", content); }
// As keyboards write it: one "MTrk" member for each of the four one-touch settings.
inline Bytes OtsOfFourMembers() {
    Bytes members;
    for (std::uint8_t n = 1; n <= 4; ++n)
        members += Chunk("MTrk", Meta(0x03, Bytes::Text("OTS")) + Bytes{n, 0xFF, 0x2F, 0x00});
    return Ots(members);
}

// ---- Whole files ----

// The events every loadable style needs: a title and the "SFF1" marker.
inline Bytes BasicEvents(std::string_view title = "Test Style") { return TitleEvent(title) + Sff1Marker(); }
inline Bytes BasicSff2Events(std::string_view title = "Test Style") { return TitleEvent(title) + Sff2Marker(); }

inline Bytes StyleFile(const Bytes& events, const Bytes& afterTrack = {}) {
    return HeaderChunk() + Chunk("MTrk", events) + afterTrack;
}

// The smallest style the load accepts: 48 bytes, title "Test Style".
inline Bytes MinimalStyle() { return StyleFile(BasicEvents() + EndOfTrack()); }
