#include "style/TrackWalker.h"

#include <algorithm>

namespace {
constexpr std::uint8_t kMetaEndOfTrack = 0x2F;
}

TrackWalker::TrackWalker(ByteView image, std::size_t trackEnd) : m_image(image), m_trackEnd(trackEnd) {}

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
    const std::size_t lengthPos = pos + 2;
    event.data = pos + 3;

    std::size_t limit = m_trackEnd;
    if (event.metaType == kMetaEndOfTrack) {
        if (event.data != m_trackEnd && event.data != m_trackEnd + 1) {
            return Fail(style_messages::kMissingTrackEnd, event.data);
        }
        limit = std::min(m_trackEnd + 1, m_image.size());
    }
    if (lengthPos >= limit) return Fail(style_messages::kInvalidStructure, pos);
    event.length = m_image[lengthPos];
    event.end = event.data + event.length;
    if (event.end > limit) return Fail(style_messages::kInvalidStructure, pos);
    return true;
}

bool TrackWalker::ReadSysEx(TrackEvent& event) {
    const std::size_t pos = event.status;
    event.type = TrackEvent::Type::SysEx;
    if (m_trackEnd - pos < 2) return Fail(style_messages::kInvalidStructure, pos);
    event.length = m_image[pos + 1];
    event.data = pos + 2;
    event.end = event.data + event.length;
    if (event.end > m_trackEnd) return Fail(style_messages::kInvalidStructure, pos);
    return true;
}
