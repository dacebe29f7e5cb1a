// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

#include "format/ByteOrder.h"
#include "format/StyleError.h"
#include "msg/StyleMessages.h"

inline constexpr std::size_t kTrackTagOffset = 14;
inline constexpr std::size_t kTrackLengthOffset = 18;
inline constexpr std::size_t kTrackDataOffset = 22;

// The length of the track that begins at offset 14, when its header is complete and
// its data lies inside the image; a structure error at the track otherwise.
MaybeStyleError ReadTrackLength(ByteView image, std::size_t& trackLength);

struct TrackEvent {
    enum class Type { Channel, Meta, SysEx };

    Type type = Type::Channel;
    std::size_t start = 0;      // first byte of the delta time
    std::size_t status = 0;     // the status byte; under running status the first data byte
    std::size_t lengthPos = 0;  // meta and system exclusive: the first byte of the length
    std::size_t data = 0;       // first data byte (for meta and system exclusive: after the length)
    std::size_t end = 0;        // first byte after the event
    std::uint8_t kind = 0;      // channel message: high half of the status in force (0x8-0xE)
    std::uint8_t channel = 0;   // channel message: low half of the status in force
    std::uint8_t metaType = 0;
    std::uint32_t length = 0;  // meta or system exclusive data length; data bytes of a channel message
};

// A channel message as a walk passes it by (TrackWalker::NextMetaOrSysEx).
struct PassedChannelMessage {
    std::uint8_t kind = 0;     // high half of the status in force (0x8-0xE)
    std::uint8_t channel = 0;  // low half of the status in force
    std::size_t data = 0;      // first data byte
};

// Walks the events of the track, which begins at file offset 22 and ends at trackEnd.
// Delta times are skipped, running status carries over meta and system exclusive
// events, and meta and system exclusive lengths are variable-length numbers (one byte
// below 128, as nearly every event of a style has). Every event must
// lie inside the track; only the end-of-track event may end one byte past it, as
// files with a track length one byte short are common enough to accept.
class TrackWalker {
public:
    // trackEnd must not lie past the image.
    TrackWalker(ByteView image, std::size_t trackEnd);
    // Walks on from an event that an earlier walk of the same track met at from, with
    // the running status that walk had there (RunningStatus()).
    TrackWalker(ByteView image, std::size_t trackEnd, std::size_t from, std::uint8_t runningStatus);

    // Reads the next event and moves past it. False at the end of the track and when
    // the track is malformed; Error() tells the two apart. Channel messages, nearly
    // every event of a style, are read here; the rest out of line.
    bool Next(TrackEvent& event) {
        std::size_t pos = m_pos;
        if (pos >= m_trackEnd) return false;
        event.start = pos;
        const std::uint8_t* bytes = m_image.data();
        while (bytes[pos] & 0x80) {
            if (++pos == m_trackEnd) return Fail(style_messages::kInvalidStructure, event.start);
        }
        if (++pos == m_trackEnd) return Fail(style_messages::kInvalidStructure, event.start);

        event.status = pos;
        const std::uint8_t b = bytes[pos];
        if (b & 0x80) {
            if (b >= 0xF0) return ReadMetaOrSysEx(event);
            m_runningStatus = b;
            ++pos;
        } else if (m_runningStatus == 0) {
            return Fail(style_messages::kInvalidStructure, pos);
        }
        const std::uint8_t kind = m_runningStatus >> 4;
        event.type = TrackEvent::Type::Channel;
        event.kind = kind;
        event.channel = m_runningStatus & 0x0F;
        // Program change (0xC) and channel pressure (0xD) have one data byte, the rest two.
        event.length = 2 - ((kOneDataByteKinds >> kind) & 1);
        event.data = pos;
        event.end = pos + event.length;
        if (event.end > m_trackEnd) return Fail(style_messages::kInvalidStructure, event.status);
        m_pos = event.end;
        return true;
    }

    // Reads on to the next meta or system-exclusive event as Next does, handing each
    // channel message on the way to onChannel(const PassedChannelMessage&) instead of
    // stopping at it: a walk that wants few channel messages, in a track of nearly
    // nothing else, keeps its place in registers. The same events, faults and end.
    template <class OnChannel>
    bool NextMetaOrSysEx(TrackEvent& event, OnChannel&& onChannel) {
        const std::uint8_t* bytes = m_image.data();
        const std::size_t trackEnd = m_trackEnd;
        std::size_t pos = m_pos;
        std::uint8_t running = m_runningStatus;
        while (pos < trackEnd) {
            const std::size_t start = pos;
            while (bytes[pos] & 0x80) {
                if (++pos == trackEnd) return Fail(style_messages::kInvalidStructure, start);
            }
            if (++pos == trackEnd) return Fail(style_messages::kInvalidStructure, start);
            const std::size_t status = pos;
            const std::uint8_t b = bytes[pos];
            if (b & 0x80) {
                if (b >= 0xF0) {
                    m_pos = pos;
                    m_runningStatus = running;
                    event.start = start;
                    event.status = status;
                    return ReadMetaOrSysEx(event);
                }
                running = b;
                ++pos;
            } else if (running == 0) {
                return Fail(style_messages::kInvalidStructure, pos);
            }
            const std::uint8_t kind = running >> 4;
            const std::size_t end = pos + 2 - ((kOneDataByteKinds >> kind) & 1);
            if (end > trackEnd) return Fail(style_messages::kInvalidStructure, status);
            onChannel(PassedChannelMessage{kind, static_cast<std::uint8_t>(running & 0x0F), pos});
            pos = end;
        }
        m_pos = pos;
        m_runningStatus = running;
        return false;
    }

    const MaybeStyleError& Error() const { return m_error; }
    // Where the walk stands: after the last event read (the track end once done).
    std::size_t Position() const { return m_pos; }
    // The channel status in force after the last event read; 0 before the first.
    std::uint8_t RunningStatus() const { return m_runningStatus; }

private:
    bool Fail(const char* message, std::size_t offset);
    bool ReadMetaOrSysEx(TrackEvent& event);
    bool ReadMeta(TrackEvent& event);
    bool ReadSysEx(TrackEvent& event);

    ByteView m_image;
    std::size_t m_trackEnd;
    std::size_t m_pos = kTrackDataOffset;
    static constexpr unsigned kOneDataByteKinds = (1u << 0xC) | (1u << 0xD);
    std::uint8_t m_runningStatus = 0;  // the channel status in force; 0 before the first
    MaybeStyleError m_error;
};
