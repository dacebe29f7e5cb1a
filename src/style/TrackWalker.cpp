#include "style/TrackWalker.h"

#include <algorithm>

#include "style/StyleMessages.h"

namespace {
constexpr std::uint8_t kMetaEndOfTrack = 0x2F;
}

TrackWalker::TrackWalker(ByteView image, std::size_t trackEnd) : m_image(image), m_trackEnd(trackEnd) {}

bool TrackWalker::Fail(const char* message, std::size_t offset) {
    m_error = StyleError::At(message, offset);
    return false;
}

bool TrackWalker::Next(TrackEvent& event) {
    if (m_error || m_pos >= m_trackEnd) return false;
    event = TrackEvent{};
    event.start = m_pos;

    std::size_t pos = m_pos;
    while (pos < m_trackEnd && (m_image[pos] & 0x80)) ++pos;
    ++pos;  // the delta time's last byte, bit 7 clear
    if (pos >= m_trackEnd) return Fail(style_messages::kInvalidStructure, event.start);

    event.status = pos;
    const std::uint8_t b = m_image[pos];
    bool ok = false;
    if (b >= 0x80 && b <= 0xEF) {
        m_hasRunningStatus = true;
        m_kind = b >> 4;
        m_channel = b & 0x0F;
        ok = ReadChannelMessage(event, pos + 1);
    } else if (b < 0x80 && m_hasRunningStatus) {
        ok = ReadChannelMessage(event, pos);
    } else if (b == 0xFF) {
        ok = ReadMeta(event);
    } else if (b == 0xF0 || b == 0xF7) {
        ok = ReadSysEx(event);
    } else {
        return Fail(style_messages::kInvalidStructure, pos);
    }
    if (ok) m_pos = event.end;
    return ok;
}

bool TrackWalker::ReadChannelMessage(TrackEvent& event, std::size_t dataPos) {
    event.type = TrackEvent::Type::Channel;
    event.kind = m_kind;
    event.channel = m_channel;
    event.length = (m_kind == 0xC || m_kind == 0xD) ? 1 : 2;
    event.data = dataPos;
    event.end = dataPos + event.length;
    if (event.end > m_trackEnd) return Fail(style_messages::kInvalidStructure, event.status);
    return true;
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
