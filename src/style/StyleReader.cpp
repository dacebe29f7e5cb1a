#include "style/StyleReader.h"

#include <string_view>

#include "style/StyleMessages.h"
#include "style/TrackWalker.h"

namespace {

namespace msg = style_messages;

constexpr std::uint8_t kMetaText = 0x01;
constexpr std::uint8_t kMetaCopyright = 0x02;
constexpr std::uint8_t kMetaSequenceName = 0x03;
constexpr std::uint8_t kMetaMarker = 0x06;
constexpr std::uint8_t kMetaTempo = 0x51;
constexpr std::uint8_t kMetaTimeSignature = 0x58;
constexpr std::uint8_t kControlChange = 0xB;
constexpr std::uint8_t kControllerVolume = 7;

constexpr std::uint32_t kMicrosecondsPerMinute = 60000000;
// Below this many microseconds per quarter the tempo does not fit the 16-bit field.
constexpr std::uint32_t kShortestQuarter = kMicrosecondsPerMinute / 32767 + 1;
// 2^30 is the largest denominator the 32-bit field holds.
constexpr std::uint8_t kLargestDenominatorPower = 30;

// Style texts end at a zero byte and lose trailing white space; only the first 32
// bytes count.
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

std::string_view TextOf(ByteView image, const TrackEvent& event) {
    return {reinterpret_cast<const char*>(image.data() + event.data), event.length};
}

class TrackReader {
public:
    TrackReader(ByteView image, StyleFacts& facts) : m_image(image), m_facts(facts) {}

    void Read(const TrackEvent& event) {
        if (event.type == TrackEvent::Type::Channel) {
            ReadChannelMessage(event);
        } else if (event.type == TrackEvent::Type::Meta) {
            ReadMeta(event);
        }
    }

    bool TitleFound() const { return m_titleFound; }
    bool Sff1Found() const { return m_sff1Found; }

private:
    void ReadChannelMessage(const TrackEvent& event) {
        if (event.kind != kControlChange || m_image[event.data] != kControllerVolume) return;
        const std::uint8_t volume = m_image[event.data + 1];
        std::int16_t& first = m_facts.origVolume[event.channel];
        if (first == -1 && volume <= 127) first = volume;
    }

    void ReadMeta(const TrackEvent& event) {
        switch (event.metaType) {
            case kMetaText:
            case kMetaSequenceName:
                if (m_titleFound) break;
                m_facts.title = StyleText(m_image, event);
                m_facts.titleLength = event.length;
                m_titleFound = true;
                break;
            case kMetaCopyright:
                if (m_copyrightFound) break;
                m_facts.copyright = StyleText(m_image, event);
                m_facts.copyrightLength = event.length;
                m_facts.hasCopyright = true;
                m_copyrightFound = true;
                break;
            case kMetaMarker: ReadMarker(TextOf(m_image, event)); break;
            case kMetaTempo:
                if (m_tempoFound || m_mainAFound) break;
                m_tempoFound = true;
                ReadTempo(event);
                break;
            case kMetaTimeSignature:
                if (m_timeSignatureFound) break;
                m_timeSignatureFound = true;
                ReadTimeSignature(event);
                break;
            default: break;
        }
    }

    void ReadMarker(std::string_view text) {
        if (!m_sff1Found && text == "SFF1") {
            m_sff1Found = true;
            return;
        }
        const std::optional<int> section = SectionOfMarker(text);
        if (!section || (*section == kSectionMainA && m_mainAFound)) return;
        m_facts.sections[*section] = true;
        if (*section == kSectionMainA) m_mainAFound = true;
    }

    // An event too short for its value, or with a value the document cannot hold,
    // still counts as the style's tempo or time signature; it is left without a value,
    // so nothing shows it for editing and a save leaves its bytes alone.
    void ReadTempo(const TrackEvent& event) {
        if (event.length < 3) return;
        const std::uint32_t quarter = ReadU24BE(m_image, event.data);
        if (quarter < kShortestQuarter) return;
        m_facts.tempo = static_cast<std::int16_t>(kMicrosecondsPerMinute / quarter);
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
    bool m_titleFound = false;
    bool m_copyrightFound = false;
    bool m_sff1Found = false;
    bool m_mainAFound = false;
    bool m_tempoFound = false;
    bool m_timeSignatureFound = false;
};

// The end of the chunk at pos whose 8-byte header lies inside [pos, limit), or
// nothing when the header or the chunk's content does not fit.
std::optional<std::size_t> ChunkEnd(ByteView image, std::size_t pos, std::size_t limit) {
    if (limit - pos < 8) return std::nullopt;
    const std::size_t length = ReadU32BE(image, pos + 4);
    if (limit - pos - 8 < length) return std::nullopt;
    return pos + 8 + length;
}

// A chunk is recognised only where more than four bytes of the image are left.
bool ChunkStartsAt(ByteView image, std::size_t pos, std::string_view tag) {
    return pos + 4 < image.size() && HasTagAt(image, pos, tag);
}

MaybeStyleError ReadCseg(ByteView image, std::size_t pos, std::size_t csegEnd, StyleFacts& facts) {
    while (pos < csegEnd) {
        const std::optional<std::size_t> end = ChunkEnd(image, pos, csegEnd);
        const bool known = HasTagAt(image, pos, "Sdec") || HasTagAt(image, pos, "Ctab") || HasTagAt(image, pos, "Cntt");
        if (!known || !end) return StyleError::At(msg::kMissingSdecCtab, pos);
        if (HasTagAt(image, pos, "Ctab") && *end - pos > 8 + 9) {
            const std::uint8_t source = image[pos + 8];
            const std::uint8_t part = image[pos + 8 + 9];
            if (source < kChannelCount && part < kChannelCount && facts.channelPart[source] == -1) {
                facts.channelPart[source] = part;
            }
        } else if (HasTagAt(image, pos, "Cntt")) {
            facts.hasCntt = true;
        }
        pos = *end;
    }
    return std::nullopt;
}

// Reads the CASM chunk at pos; on success pos is the chunk's end.
MaybeStyleError ReadCasm(ByteView image, std::size_t& pos, StyleFacts& facts) {
    const std::optional<std::size_t> casmEnd = ChunkEnd(image, pos, image.size());
    if (!casmEnd) return StyleError::At(msg::kMissingCseg, pos);
    facts.hasCASM = true;
    facts.casmLength = static_cast<std::int32_t>(*casmEnd - pos);
    facts.channelPart = StyleFacts::Unset();
    for (pos += 8; pos < *casmEnd;) {
        const std::optional<std::size_t> csegEnd = ChunkEnd(image, pos, *casmEnd);
        if (!HasTagAt(image, pos, "CSEG") || !csegEnd) return StyleError::At(msg::kMissingCseg, pos);
        if (MaybeStyleError error = ReadCseg(image, pos + 8, *csegEnd, facts)) return error;
        pos = *csegEnd;
    }
    return std::nullopt;
}

void LabelChannels(StyleFacts& facts) {
    for (int c = 0; c < kChannelCount; ++c) {
        if (facts.origVolume[c] == -1) continue;
        if (facts.channelPart[c] == -1) facts.channelPart[c] = static_cast<std::int16_t>(c);
        facts.channelLabel[c] = ChannelLabel(facts.channelPart[c]);
    }
}

}  // namespace

MaybeStyleError ReadStyle(ByteView image, StyleFacts& facts) {
    if (!HasTagAt(image, 0, "MThd")) return StyleError{msg::kInvalidHeader, std::nullopt};
    if (!HasTagAt(image, kTrackTagOffset, "MTrk")) return StyleError{msg::kInvalidTrackHeader, std::nullopt};
    if (image.size() < kTrackDataOffset) return StyleError::At(msg::kInvalidStructure, kTrackTagOffset);
    const std::size_t trackLength = ReadU32BE(image, kTrackLengthOffset);
    if (trackLength > image.size() - kTrackDataOffset) return StyleError::At(msg::kInvalidStructure, kTrackTagOffset);

    TrackWalker walker(image, kTrackDataOffset + trackLength);
    TrackReader reader(image, facts);
    for (TrackEvent event; walker.Next(event);) reader.Read(event);
    if (walker.Error()) return walker.Error();

    std::size_t pos = walker.Position();
    if (ChunkStartsAt(image, pos, "CASM")) {
        if (MaybeStyleError error = ReadCasm(image, pos, facts)) return error;
    }
    facts.hasOTS = ChunkStartsAt(image, pos, "OTSc");

    if (!reader.TitleFound()) return StyleError{msg::kMissingTitle, std::nullopt};
    if (!reader.Sff1Found()) return StyleError{msg::kMissingSff1, std::nullopt};
    LabelChannels(facts);
    return std::nullopt;
}
