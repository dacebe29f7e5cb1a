// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/TrackWalker.h"

#include <algorithm>

namespace {
constexpr std::uint8_t kMetaEndOfTrack = 0x2F;
}

TrackWalker::TrackWalker(ByteView image, std::size_t trackEnd) : m_image(image), m_trackEnd(trackEnd) {}

TrackWalker::TrackWalker(ByteView image, std::size_t trackEnd, std::size_t from, std::uint8_t runningStatus)
    : m_image(image), m_trackEnd(trackEnd), m_pos(from), m_runningStatus(runningStatus) {}

MaybeStyleError ReadTrackLength(ByteView image, std::size_t& trackLength) {
    if (image.size() < kTrackDataOffset) return StyleError::At(style_messages::kInvalidStructure, kTrackTagOffset);
    trackLength = ReadU32BE(image, kTrackLengthOffset);
    if (trackLength > image.size() - kTrackDataOffset) {
        return StyleError::At(style_messages::kInvalidStructure, kTrackTagOffset);
    }
    return std::nullopt;
}

bool TrackWalker::Fail(const char* message, std::size_t offset) {
    m_error = StyleError::At(message, offset);
    m_pos = m_trackEnd;  // nothing more to read
    return false;
}

bool TrackWalker::ReadMetaOrSysEx(TrackEvent& event) {
    const std::uint8_t b = m_image[event.status];
    bool ok = false;
    if (b == 0xFF) {
        ok = ReadMeta(event);
    } else if (b == 0xF0 || b == 0xF7) {
        ok = ReadSysEx(event);
    } else {
        return Fail(style_messages::kInvalidStructure, event.status);
    }
    if (ok) m_pos = event.end;
    return ok;
}

bool TrackWalker::ReadMeta(TrackEvent& event) {
    const std::size_t pos = event.status;
    event.type = TrackEvent::Type::Meta;
    // The type byte may lie past a track that is too short, so that the end-of-track
    // check below can name the missing marker.
    if (m_image.size() - pos < 2) return Fail(style_messages::kInvalidStructure, pos);
    event.metaType = m_image[pos + 1];
    event.lengthPos = pos + 2;

    std::size_t limit = m_trackEnd;
    if (event.metaType == kMetaEndOfTrack) limit = std::min(m_trackEnd + 1, m_image.size());
    // Where the length cannot be read, the end-of-track check still takes it as one
    // byte, so that a marker in the middle of the track is named as such.
    std::optional<VarLength> length;
    if (event.lengthPos < limit) length = ReadVarLength(m_image, event.lengthPos, limit);
    event.data = event.lengthPos + (length ? length->size : 1);
    if (event.metaType == kMetaEndOfTrack && event.data != m_trackEnd && event.data != m_trackEnd + 1) {
        return Fail(style_messages::kMissingTrackEnd, event.data);
    }
    if (!length || length->value > limit - event.data) return Fail(style_messages::kInvalidStructure, pos);
    event.length = length->value;
    event.end = event.data + event.length;
    return true;
}

bool TrackWalker::ReadSysEx(TrackEvent& event) {
    const std::size_t pos = event.status;
    event.type = TrackEvent::Type::SysEx;
    event.lengthPos = pos + 1;
    const std::optional<VarLength> length = ReadVarLength(m_image, event.lengthPos, m_trackEnd);
    if (!length) return Fail(style_messages::kInvalidStructure, pos);
    event.data = event.lengthPos + length->size;
    if (length->value > m_trackEnd - event.data) return Fail(style_messages::kInvalidStructure, pos);
    event.length = length->value;
    event.end = event.data + event.length;
    return true;
}
