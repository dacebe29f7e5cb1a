// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/TrackScan.h"

#include <string_view>

EventRole TrackScan::ClassifyMeta(const TrackEvent& event) {
    switch (event.metaType) {
        case kMetaText:
        case kMetaSequenceName:
            if (m_titleFound) return EventRole::Other;
            m_titleFound = true;
            return EventRole::Title;
        case kMetaCopyright:
            if (m_copyrightFound) return EventRole::Other;
            m_copyrightFound = true;
            return EventRole::Copyright;
        case kMetaMarker: return ClassifyMarker(event);
        case kMetaTempo:
            if (m_tempoFound || m_mainAFound) return EventRole::Other;
            m_tempoFound = true;
            return EventRole::Tempo;
        case kMetaTimeSignature:
            if (m_timeSignatureFound) return EventRole::Other;
            m_timeSignatureFound = true;
            return EventRole::TimeSignature;
        default: return EventRole::Other;
    }
}

EventRole TrackScan::ClassifyMarker(const TrackEvent& event) {
    const std::string_view text(reinterpret_cast<const char*>(m_image.data() + event.data), event.length);
    if (!m_format) {
        m_format = FormatOfMarker(text);
        if (m_format) return EventRole::FormatMarker;
    }
    const std::optional<int> section = SectionOfMarker(text);
    const std::optional<int> flag = section ? FormSectionOf(*section) : std::nullopt;
    if (!flag || (*flag == kFormSectionMainA && m_mainAFound)) return EventRole::Other;
    m_sections[*flag] = true;
    if (*flag == kFormSectionMainA) m_mainAFound = true;
    return EventRole::SectionMarker;
}
