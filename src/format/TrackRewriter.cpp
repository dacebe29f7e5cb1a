// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/TrackRewriter.h"

#include <algorithm>

#include "format/TempoField.h"
#include "format/TrackScan.h"
#include "format/TrackWalker.h"

namespace {

constexpr std::uint32_t kMicrosecondsPerMinute = 60000000;
constexpr std::uint8_t kCopyrightEventHeader[] = {0x00, 0xFF, kMetaCopyright};
// The delta time at pos, read no further than end; nothing when it is not complete.
std::optional<std::uint32_t> ReadDeltaTime(ByteView image, std::size_t pos, std::size_t end) {
    const std::optional<VarLength> delta = ReadVarLength(image, pos, end);
    if (!delta) return std::nullopt;
    return delta->value;
}

class Rewriter {
public:
    Rewriter(ByteView image, std::size_t trackEnd, const TrackEdits& edits, std::vector<std::uint8_t>& out)
        : m_image(image), m_trackEnd(trackEnd), m_edits(edits), m_out(out) {}

    void Rewrite(const TrackEvent& event, EventRole role) {
        if (m_carriedDelta) TakeCarriedDelta(event);
        switch (role) {
            case EventRole::Title: RewriteTitle(event); break;
            case EventRole::Copyright: RewriteCopyright(event); break;
            case EventRole::FormatMarker: InsertCopyrightBefore(event); break;
            case EventRole::Tempo: RewriteTempo(event); break;
            case EventRole::TimeSignature: RewriteTimeSignature(event); break;
            case EventRole::Volume: RewriteVolume(event); break;
            default: break;
        }
    }

    // Copies the image up to end, behind everything already written.
    void CopyUpTo(std::size_t end) {
        m_out.insert(m_out.end(), m_image.begin() + static_cast<std::ptrdiff_t>(m_copied),
                     m_image.begin() + static_cast<std::ptrdiff_t>(end));
        m_copied = end;
    }

    // An edit that cannot be written, found during the walk.
    const MaybeStyleError& Error() const { return m_error; }

private:
    void Append(std::string_view text) { m_out.insert(m_out.end(), text.begin(), text.end()); }

    // The meta event's length and text are replaced, the rest kept.
    void ReplaceText(const TrackEvent& event, const std::string& text) {
        CopyUpTo(event.lengthPos);
        m_out.push_back(static_cast<std::uint8_t>(text.size()));
        Append(text);
        m_copied = event.end;
    }

    // A text that reads as it did when loaded keeps its bytes: the zero bytes that pad
    // it, the characters past 32, the trailing blanks.
    void RewriteTitle(const TrackEvent& event) {
        if (StyleText(m_image, event) != m_edits.title) ReplaceText(event, m_edits.title);
    }

    // A removed copyright event hands its delta time on to the next event, so every
    // later event keeps its time. Where that cannot be done (the two delta times
    // together are too long for one, one of them is longer than four bytes, or no event
    // follows to take it), the event stays, emptied.
    void RewriteCopyright(const TrackEvent& event) {
        if (StyleText(m_image, event) == m_edits.copyright) return;
        if (m_edits.copyright.empty()) {
            const std::optional<std::uint32_t> delta = ReadDeltaTime(m_image, event.start, event.status);
            const std::optional<std::uint32_t> next = ReadDeltaTime(m_image, event.end, m_trackEnd);
            if (!delta || !next || *delta + *next > kLargestVarLength) {
                ReplaceText(event, "");
                return;
            }
            CopyUpTo(event.start);
            m_copied = event.end;
            m_carriedDelta = *delta;
            return;
        }
        ReplaceText(event, m_edits.copyright);
    }

    void TakeCarriedDelta(const TrackEvent& event) {
        const std::uint32_t own = ReadDeltaTime(m_image, event.start, event.status).value_or(0);
        CopyUpTo(event.start);
        AppendVarLength(m_out, m_carriedDelta + own);
        m_copied = event.status;
        m_carriedDelta = 0;
    }

    // A new copyright event with delta time 0 goes right before the marker event, so
    // the timing of the track stays as it was.
    void InsertCopyrightBefore(const TrackEvent& marker) {
        if (m_edits.hasCopyright || m_edits.copyright.empty()) return;
        CopyUpTo(marker.start);
        m_out.insert(m_out.end(), std::begin(kCopyrightEventHeader), std::end(kCopyrightEventHeader));
        m_out.push_back(static_cast<std::uint8_t>(m_edits.copyright.size()));
        Append(m_edits.copyright);
    }

    // Only an event the load could read is written, only when the tempo was edited
    // (the keyboard's own rounding stays), and only with a tempo the file can express:
    // 0 would divide by zero, so it leaves the event as it is, and an edit to a tempo
    // too slow for the three bytes is refused.
    void RewriteTempo(const TrackEvent& event) {
        const std::int16_t found = TempoOf(m_image, event);
        if (m_edits.tempo <= 0 || found == -1 || m_edits.tempo == found) return;
        if (!TempoFitsStyleFile(m_edits.tempo)) {
            m_error = StyleError{TempoDoesNotFitText(m_edits.tempo), std::nullopt};
            return;
        }
        const std::uint32_t quarter = kMicrosecondsPerMinute / static_cast<std::uint32_t>(m_edits.tempo);
        CopyUpTo(event.data);
        m_out.push_back(static_cast<std::uint8_t>(quarter >> 16));
        m_out.push_back(static_cast<std::uint8_t>(quarter >> 8));
        m_out.push_back(static_cast<std::uint8_t>(quarter));
        m_copied = event.data + 3;
    }

    void RewriteTimeSignature(const TrackEvent& event) {
        if (m_edits.timeSigDenominator <= 0 || event.length < 2) return;
        CopyUpTo(event.data);
        m_out.push_back(static_cast<std::uint8_t>(m_edits.timeSigNumerator & 0xFF));
        m_out.push_back(DenominatorPower(m_edits.timeSigDenominator));
        m_copied = event.data + 2;
    }

    void RewriteVolume(const TrackEvent& event) {
        const std::size_t valuePos = event.data + 1;
        const std::uint8_t value = m_image[valuePos];
        const std::uint8_t rewritten = RewrittenVolume(value, event.channel, m_edits);
        if (rewritten == value) return;
        CopyUpTo(valuePos);
        m_out.push_back(rewritten);
        m_copied = valuePos + 1;
    }

    ByteView m_image;
    std::size_t m_trackEnd;
    const TrackEdits& m_edits;
    std::vector<std::uint8_t>& m_out;
    std::size_t m_copied = 0;
    std::uint32_t m_carriedDelta = 0;  // of a removed copyright event, for the next event
    MaybeStyleError m_error;
};

}  // namespace

TrackEdits UneditedEdits(const StyleFacts& facts) {
    TrackEdits edits;
    edits.title = facts.title;
    edits.copyright = facts.copyright;
    edits.hasCopyright = facts.hasCopyright;
    edits.tempo = facts.tempo;
    edits.timeSigNumerator = facts.timeSigNumerator;
    edits.timeSigDenominator = facts.timeSigDenominator;
    edits.origVolume = facts.origVolume;
    edits.volume = facts.origVolume;
    return edits;
}

std::uint8_t DenominatorPower(std::int32_t denominator) {
    std::uint8_t power = 0;
    for (; denominator > 1; denominator /= 2) ++power;
    return power;
}

std::uint8_t RewrittenVolume(std::uint8_t value, int channel, const TrackEdits& edits) {
    const auto clamp = [](std::int64_t v) { return static_cast<std::uint8_t>(std::clamp<std::int64_t>(v, 0, 127)); };
    // A value above 127 is no volume (the load passes over it too); scaling could
    // turn it into one.
    if (value > 127) return value;
    if (edits.allChannels) {
        if (edits.allChannelsPercent == 100) return value;
        return clamp(std::int64_t{value} * edits.allChannelsPercent / 100);
    }
    const std::int16_t first = edits.origVolume[channel];
    const std::int16_t edited = edits.volume[channel];
    if (first == -1 || edited == first) return value;
    if (value == first) return clamp(edited);
    // Nothing scales in proportion to a first volume of 0: the other events keep theirs.
    if (first == 0) return value;
    return clamp(std::int64_t{value} * edited / first);
}

MaybeStyleError RewriteTrack(ByteView image, const TrackEdits& edits, RewrittenTrack& result) {
    result = RewrittenTrack{};
    std::size_t trackLength = 0;
    if (MaybeStyleError error = ReadTrackLength(image, trackLength)) return error;

    result.bytes.reserve(kTrackDataOffset + trackLength + 2 * (kMaxStyleTextLength + 4));
    TrackWalker walker(image, kTrackDataOffset + trackLength);
    TrackScan scan(image);
    Rewriter rewriter(image, kTrackDataOffset + trackLength, edits, result.bytes);
    for (TrackEvent event; walker.Next(event);) rewriter.Rewrite(event, scan.Classify(event));
    if (walker.Error()) return walker.Error();
    if (rewriter.Error()) return rewriter.Error();

    result.walkEnd = walker.Position();
    rewriter.CopyUpTo(result.walkEnd);
    const std::size_t newLength = trackLength + result.bytes.size() - result.walkEnd;
    WriteU32BE(result.bytes, kTrackLengthOffset, static_cast<std::uint32_t>(newLength));
    result.titleFound = scan.TitleFound();
    result.formatFound = scan.Format().has_value();
    return std::nullopt;
}
