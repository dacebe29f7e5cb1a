// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>

#include "format/ByteOrder.h"
#include "format/Sections.h"
#include "format/StyleNames.h"
#include "format/TrackWalker.h"

// Meta event types and controller numbers the editor knows.
inline constexpr std::uint8_t kMetaText = 0x01;
inline constexpr std::uint8_t kMetaCopyright = 0x02;
inline constexpr std::uint8_t kMetaSequenceName = 0x03;
inline constexpr std::uint8_t kMetaMarker = 0x06;
inline constexpr std::uint8_t kMetaTempo = 0x51;
inline constexpr std::uint8_t kMetaTimeSignature = 0x58;
inline constexpr std::uint8_t kControlChange = 0xB;
inline constexpr std::uint8_t kControllerVolume = 7;

// What an event means to the editor. The load reads these events and the save
// rewrites the same ones, so both decide it here.
enum class EventRole {
    Other,
    Title,          // the first text (0x01) or sequence name (0x03) event
    Copyright,      // the first copyright event
    FormatMarker,   // the first marker that reads exactly "SFF1" or "SFF2"
    SectionMarker,  // a marker naming one of the ten sections
    Tempo,          // the first tempo event before the first "Main A" marker
    TimeSignature,  // the first time signature event
    Volume,         // any control change of controller 7
};

class TrackScan {
public:
    explicit TrackScan(ByteView image) : m_image(image) {}

    // The event's role, given the events classified before it. Channel messages,
    // nearly every event of a style, are decided here.
    EventRole Classify(const TrackEvent& event) {
        if (event.type == TrackEvent::Type::Channel)
            return Classify(PassedChannelMessage{event.kind, event.channel, event.data});
        return event.type == TrackEvent::Type::Meta ? ClassifyMeta(event) : EventRole::Other;
    }
    // The same for a channel message that a walk passes by.
    EventRole Classify(const PassedChannelMessage& message) const {
        return message.kind == kControlChange && m_image[message.data] == kControllerVolume ? EventRole::Volume
                                                                                            : EventRole::Other;
    }

    bool TitleFound() const { return m_titleFound; }
    // The format its marker names; nothing before the marker is met.
    std::optional<StyleFormat> Format() const { return m_format; }
    const std::array<bool, kFormSectionCount>& Sections() const { return m_sections; }

private:
    EventRole ClassifyMeta(const TrackEvent& event);
    EventRole ClassifyMarker(const TrackEvent& event);

    ByteView m_image;
    bool m_titleFound = false;
    bool m_copyrightFound = false;
    std::optional<StyleFormat> m_format;
    bool m_mainAFound = false;
    bool m_tempoFound = false;
    bool m_timeSignatureFound = false;
    std::array<bool, kFormSectionCount> m_sections{};
};
