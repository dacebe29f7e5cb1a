// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "format/ByteOrder.h"
#include "format/StyleError.h"
#include "format/TrackScan.h"
#include "format/TrackWalker.h"

// A track cut at its marker events, as a walk of it finds them: where each marker is,
// and which channels play between one and the next. Playback cuts a track into its
// sections at markers, so it learns the sections and the channels each plays from
// this without walking the track again, and walks again only the stretches it
// reads event by event (the set-up), from where they begin.
struct TrackStretch {
    // The marker event that opens the stretch and its text; none (0) for the first
    // stretch, which opens at the track's start.
    std::size_t marker = 0;
    std::size_t text = 0;
    std::uint32_t textLength = 0;
    std::size_t begin = kTrackDataOffset;  // the first event after the marker
    std::size_t end = 0;                   // after its last event: the next marker, or the walk's end
    std::uint8_t runningStatus = 0;        // the channel status in force at begin
    std::uint16_t channels = 0;            // bit c: a channel message on channel c (0-15)

    bool HasMarker() const { return marker != 0; }
    bool operator==(const TrackStretch&) const = default;
};

struct TrackMap {
    std::size_t trackEnd = 0;  // where the track ends by its header
    // Where the walk ended, where the chunks after the track begin; 0 when the walk
    // found the track malformed: the stretches are then those before the fault, the
    // last without an end.
    std::size_t walkEnd = 0;
    std::vector<TrackStretch> stretches;  // in track order, the first from the track's start

    bool operator==(const TrackMap&) const = default;
};

// Maps a track beside whatever else reads the same walk: hand it every event the walk
// meets, then Finish.
class TrackMapper {
public:
    TrackMapper(TrackMap& map, std::size_t trackEnd) : m_map(map) {
        m_map = TrackMap{};
        m_map.trackEnd = trackEnd;
        m_map.stretches.emplace_back();
    }

    // runningStatus: the walker's after the event.
    void Take(const TrackEvent& event, std::uint8_t runningStatus) {
        if (event.type == TrackEvent::Type::Channel) {
            Take(PassedChannelMessage{event.kind, event.channel, event.data});
        } else if (event.type == TrackEvent::Type::Meta && event.metaType == kMetaMarker) {
            OpenStretch(event, runningStatus);
        }
    }
    // A channel message that the walk passes by.
    void Take(const PassedChannelMessage& message) { m_played[message.channel] = true; }
    // walkEnd: where the walk ended; 0 when it failed.
    void Finish(std::size_t walkEnd) {
        CloseStretch(walkEnd);
        m_map.walkEnd = walkEnd;
    }

private:
    void CloseStretch(std::size_t end) {
        m_map.stretches.back().end = end;
        std::uint16_t channels = 0;
        for (unsigned c = 0; c < m_played.size(); ++c) channels |= static_cast<std::uint16_t>(m_played[c] << c);
        m_map.stretches.back().channels = channels;
        m_played = {};
    }
    void OpenStretch(const TrackEvent& marker, std::uint8_t runningStatus);

    TrackMap& m_map;
    // The channels of the stretch being walked. A flag each, only ever set: a mask
    // would be read and written again for every channel message of the track.
    std::array<bool, 16> m_played{};
};

// Walks the track of a style image and maps it; the error of a malformed track.
MaybeStyleError MapTrack(ByteView image, TrackMap& map);
