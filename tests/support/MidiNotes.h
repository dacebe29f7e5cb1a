// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Reads back what a Standard MIDI File of one track plays: its notes, each from its
// note-on to its note-off, and its marker events, with their ticks. Only as much of the
// format as the tests' own files need; a malformed file gives what was read before it.

#include <cstdint>
#include <string>
#include <vector>

inline constexpr std::uint64_t kNeverEnded = UINT64_MAX;

struct MidiNote {
    std::uint64_t on = 0;
    std::uint64_t off = kNeverEnded;
    int channel = 0;
    int key = 0;
    bool operator==(const MidiNote&) const = default;
};

struct MidiMarker {
    std::uint64_t tick = 0;
    std::string text;
    bool operator==(const MidiMarker&) const = default;
};

struct MidiContent {
    int division = 0;
    std::vector<MidiNote> notes;  // in the order they were struck
    std::vector<MidiMarker> markers;
};

inline MidiContent ReadMidi(const std::vector<std::uint8_t>& file) {
    MidiContent content;
    if (file.size() < 22) return content;
    content.division = file[12] << 8 | file[13];
    std::size_t pos = 22;  // after "MThd", its 6 bytes and the "MTrk" header
    auto varLength = [&]() {
        std::uint64_t value = 0;
        while (pos < file.size()) {
            const std::uint8_t byte = file[pos++];
            value = value << 7 | (byte & 0x7F);
            if (!(byte & 0x80)) break;
        }
        return value;
    };
    std::uint64_t tick = 0;
    std::uint8_t status = 0;
    while (pos < file.size()) {
        tick += varLength();
        if (pos >= file.size()) break;
        if (file[pos] == 0xFF) {
            if (pos + 1 >= file.size()) break;
            const std::uint8_t type = file[pos + 1];
            pos += 2;
            const std::uint64_t length = varLength();
            if (pos + length > file.size()) break;
            if (type == 0x06)
                content.markers.push_back({tick, std::string(file.begin() + pos, file.begin() + pos + length)});
            pos += length;
            if (type == 0x2F) break;
            continue;
        }
        if (file[pos] == 0xF0 || file[pos] == 0xF7) {
            ++pos;
            pos += varLength();
            continue;
        }
        if (file[pos] & 0x80) status = file[pos++];
        const int kind = status >> 4;
        const std::size_t size = kind == 0xC || kind == 0xD ? 1 : 2;
        if (pos + size > file.size()) break;
        const int channel = status & 0x0F;
        const int key = file[pos];
        const bool on = kind == 0x9 && file[pos + 1] != 0;
        const bool off = kind == 0x8 || (kind == 0x9 && file[pos + 1] == 0);
        if (on) content.notes.push_back({tick, kNeverEnded, channel, key});
        if (off) {
            for (MidiNote& note : content.notes) {
                if (note.channel == channel && note.key == key && note.off == kNeverEnded && note.on <= tick) {
                    note.off = tick;
                    break;
                }
            }
        }
        pos += size;
    }
    return content;
}
