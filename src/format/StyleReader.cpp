// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/StyleReader.h"

#include <string_view>

#include "format/Chunks.h"
#include "format/TrackScan.h"
#include "format/TrackWalker.h"
#include "msg/StyleMessages.h"

namespace {

namespace msg = style_messages;

constexpr std::uint32_t kMicrosecondsPerMinute = 60000000;
// Below this many microseconds per quarter the tempo does not fit the 16-bit field.
constexpr std::uint32_t kShortestQuarter = kMicrosecondsPerMinute / 32767 + 1;
// 2^30 is the largest denominator the 32-bit field holds.
constexpr std::uint8_t kLargestDenominatorPower = 30;

// Takes the editor's values out of the events as the walk meets them.
class TrackReader {
public:
    TrackReader(ByteView image, StyleFacts& facts) : m_image(image), m_facts(facts) {}

    void Read(const TrackEvent& event, EventRole role) {
        switch (role) {
            case EventRole::Title:
                m_facts.title = StyleText(m_image, event);
                m_facts.titleLength = event.length;
                break;
            case EventRole::Copyright:
                m_facts.copyright = StyleText(m_image, event);
                m_facts.copyrightLength = event.length;
                m_facts.hasCopyright = true;
                break;
            case EventRole::Tempo: m_facts.tempo = TempoOf(m_image, event); break;
            case EventRole::TimeSignature: ReadTimeSignature(event); break;
            case EventRole::Volume: ReadVolume(event.channel, event.data); break;
            default: break;
        }
    }
    // The same for a channel message that the walk passes by.
    void Read(const PassedChannelMessage& message, EventRole role) {
        if (role == EventRole::Volume) ReadVolume(message.channel, message.data);
    }

private:
    void ReadVolume(std::uint8_t channel, std::size_t data) {
        const std::uint8_t volume = m_image[data + 1];
        std::int16_t& first = m_facts.origVolume[channel];
        if (first == -1 && volume <= 127) first = volume;
    }

    void ReadTimeSignature(const TrackEvent& event) {
        if (event.length < 2) return;
        const std::uint8_t power = m_image[event.data + 1];
        if (power > kLargestDenominatorPower) return;
        m_facts.timeSigNumerator = m_image[event.data];
        m_facts.timeSigDenominator = std::int32_t{1} << power;
    }

    ByteView m_image;
    StyleFacts& m_facts;
};

// Fills the channel table from the "Ctab" and "Ctb2" records and notes "Cntt" data.
struct CasmReader {
    ByteView image;
    StyleFacts& facts;

    void OnCseg(ByteRange) {}
    void OnSubChunk(ByteRange sub, std::string_view tag) {
        if (tag == "Cntt") facts.hasCntt = true;
        // Content byte 9 must lie inside the sub-chunk.
        if (!IsChannelTable(tag) || sub.size() < 8 + 10) return;
        const std::uint8_t source = image[sub.begin + 8];
        const std::uint8_t part = image[sub.begin + 8 + 9];
        if (source < kChannelCount && part < kChannelCount && facts.channelPart[source] == -1) {
            facts.channelPart[source] = part;
        }
    }
};

void LabelChannels(StyleFacts& facts) {
    for (int c = 0; c < kChannelCount; ++c) {
        if (facts.origVolume[c] == -1) continue;
        if (facts.channelPart[c] == -1) facts.channelPart[c] = static_cast<std::int16_t>(c);
        facts.channelLabel[c] = ChannelLabel(facts.channelPart[c]);
    }
}

}  // namespace

std::string StyleText(ByteView image, const TrackEvent& event) {
    std::string text;
    const std::size_t count = std::min<std::size_t>(event.length, kMaxStyleTextLength);
    for (std::size_t i = 0; i < count && image[event.data + i] != 0; ++i) {
        text += static_cast<char>(image[event.data + i]);
    }
    const std::size_t last = text.find_last_not_of(" \t\n\r\v\f");
    text.erase(last == std::string::npos ? 0 : last + 1);
    return text;
}

std::int16_t TempoOf(ByteView image, const TrackEvent& event) {
    if (event.length < 3) return -1;
    const std::uint32_t quarter = ReadU24BE(image, event.data);
    if (quarter < kShortestQuarter) return -1;
    return static_cast<std::int16_t>((kMicrosecondsPerMinute + quarter / 2) / quarter);
}

MaybeStyleError ReadStyle(ByteView image, StyleFacts& facts) {
    if (!HasTagAt(image, 0, "MThd")) return StyleError{msg::kInvalidHeader, std::nullopt};
    if (!HasTagAt(image, kTrackTagOffset, "MTrk")) return StyleError{msg::kInvalidTrackHeader, std::nullopt};
    std::size_t trackLength = 0;
    if (MaybeStyleError error = ReadTrackLength(image, trackLength)) return error;

    TrackWalker walker(image, kTrackDataOffset + trackLength);
    TrackScan scan(image);
    TrackReader reader(image, facts);
    TrackMapper mapper(facts.track, kTrackDataOffset + trackLength);
    const auto passChannelMessage = [&](const PassedChannelMessage& message) {
        reader.Read(message, scan.Classify(message));
        mapper.Take(message);
    };
    for (TrackEvent event; walker.NextMetaOrSysEx(event, passChannelMessage);) {
        reader.Read(event, scan.Classify(event));
        mapper.Take(event, walker.RunningStatus());
    }
    if (walker.Error()) return walker.Error();
    mapper.Finish(walker.Position());
    facts.sections = scan.Sections();

    ChunkLayout layout;
    if (MaybeStyleError error = LocateChunks(image, walker.Position(), layout)) return error;
    if (layout.casm) {
        facts.hasCASM = true;
        facts.casmLength = static_cast<std::int32_t>(layout.casm->size());
        facts.channelPart = StyleFacts::Unset();
        CasmReader casmReader{image, facts};
        if (MaybeStyleError error = WalkCasm(image, *layout.casm, casmReader)) return error;
    }
    facts.hasOTS = layout.ots.has_value();

    if (!scan.TitleFound()) return StyleError{msg::kMissingTitle, std::nullopt};
    if (!scan.Format()) return StyleError{msg::kMissingFormatMarker, std::nullopt};
    facts.format = *scan.Format();
    LabelChannels(facts);
    return std::nullopt;
}
