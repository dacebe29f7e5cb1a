// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/VoiceList.h"

#include <algorithm>
#include <string_view>

#include "format/TrackScan.h"
#include "format/TrackWalker.h"

namespace {

bool SameVoice(const StyleVoice& a, const StyleVoice& b) {
    return a.msb == b.msb && a.msbSet == b.msbSet && a.lsb == b.lsb && a.program == b.program &&
           a.programSet == b.programSet && a.xgDrumPart == b.xgDrumPart;
}

// Beyond two plays of a looping section every voice it selects repeats: each play
// starts from what the one before left, and the second leaves what the first did.
constexpr int kPlaysThatSelectAnew = 2;

// Takes the voices that the events of a stretch of the set-up select, walking it again
// from where the track's map says it begins.
void TakeSetUpVoices(ByteView image, const TrackMap& track, const TrackStretch& stretch, StyleVoices& voices) {
    TrackWalker walker(image, track.trackEnd, stretch.begin, stretch.runningStatus);
    int channel = 0;
    for (TrackEvent event; walker.Position() < stretch.end && walker.Next(event);) {
        if (event.type == TrackEvent::Type::Channel) {
            TakeVoiceEvent(voices, ChannelEventOf(image, event), image, channel);
        } else if (event.type == TrackEvent::Type::SysEx && image[event.status] == 0xF0) {
            TimelineEvent sysex;
            sysex.kind = TimelineEvent::Kind::SysEx;
            sysex.value = static_cast<std::uint32_t>(event.data);
            sysex.length = event.length;
            TakeVoiceEvent(voices, sysex, image, channel);
        }
    }
}

}  // namespace

PlayError OutlineOfTrack(ByteView image, const TrackMap& track, TrackOutline& outline) {
    outline = TrackOutline{};
    // A track walked whole lies in an image that holds the header's division.
    const bool complete = track.walkEnd != 0;
    int division = 0;
    const PlayError unplayable = complete ? ReadPlayableDivision(image, division) : std::nullopt;

    SectionCut cut;
    StyleVoices voices{};
    unsigned used = 0;
    for (const TrackStretch& stretch : track.stretches) {
        if (stretch.HasMarker()) {
            const std::string_view text(reinterpret_cast<const char*>(image.data() + stretch.text), stretch.textLength);
            const std::optional<int> section = SectionOfMarker(text);
            if (section && cut.Enter(*section) == SectionCut::Target::Section) outline.sections[*section] = true;
        }
        if (cut.Current() == SectionCut::Target::Skipped) continue;
        used |= stretch.channels;
        if (cut.Current() == SectionCut::Target::SetUp && complete && !unplayable) {
            TakeSetUpVoices(image, track, stretch, voices);
        }
    }
    if (!complete) return std::nullopt;
    outline.walkEnd = track.walkEnd;
    if (unplayable) return unplayable;
    for (int c = 0; c < 16; ++c) {
        if (used >> c & 1) outline.voices.push_back({c, voices[c]});
    }
    return std::nullopt;
}

PlayError ReadTrackOutline(ByteView image, TrackOutline& outline) {
    TrackMap track;
    const MaybeStyleError fault = MapTrack(image, track);
    const PlayError unplayable = OutlineOfTrack(image, track, outline);
    if (fault) return fault->Text();
    return unplayable;
}

std::vector<SectionVoice> PlayedVoices(const Timeline& timeline, int section, int loops) {
    std::vector<SectionVoice> list;
    StyleVoices voices = SetUpVoices(timeline);
    for (int c = 0; c < 16; ++c) {
        if (timeline.channelsUsed[c]) list.push_back({kSectionSInt, c, voices[c]});
    }
    const std::array<bool, kSectionCount> present = timeline.Present();
    for (std::optional<int> s = section; s;) {
        const std::optional<int> next = NextSection(*s, present);
        const bool repeats = next == s;
        const int plays = repeats ? (loops == 0 ? kPlaysThatSelectAnew : std::min(loops, kPlaysThatSelectAnew)) : 1;
        const std::size_t first = list.size();
        if (const TimelineSection* played = timeline.Find(*s)) {
            for (int play = 0; play < plays; ++play) {
                for (const TimelineEvent& event : played->events) {
                    int channel = 0;
                    if (!TakeVoiceEvent(voices, event, timeline, channel)) continue;
                    const SectionVoice selected{*s, channel, voices[channel]};
                    const bool listed = std::any_of(
                        list.begin() + static_cast<std::ptrdiff_t>(first), list.end(), [&](const SectionVoice& v) {
                            return v.channel == channel && SameVoice(v.voice, voices[channel]);
                        });
                    if (!listed) list.push_back(selected);
                }
            }
        }
        s = repeats ? std::nullopt : next;
    }
    return list;
}

std::vector<std::string> SubstitutionTexts(const Timeline& timeline, int section, int loops, const Synth& synth) {
    std::vector<std::string> texts;
    for (const SectionVoice& v : PlayedVoices(timeline, section, loops)) {
        std::string text = SubstitutionText(v.voice, v.channel, DecideVoice(v.voice, v.channel, synth));
        if (text.empty()) continue;
        if (v.section != kSectionSInt) text = std::string(kSectionNames[v.section]) + ": " + text;
        texts.push_back(std::move(text));
    }
    return texts;
}
