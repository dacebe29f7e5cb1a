// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/files/SoundFiles.h"

#include <initializer_list>
#include <string_view>

#include "format/ByteOrder.h"
#include "play/ChordCursor.h"

namespace {

// Byte by byte: g++ 12 at -O3 takes inserting a short list into a vector for an overflow.
void AppendBytes(std::vector<std::uint8_t>& out, std::initializer_list<std::uint8_t> bytes) {
    for (const std::uint8_t b : bytes) out.push_back(b);
}
void AppendText(std::vector<std::uint8_t>& out, std::string_view text) {
    for (const char c : text) out.push_back(static_cast<std::uint8_t>(c));
}

void AppendU32BE(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// A gap longer than one delta time can hold (the markers between two events are not
// written) goes out in pieces, each ended by an empty text event, which plays nothing.
void AppendDeltaTime(std::vector<std::uint8_t>& track, std::uint64_t ticks) {
    for (; ticks > kLargestVarLength; ticks -= kLargestVarLength) {
        AppendVarLength(track, kLargestVarLength);
        AppendBytes(track, {0xFF, 0x01, 0x00});
    }
    AppendVarLength(track, static_cast<std::uint32_t>(ticks));
}

void AppendEvent(std::vector<std::uint8_t>& track, const TimelineEvent& event, const Timeline& timeline,
                 std::string_view markerText) {
    switch (event.kind) {
        case TimelineEvent::Kind::Channel: {
            track.push_back(event.status);
            track.push_back(event.data1);
            const std::uint8_t kind = event.MessageKind();
            if (kind != 0xC && kind != 0xD) track.push_back(event.data2);
            break;
        }
        case TimelineEvent::Kind::Tempo:
            AppendBytes(track, {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(event.value >> 16),
                                static_cast<std::uint8_t>(event.value >> 8), static_cast<std::uint8_t>(event.value)});
            break;
        case TimelineEvent::Kind::TimeSignature:
            // 24 MIDI clocks a click and 8 thirty-seconds a quarter, as in every style.
            AppendBytes(track, {0xFF, 0x58, 0x04, event.data1, event.data2, 24, 8});
            break;
        case TimelineEvent::Kind::SysEx:
            track.push_back(0xF0);
            AppendVarLength(track, event.length);
            track.insert(track.end(), timeline.sysex.begin() + event.value,
                         timeline.sysex.begin() + event.value + event.length);
            break;
        case TimelineEvent::Kind::Marker:
            AppendBytes(track, {0xFF, 0x06});
            AppendVarLength(track, static_cast<std::uint32_t>(markerText.size()));
            AppendText(track, markerText);
            break;
    }
}

}  // namespace

std::vector<std::uint8_t> MidiFileBytes(const Timeline& timeline, int section, int loops, const ChordPlan& chords) {
    std::vector<std::uint8_t> track;
    ChordCursor cursor(timeline, section, loops, chords);
    std::uint64_t last = 0;
    TimelineEvent event;
    std::uint64_t tick = 0;
    while (cursor.Peek(event, tick)) {
        const std::string_view markerText = cursor.MarkerText(event);
        cursor.Advance();
        if (event.kind == TimelineEvent::Kind::Marker && markerText.empty()) continue;
        AppendDeltaTime(track, tick - last);
        last = tick;
        AppendEvent(track, event, timeline, markerText);
    }
    AppendBytes(track, {0x00, 0xFF, 0x2F, 0x00});

    std::vector<std::uint8_t> out;
    AppendText(out, "MThd");
    AppendU32BE(out, 6);
    AppendBytes(out, {0x00, 0x00, 0x00, 0x01, static_cast<std::uint8_t>(timeline.division >> 8),
                      static_cast<std::uint8_t>(timeline.division)});
    AppendText(out, "MTrk");
    AppendU32BE(out, static_cast<std::uint32_t>(track.size()));
    out.insert(out.end(), track.begin(), track.end());
    return out;
}
